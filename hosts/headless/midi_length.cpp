#include "midi_length.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace dusk {

namespace {

constexpr double kMalformed = -1.0;

struct TempoChange {
  uint64_t tick;
  uint32_t usPerQuarter;
};

// A bounds-checked reader over [pos, end) of the file; every read reports whether it fitted.
class Cursor {
 public:
  Cursor(const std::vector<unsigned char>& bytes, size_t pos, size_t end)
      : b_(bytes), pos_(pos), end_(std::min(end, bytes.size())) {}
  bool AtEnd() const { return pos_ >= end_; }
  size_t Pos() const { return pos_; }
  size_t Left() const { return end_ - pos_; }
  bool Byte(uint32_t& out) {
    if (pos_ >= end_) return false;
    out = b_[pos_++];
    return true;
  }
  bool Peek(uint32_t& out) const {
    if (pos_ >= end_) return false;
    out = b_[pos_];
    return true;
  }
  bool Big(int count, uint32_t& out) {
    out = 0;
    for (int i = 0; i < count; ++i) {
      uint32_t v;
      if (!Byte(v)) return false;
      out = (out << 8) | v;
    }
    return true;
  }
  // Variable-length quantity: at most four bytes of seven bits.
  bool VarLen(uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      uint32_t v;
      if (!Byte(v)) return false;
      out = (out << 7) | (v & 0x7F);
      if (!(v & 0x80)) return true;
    }
    return false;
  }
  bool Skip(uint32_t count) {
    if (count > Left()) return false;
    pos_ += count;
    return true;
  }

 private:
  const std::vector<unsigned char>& b_;
  size_t pos_, end_;
};

// Walks one MTrk body, collecting its tempo changes and the tick of its last event.
bool ScanTrack(Cursor c, std::vector<TempoChange>& tempos, uint64_t& endTick) {
  uint64_t tick = 0;
  uint32_t running = 0;
  endTick = 0;
  while (!c.AtEnd()) {
    uint32_t delta, status;
    if (!c.VarLen(delta) || !c.Peek(status)) return false;
    tick += delta;
    endTick = tick;
    if (status & 0x80) {
      c.Byte(status);
    } else {
      if (!running) return false;  // a data byte with no status to run on
      status = running;
    }
    if (status == 0xFF) {
      uint32_t type, length;
      if (!c.Byte(type) || !c.VarLen(length) || length > c.Left()) return false;
      if (type == 0x51) {
        uint32_t usPerQuarter;
        if (length != 3 || !c.Big(3, usPerQuarter)) return false;
        if (usPerQuarter == 0) return false;
        tempos.push_back({tick, usPerQuarter});
      } else {
        c.Skip(length);
      }
      if (type == 0x2F) return true;  // End of Track: anything after it is ignored
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length;
      if (!c.VarLen(length) || !c.Skip(length)) return false;
    } else if (status > 0xF0) {
      return false;  // system common and real-time messages do not belong in a file
    } else {
      // Running status is kept across meta and sysex events: files in the wild rely on it.
      running = status;
      uint32_t kind = status & 0xF0, data;
      int count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
      for (int i = 0; i < count; ++i) {
        if (!c.Byte(data) || (data & 0x80)) return false;
      }
    }
  }
  return true;  // a track that ends without End of Track still lasts until its last event
}

}  // namespace

double MidiFileSeconds(const std::vector<unsigned char>& bytes) {
  Cursor file(bytes, 0, bytes.size());
  uint32_t magic, headerLength, format, trackCount, division;
  if (!file.Big(4, magic) || magic != 0x4D546864 /* MThd */ || !file.Big(4, headerLength) || headerLength < 6 ||
      !file.Big(2, format) || !file.Big(2, trackCount) || !file.Big(2, division) ||
      !file.Skip(headerLength - 6)) {
    return kMalformed;
  }
  if (format > 1 || trackCount == 0 || (format == 0 && trackCount != 1) || division == 0) return kMalformed;

  std::vector<TempoChange> tempos;
  uint64_t lastTick = 0;
  uint32_t found = 0;
  while (found < trackCount) {
    uint32_t type, length;
    if (!file.Big(4, type) || !file.Big(4, length) || length > file.Left()) return kMalformed;
    if (type == 0x4D54726B /* MTrk */) {
      uint64_t endTick;
      if (!ScanTrack(Cursor(bytes, file.Pos(), file.Pos() + length), tempos, endTick)) return kMalformed;
      lastTick = std::max(lastTick, endTick);
      ++found;
    }
    file.Skip(length);  // unknown chunk types are skipped, as the format asks
  }

  if (division & 0x8000) {
    // SMPTE: frames per second (as a negative byte) times ticks per frame; tempo does not apply.
    int fps = 256 - static_cast<int>(division >> 8);
    uint32_t ticksPerFrame = division & 0xFF;
    if (ticksPerFrame == 0 || (fps != 24 && fps != 25 && fps != 29 && fps != 30)) return kMalformed;
    double framesPerSecond = fps == 29 ? 29.97 : fps;
    return static_cast<double>(lastTick) / (framesPerSecond * ticksPerFrame);
  }

  // PPQN: walk the merged tempo map up to the last tick. A tempo change on the same tick as another
  // one later in the file wins, as it would when played.
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  double seconds = 0;
  uint64_t at = 0;
  uint32_t usPerQuarter = 500000;  // 120 beats per minute until told otherwise
  for (const TempoChange& t : tempos) {
    if (t.tick >= lastTick) break;
    seconds += static_cast<double>(t.tick - at) * usPerQuarter / 1e6 / division;
    at = t.tick;
    usPerQuarter = t.usPerQuarter;
  }
  return seconds + static_cast<double>(lastTick - at) * usPerQuarter / 1e6 / division;
}

}  // namespace dusk
