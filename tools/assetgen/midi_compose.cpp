#include "midi_compose.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <vector>

namespace assetgen::midi {

namespace {

[[noreturn]] void Fail(std::string_view score, size_t at, const char* what) {
  throw std::runtime_error(std::string(what) + " at '" + std::string(score.substr(at, 12)) + "'");
}

int DrumNote(char c) {
  switch (c) {
    case 'K': return 36; case 'X': return 37; case 'S': return 38; case 'P': return 39;
    case 'L': return 41; case 'H': return 42; case 'T': return 45; case 'O': return 46;
    case 'M': return 47; case 'C': return 49; case 'R': return 51; case 'B': return 53;
    case 'G': return 54; case 'N': return 56; case 'W': return 76;
    default: return -1;
  }
}

int Dynamic(std::string_view word) {
  static const std::pair<std::string_view, int> kLevels[] = {
      {"ppp", 24}, {"pp", 36}, {"p", 50}, {"mp", 64}, {"mf", 78}, {"f", 92}, {"ff", 106}, {"fff", 120}};
  for (const auto& [name, velocity] : kLevels) {
    if (name == word) return velocity;
  }
  return -1;
}

// Reads the score one symbol at a time.
class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}
  bool AtEnd() { SkipSpace(); return i_ >= s_.size(); }
  char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
  char Take() { return i_ < s_.size() ? s_[i_++] : '\0'; }
  size_t Pos() const { return i_; }
  void SkipSpace() {
    while (i_ < s_.size() && (std::isspace(static_cast<unsigned char>(s_[i_])) || s_[i_] == '|')) ++i_;
  }
  std::string_view Word() {
    size_t start = i_;
    while (i_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[i_]))) ++i_;
    return s_.substr(start, i_ - start);
  }
  int Number() {
    int v = 0;
    bool any = false;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) {
      v = v * 10 + (s_[i_++] - '0');
      any = true;
    }
    return any ? v : -1;
  }
  std::string_view Text() const { return s_; }

 private:
  std::string_view s_;
  size_t i_ = 0;
};

// One pitch: a note name with accidental and octave, or a drum letter. -1 for a rest.
int ReadPitch(Reader& r) {
  size_t at = r.Pos();
  char c = r.Take();
  if (c == 'r') return -1;
  if (int drum = DrumNote(c); drum >= 0) return drum;
  static constexpr int kSteps[] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  if (c < 'a' || c > 'g') Fail(r.Text(), at, "unknown note");
  int pitch = kSteps[c - 'a'];
  if (r.Peek() == '#') r.Take(), ++pitch;
  else if (r.Peek() == 'b') r.Take(), --pitch;
  int octave = r.Number();
  if (octave < 0 || octave > 9) Fail(r.Text(), at, "note needs an octave");
  return pitch + 12 * (octave + 1);
}

uint32_t ReadDuration(Reader& r) {
  uint32_t total = 0;
  do {
    size_t at = r.Pos();
    int value = r.Number();
    if (value <= 0 || value > 64 || (value & (value - 1))) Fail(r.Text(), at, "bad duration");
    uint32_t ticks = kWhole / value;
    if (r.Peek() == '.') r.Take(), ticks += ticks / 2;
    if (r.Peek() == 't') r.Take(), ticks = ticks * 2 / 3;
    total += ticks;
  } while (r.Peek() == '+' && r.Take());
  return total;
}

}  // namespace

Part::Part(Song& song, const std::string& name, int channel, int program, int volume, int pan, int reverb)
    : track_(song.AddTrack(name)), channel_(channel) {
  if (channel_ != kDrums) track_.Channel(0, static_cast<uint8_t>(0xC0 | channel_), static_cast<uint8_t>(program));
  track_.Channel(0, static_cast<uint8_t>(0xB0 | channel_), 7, volume);
  track_.Channel(0, static_cast<uint8_t>(0xB0 | channel_), 10, pan);
  track_.Channel(0, static_cast<uint8_t>(0xB0 | channel_), 91, reverb);
  track_.Channel(0, static_cast<uint8_t>(0xB0 | channel_), 11, 127);
}

void Part::Note(int pitch, uint32_t start, uint32_t length, int velocity) {
  if (pitch < 0 || pitch > 127) throw std::runtime_error("note out of range");
  uint8_t status = static_cast<uint8_t>(0x90 | channel_);
  // A little deterministic unevenness keeps repeated notes from sounding mechanical.
  int wobble = static_cast<int>((start / 7 + static_cast<uint32_t>(pitch) * 13) % 7) - 3;
  track_.Channel(start, status, static_cast<uint8_t>(pitch), std::clamp(velocity + wobble, 1, 127));
  track_.Channel(start + std::max<uint32_t>(length, 1), status, static_cast<uint8_t>(pitch), 0);
}

Part& Part::Play(std::string_view score, int transpose) {
  Reader r(score);
  while (!r.AtEnd()) {
    size_t at = r.Pos();
    if (r.Peek() == '!') {
      r.Take();
      std::string_view word = r.Word();
      if (int v = Dynamic(word); v >= 0) velocity_ = v;
      else if (word == "leg") gate_ = 1.0;
      else if (word == "non") gate_ = 0.92;
      else if (word == "stac") gate_ = 0.45;
      else Fail(score, at, "unknown mark");
      continue;
    }
    std::vector<int> pitches;
    if (r.Peek() == '<') {
      r.Take();
      while (!r.AtEnd() && r.Peek() != '>') pitches.push_back(ReadPitch(r));
      if (r.Take() != '>') Fail(score, at, "unclosed chord");
    } else {
      pitches.push_back(ReadPitch(r));
    }
    if (r.Peek() == ':') r.Take(), duration_ = ReadDuration(r);
    double gate = gate_;
    int velocity = velocity_;
    for (;;) {
      char c = r.Peek();
      if (c == '\'') gate = 0.45;
      else if (c == '_') gate = 1.0;
      else if (c == '^') velocity += 18;
      else break;
      r.Take();
    }
    for (int p : pitches) {
      if (p < 0) continue;
      bool drum = channel_ == kDrums;
      Note(drum ? p : p + transpose, now_, drum ? duration_ / 2 : uint32_t(duration_ * gate), velocity);
    }
    now_ += duration_;
  }
  return *this;
}

Part& Part::Repeat(int times, std::string_view score, int transpose) {
  for (int i = 0; i < times; ++i) Play(score, transpose);
  return *this;
}

Part& Part::At(uint32_t tick) {
  now_ = tick;
  return *this;
}

Part& Part::Program(int program) {
  track_.Channel(now_, static_cast<uint8_t>(0xC0 | channel_), static_cast<uint8_t>(program));
  return *this;
}

Part& Part::Swell(int from, int to, uint32_t ticks) {
  const uint32_t step = kPpqn / 8;
  for (uint32_t t = 0; t <= ticks; t += step) {
    int value = from + static_cast<int>((to - from) * double(t) / std::max<uint32_t>(ticks, 1));
    track_.Channel(now_ + t, static_cast<uint8_t>(0xB0 | channel_), 11, std::clamp(value, 0, 127));
  }
  return *this;
}

}  // namespace assetgen::midi
