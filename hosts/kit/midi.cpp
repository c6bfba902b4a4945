#include "hosts/kit/midi.h"

#include <algorithm>
#include <cstddef>

namespace dusk::kit {
namespace {

constexpr double kLongestSong = 24 * 3600.0;  // longer is a broken file

struct TempoChange {
  uint64_t tick;
  uint32_t usPerQuarter;
};

struct TickEvent {
  uint64_t tick;
  uint8_t status, data1, data2;
};

// A bounds-checked reader over [pos, end) of the file; every read reports whether it fitted.
class Cursor {
 public:
  Cursor(const std::vector<uint8_t>& bytes, size_t pos, size_t end)
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
  const std::vector<uint8_t>& b_;
  size_t pos_, end_;
};

// Walks one MTrk body, collecting its tempo changes, its channel messages and the tick of its
// last event.
bool ScanTrack(Cursor c, std::vector<TempoChange>& tempos, std::vector<TickEvent>& events, uint64_t& endTick) {
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
      const uint32_t kind = status & 0xF0;
      const int count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
      uint32_t data[2] = {0, 0};
      for (int i = 0; i < count; ++i) {
        if (!c.Byte(data[i]) || (data[i] & 0x80)) return false;
      }
      events.push_back({tick, static_cast<uint8_t>(status), static_cast<uint8_t>(data[0]), static_cast<uint8_t>(data[1])});
    }
  }
  return true;  // a track that ends without End of Track still lasts until its last event
}

// Ticks to seconds: the time each tempo change happens, each tick after it at its tempo.
class TempoMap {
 public:
  TempoMap(std::vector<TempoChange> tempos, uint32_t division) : division_(division) {
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    segments_.push_back({0, 0.0, 500000});  // 120 beats per minute until told otherwise
    for (const TempoChange& t : tempos) {
      const Segment& last = segments_.back();
      segments_.push_back({t.tick, At(last, t.tick), t.usPerQuarter});
    }
  }
  // For ticks in rising order (each call starts where the last one ended).
  double Seconds(uint64_t tick) {
    while (next_ + 1 < segments_.size() && segments_[next_ + 1].tick <= tick) ++next_;
    return At(segments_[next_], tick);
  }

 private:
  struct Segment {
    uint64_t tick;
    double seconds;
    uint32_t usPerQuarter;
  };
  double At(const Segment& s, uint64_t tick) const {
    return s.seconds + static_cast<double>(tick - s.tick) * s.usPerQuarter / 1e6 / division_;
  }
  uint32_t division_;
  std::vector<Segment> segments_;
  size_t next_ = 0;
};

}  // namespace

std::optional<MidiSong> ReadMidiFile(const std::vector<uint8_t>& bytes) {
  Cursor file(bytes, 0, bytes.size());
  uint32_t magic, headerLength, format, trackCount, division;
  if (!file.Big(4, magic) || magic != 0x4D546864 /* MThd */ || !file.Big(4, headerLength) || headerLength < 6 ||
      !file.Big(2, format) || !file.Big(2, trackCount) || !file.Big(2, division) ||
      !file.Skip(headerLength - 6)) {
    return std::nullopt;
  }
  if (format > 1 || trackCount == 0 || (format == 0 && trackCount != 1) || division == 0) return std::nullopt;

  std::vector<TempoChange> tempos;
  std::vector<TickEvent> events;
  uint64_t lastTick = 0;
  uint32_t found = 0;
  while (found < trackCount) {
    uint32_t type, length;
    if (!file.Big(4, type) || !file.Big(4, length) || length > file.Left()) return std::nullopt;
    if (type == 0x4D54726B /* MTrk */) {
      uint64_t endTick;
      if (!ScanTrack(Cursor(bytes, file.Pos(), file.Pos() + length), tempos, events, endTick)) return std::nullopt;
      lastTick = std::max(lastTick, endTick);
      ++found;
    }
    file.Skip(length);  // unknown chunk types are skipped, as the format asks
  }
  // One time line; on one tick the file's order (track by track) stays.
  std::stable_sort(events.begin(), events.end(), [](const TickEvent& a, const TickEvent& b) { return a.tick < b.tick; });

  MidiSong song;
  song.events.reserve(events.size());
  if (division & 0x8000) {
    // SMPTE: frames per second (as a negative byte) times ticks per frame; tempo does not apply.
    const int fps = 256 - static_cast<int>(division >> 8);
    const uint32_t ticksPerFrame = division & 0xFF;
    if (ticksPerFrame == 0 || (fps != 24 && fps != 25 && fps != 29 && fps != 30)) return std::nullopt;
    const double framesPerSecond = fps == 29 ? 30000.0 / 1001.0 : fps;
    auto seconds = [&](uint64_t tick) { return static_cast<double>(tick) / (framesPerSecond * ticksPerFrame); };
    song.seconds = seconds(lastTick);
    if (song.seconds > kLongestSong) return std::nullopt;
    for (const TickEvent& e : events) song.events.push_back({seconds(e.tick), e.status, e.data1, e.data2});
    return song;
  }
  TempoMap map(std::move(tempos), division);
  for (const TickEvent& e : events) song.events.push_back({map.Seconds(e.tick), e.status, e.data1, e.data2});
  song.seconds = map.Seconds(lastTick);
  if (song.seconds > kLongestSong) return std::nullopt;
  return song;
}

double MidiFileSeconds(const std::vector<uint8_t>& bytes) {
  const auto song = ReadMidiFile(bytes);
  return song ? song->seconds : -1.0;
}

}  // namespace dusk::kit
