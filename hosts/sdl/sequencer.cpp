#include "hosts/sdl/sequencer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <sstream>

namespace dusk::sdl {
namespace {

// MCI error codes, as the system's sequencer answers them.
constexpr uint32_t kMciInvalidDeviceName = 263;
constexpr uint32_t kMciFileNotFound = 275;
constexpr uint32_t kMciOutOfRange = 282;
constexpr uint32_t kMciDuplicateAlias = 289;
constexpr uint32_t kMciInvalidFile = 296;
constexpr uint32_t kMciUnrecognizedCommand = 261;
constexpr uint32_t kMciNoMidiPresent = 343;

constexpr double kTailSeconds = 2.0;  // what still sounds after a song's last event
constexpr double kLongestSongSeconds = 24 * 3600.0;  // longer is a broken file

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The system writes its reply over the start of the caller's buffer, ended by a zero.
void Reply(std::string& reply, const std::string& text) {
  if (reply.size() < text.size()) reply.resize(text.size());
  reply.replace(0, text.size(), text);
  if (reply.size() > text.size()) reply[text.size()] = '\0';
}

class Reader {
 public:
  Reader(const uint8_t* p, size_t n) : p_(p), n_(n) {}
  bool Has(size_t k) const { return k <= n_ - at_; }
  size_t At() const { return at_; }
  uint8_t U8() { return Has(1) ? p_[at_++] : (ok_ = false, 0); }
  uint32_t Be(int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | U8();
    return v;
  }
  uint32_t Vlq() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t b = U8();
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    ok_ = false;
    return v;
  }
  void Skip(size_t k) {
    if (Has(k)) at_ += k;
    else ok_ = false, at_ = n_;
  }
  bool Ok() const { return ok_; }

 private:
  const uint8_t* p_;
  size_t n_;
  size_t at_ = 0;
  bool ok_ = true;
};

struct TickEvent {
  uint64_t tick;
  int track;
  size_t order;
  uint8_t status, data1, data2;
  uint32_t tempo;  // set for tempo changes (status 0xFF)
  bool end;        // an End of Track
};

}  // namespace

std::optional<MidiSong> ReadMidiSong(const std::vector<uint8_t>& bytes, uint32_t sampleRate) {
  Reader r(bytes.data(), bytes.size());
  if (!r.Has(14) || r.Be(4) != 0x4D546864) return std::nullopt;  // "MThd"
  const uint32_t headerLength = r.Be(4);
  const uint32_t format = r.Be(2), tracks = r.Be(2), division = r.Be(2);
  if (headerLength < 6 || format > 1 || tracks == 0 || division == 0) return std::nullopt;
  r.Skip(headerLength - 6);
  std::vector<TickEvent> all;
  size_t order = 0;
  for (uint32_t t = 0; t < tracks; ++t) {
    if (!r.Has(8)) return std::nullopt;
    const uint32_t id = r.Be(4), length = r.Be(4);
    if (!r.Has(length)) return std::nullopt;
    if (id != 0x4D54726B) {  // not "MTrk": skipped
      r.Skip(length);
      continue;
    }
    const size_t end = r.At() + length;
    uint64_t tick = 0;
    uint8_t running = 0;
    bool ended = false;
    while (r.Ok() && r.At() < end && !ended) {
      tick += r.Vlq();
      uint8_t status = r.U8();
      uint8_t first = 0;
      bool haveFirst = false;
      if (status < 0x80) {  // running status
        if (!running) return std::nullopt;
        first = status;
        haveFirst = true;
        status = running;
      }
      TickEvent e{tick, static_cast<int>(t), order++, status, 0, 0, 0, false};
      if (status == 0xFF) {
        const uint8_t type = r.U8();
        const uint32_t n = r.Vlq();
        if (type == 0x51 && n == 3) e.tempo = r.Be(3);
        else r.Skip(n);
        if (type == 0x2F) e.end = ended = true;
        if (e.tempo || e.end) all.push_back(e);
      } else if (status == 0xF0 || status == 0xF7) {
        r.Skip(r.Vlq());
      } else if (status >= 0x80 && status < 0xF0) {
        running = status;
        e.data1 = haveFirst ? first : r.U8();
        const uint8_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) e.data2 = r.U8();
        all.push_back(e);
      } else {
        return std::nullopt;  // a system message that has no place in a file
      }
    }
    if (!r.Ok() || r.At() > end) return std::nullopt;
    r.Skip(end - r.At());
  }
  std::stable_sort(all.begin(), all.end(), [](const TickEvent& a, const TickEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  // Ticks to seconds through the tempo map (SMPTE divisions have a fixed tick length).
  const bool smpte = division & 0x8000;
  if (smpte && (division & 0xFF) == 0) return std::nullopt;
  const double smpteTick = smpte ? 1.0 / (static_cast<double>(256 - (division >> 8)) * (division & 0xFF)) : 0;
  double tempo = 500000, seconds = 0;
  uint64_t lastTick = 0;
  MidiSong song;
  for (const TickEvent& e : all) {
    seconds += static_cast<double>(e.tick - lastTick) * (smpte ? smpteTick : tempo / 1e6 / division);
    lastTick = e.tick;
    if (seconds > kLongestSongSeconds) return std::nullopt;
    const uint64_t frame = static_cast<uint64_t>(std::llround(seconds * sampleRate));
    if (e.tempo) tempo = e.tempo;
    song.endFrame = std::max(song.endFrame, frame);
    if (e.status != 0xFF) song.events.push_back(MidiSong::Event{frame, e.status, e.data1, e.data2});
  }
  return song;
}

MciSequencer::MciSequencer(uint32_t sampleRate, FileReader read) : rate_(sampleRate), read_(std::move(read)) {
  // Only real failures are worth a line on the terminal.
  for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  settings_ = new_fluid_settings();
  if (!settings_) return;
  fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
  fluid_settings_setnum(settings_, "synth.gain", 0.5);
  synth_ = new_fluid_synth(settings_);
}

MciSequencer::~MciSequencer() {
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

bool MciSequencer::LoadSoundFont(const std::string& path) {
  if (!synth_ || fontLoaded_) return fontLoaded_;
  fontLoaded_ = fluid_synth_sfload(synth_, path.c_str(), 1) != FLUID_FAILED;
  return fontLoaded_;
}

uint32_t MciSequencer::Send(const std::string& command, std::string& reply) {
  const std::vector<std::string> w = Words(Lower(command));
  if (w.empty()) return kMciUnrecognizedCommand;
  std::lock_guard lock(mutex_);
  if (w[0] == "open") {
    const size_t q1 = command.find('"'), q2 = command.find('"', q1 + 1);
    const size_t aliasAt = Lower(command).rfind(" alias ");
    if (q1 == std::string::npos || q2 == std::string::npos || aliasAt == std::string::npos) return kMciInvalidFile;
    const std::vector<std::string> after = Words(Lower(command.substr(aliasAt + 7)));
    if (after.empty()) return kMciInvalidFile;
    const std::string alias = after.front();
    if (songs_.count(alias)) return kMciDuplicateAlias;
    auto bytes = read_(command.substr(q1 + 1, q2 - q1 - 1));
    if (!bytes) return kMciFileNotFound;
    auto song = ReadMidiSong(*bytes, rate_);
    if (!song) return kMciInvalidFile;
    if (!fontLoaded_) return kMciNoMidiPresent;
    songs_[alias] = std::make_shared<const MidiSong>(std::move(*song));
    return 0;
  }
  if (w.size() < 2) return kMciUnrecognizedCommand;
  const auto it = songs_.find(w[1]);
  if (it == songs_.end()) return kMciInvalidDeviceName;
  if (w[0] == "play") {
    uint64_t fromMs = 0;
    if (w.size() >= 4 && w[2] == "from") {
      char* end = nullptr;
      fromMs = std::strtoull(w[3].c_str(), &end, 10);
      if (*end) return kMciOutOfRange;
    }
    const uint64_t from = fromMs * rate_ / 1000;
    if (from > it->second->endFrame) return kMciOutOfRange;
    StopLocked();
    // Start from a clean synthesiser; programs, controllers and bends set before the starting
    // point are applied at once, notes are not.
    fluid_synth_system_reset(synth_);
    song_ = it->second;
    playing_ = it->first;
    pos_ = from;
    next_ = 0;
    for (; next_ < song_->events.size() && song_->events[next_].frame < from; ++next_) {
      const uint8_t kind = song_->events[next_].status & 0xF0;
      if (kind != 0x80 && kind != 0x90) Dispatch(song_->events[next_]);
    }
    return 0;
  }
  if (w[0] == "status") {
    if (w.size() < 3 || w[2] != "mode") return kMciUnrecognizedCommand;
    Reply(reply, playing_ == it->first ? "playing" : "stopped");
    return 0;
  }
  if (w[0] == "stop") {
    if (playing_ == it->first) StopLocked();
    return 0;
  }
  if (w[0] == "close") {
    if (playing_ == it->first) StopLocked();
    songs_.erase(it);
    return 0;
  }
  return kMciUnrecognizedCommand;
}

void MciSequencer::StopLocked() {
  if (!playing_.empty() || tail_) fluid_synth_all_sounds_off(synth_, -1);
  playing_.clear();
  song_.reset();
  tail_ = 0;
}

void MciSequencer::Dispatch(const MidiSong::Event& e) {
  const int ch = e.status & 0x0F;
  switch (e.status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth_, ch, e.data1); break;
    case 0x90: fluid_synth_noteon(synth_, ch, e.data1, e.data2); break;  // velocity 0 is a note off
    case 0xA0: fluid_synth_key_pressure(synth_, ch, e.data1, e.data2); break;
    case 0xB0: fluid_synth_cc(synth_, ch, e.data1, e.data2); break;
    case 0xC0: fluid_synth_program_change(synth_, ch, e.data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, ch, e.data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, ch, e.data1 | (e.data2 << 7)); break;
  }
}

void MciSequencer::RenderSynth(int16_t* out, size_t frames) {
  left_.resize(frames);
  right_.resize(frames);
  fluid_synth_write_float(synth_, static_cast<int>(frames), left_.data(), 0, 1, right_.data(), 0, 1);
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < 2; ++c) {
      const float v = c == 0 ? left_[i] : right_[i];
      const long s = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f) + out[2 * i + c];
      out[2 * i + c] = static_cast<int16_t>(std::clamp(s, -32768L, 32767L));
    }
  }
}

void MciSequencer::Render(int16_t* out, size_t frames) {
  std::lock_guard lock(mutex_);
  size_t done = 0;
  while (done < frames) {
    size_t chunk = frames - done;
    if (song_) {
      const auto& events = song_->events;
      while (next_ < events.size() && events[next_].frame <= pos_) Dispatch(events[next_++]);
      if (pos_ >= song_->endFrame) {
        // The song is over; what its last notes left sounding fades out.
        playing_.clear();
        song_.reset();
        tail_ = static_cast<uint64_t>(kTailSeconds * rate_);
        continue;
      }
      const uint64_t until = next_ < events.size() ? std::min(events[next_].frame, song_->endFrame) : song_->endFrame;
      chunk = static_cast<size_t>(std::min<uint64_t>(chunk, until - pos_));
      pos_ += chunk;
    } else if (tail_) {
      chunk = static_cast<size_t>(std::min<uint64_t>(chunk, tail_));
      tail_ -= chunk;
    } else {
      return;
    }
    RenderSynth(out + 2 * done, chunk);
    done += chunk;
  }
}

}  // namespace dusk::sdl
