#include "hosts/kit/mci.h"

#include <cctype>
#include <vector>

#include "platform/text.h"

namespace dusk::kit {
namespace {

// The string's words; a word in double quotes may hold blanks. False when a quote is not closed.
bool Words(const std::string& s, std::vector<std::string>& out) {
  size_t i = 0;
  while (true) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i >= s.size()) return true;
    if (s[i] == '"') {
      const size_t close = s.find('"', i + 1);
      if (close == std::string::npos) return false;
      out.push_back(s.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      const size_t start = i;
      while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
      out.push_back(s.substr(start, i - start));
    }
  }
}

// A number as the system reads one: decimal digits only, 32 bits.
std::optional<uint32_t> Integer(const std::string& word) {
  if (word.empty() || word.size() > 10) return std::nullopt;
  uint64_t v = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(v);
}

}  // namespace

MciCommand ParseMciCommand(const std::string& command) {
  MciCommand c;
  std::vector<std::string> w;
  if (!Words(command, w)) {
    c.stringError = mci::kNoClosingQuote;
    return c;
  }
  if (w.empty()) {
    c.stringError = mci::kMissingCommandString;
    return c;
  }
  if (w.size() < 2) {
    c.stringError = mci::kMissingDeviceName;
    return c;
  }
  const std::string verb = Lower(w[0]);
  c.device = Lower(w[1]);
  if (verb == "open") c.verb = MciCommand::Verb::kOpen;
  else if (verb == "play") c.verb = MciCommand::Verb::kPlay;
  else if (verb == "status") c.verb = MciCommand::Verb::kStatus;
  else if (verb == "stop") c.verb = MciCommand::Verb::kStop;
  else if (verb == "close") c.verb = MciCommand::Verb::kClose;
  else {
    c.commandError = mci::kUnrecognizedCommand;
    return c;
  }
  if (c.verb == MciCommand::Verb::kOpen) c.file = w[1];
  auto fail = [&](uint32_t code) {
    if (!c.commandError) c.commandError = code;
  };
  for (size_t i = 2; i < w.size() && !c.commandError; ++i) {
    const std::string k = Lower(w[i]);
    const bool hasValue = i + 1 < w.size();
    if (k == "wait" || k == "notify") continue;
    if (c.verb == MciCommand::Verb::kOpen && (k == "type" || k == "alias")) {
      if (!hasValue) fail(mci::kMissingParameter);
      else if (k == "alias") c.device = Lower(w[++i]);
      else ++i;
    } else if (c.verb == MciCommand::Verb::kOpen && k == "shareable") {
    } else if (c.verb == MciCommand::Verb::kPlay && (k == "from" || k == "to")) {
      const auto n = hasValue ? Integer(w[++i]) : std::nullopt;
      if (!n) fail(mci::kBadInteger);
      else (k == "from" ? c.from : c.to) = n;
    } else if (c.verb == MciCommand::Verb::kStatus && c.item.empty() && k == "mode") {
      c.item = k;
    } else {
      fail(mci::kUnrecognizedKeyword);
    }
  }
  if (c.verb == MciCommand::Verb::kStatus && c.item.empty()) fail(mci::kMissingParameter);
  return c;
}

void WriteMciReply(std::string& reply, const std::string& text) {
  if (reply.size() < text.size()) reply.resize(text.size());
  reply.replace(0, text.size(), text);
  if (reply.size() > text.size()) reply[text.size()] = '\0';
}

uint32_t ClockedSongs::Send(const std::string& command, std::string& reply, int64_t nowMs, const ReadFile& read,
                           const Length& length) {
  using Verb = MciCommand::Verb;
  const MciCommand c = ParseMciCommand(command);
  if (c.stringError) return c.stringError;
  if (c.verb == Verb::kOpen) {
    if (c.commandError) return c.commandError;
    if (songs_.count(c.device)) return mci::kDuplicateAlias;
    const auto bytes = read(c.file);
    if (!bytes) return mci::kFileNotFound;
    const double seconds = length(*bytes);
    if (seconds < 0) return mci::kInvalidFile;
    songs_[c.device] = Song{c.file, seconds, false, 0};
    return 0;
  }
  auto it = songs_.find(c.device);
  if (it == songs_.end()) return mci::kInvalidDeviceName;
  if (c.commandError) return c.commandError;
  Song& song = it->second;
  const int64_t lengthMs = static_cast<int64_t>(song.seconds * 1000);
  switch (c.verb) {
    case Verb::kPlay:
      if (c.from && *c.from > lengthMs) return mci::kOutOfRange;
      song.playing = true;
      song.startedMs = nowMs - (c.from ? *c.from : 0);
      if (started) started(song, c.from ? *c.from : 0);
      return 0;
    case Verb::kStatus:
      if (song.playing && nowMs - song.startedMs >= lengthMs) song.playing = false;
      WriteMciReply(reply, song.playing ? "playing" : "stopped");
      return 0;
    case Verb::kStop:
    case Verb::kClose:
      if (song.playing && stopped) stopped(song);
      song.playing = false;
      if (c.verb == Verb::kClose) songs_.erase(it);
      return 0;
    default:
      return mci::kUnrecognizedCommand;
  }
}

void ClockedSongs::StopAll() {
  for (auto& [alias, song] : songs_) {
    if (song.playing && stopped) stopped(song);
    song.playing = false;
  }
}

}  // namespace dusk::kit
