#include "midi_file.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace assetgen::midi {

namespace {

void PutVarLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t buf[5];
  int n = 0;
  buf[n++] = v & 0x7F;
  while (v >>= 7) buf[n++] = static_cast<uint8_t>(0x80 | (v & 0x7F));
  while (n) out.push_back(buf[--n]);
}

void PutBig(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

Track::Track(std::string name) { Text(0, 0x03, name); }

void Track::Add(uint32_t tick, int rank, std::vector<uint8_t> bytes) {
  events_.push_back({tick, rank, static_cast<uint32_t>(events_.size()), std::move(bytes)});
}

void Track::Level(double db) {
  const double factor = std::pow(10.0, db / 40);
  std::map<int, double> velocityFactor;  // channel -> what the volume could not give
  for (Event& e : events_) {
    if (e.bytes.size() == 3 && (e.bytes[0] & 0xF0) == 0xB0 && e.bytes[1] == 7) {
      double wanted = e.bytes[2] * factor;
      velocityFactor[e.bytes[0] & 0x0F] = std::max(1.0, wanted / 127);
      e.bytes[2] = static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(wanted)), 1, 127));
    }
  }
  for (Event& e : events_) {
    auto more = velocityFactor.find(e.bytes[0] & 0x0F);
    if (e.bytes.size() == 3 && (e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0 && more != velocityFactor.end()) {
      e.bytes[2] = static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(e.bytes[2] * more->second)), 1, 127));
    }
  }
}

void Track::Channel(uint32_t tick, uint8_t status, uint8_t data1, int data2) {
  int kind = status & 0xF0;
  bool noteOff = kind == 0x80 || (kind == 0x90 && data2 == 0);
  int rank = noteOff ? 1 : kind == 0x90 ? 3 : 2;
  std::vector<uint8_t> bytes{status, static_cast<uint8_t>(data1 & 0x7F)};
  if (data2 >= 0) bytes.push_back(static_cast<uint8_t>(data2 & 0x7F));
  Add(tick, rank, std::move(bytes));
}

void Track::Meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> bytes{0xFF, type};
  PutVarLen(bytes, static_cast<uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  Add(tick, 0, std::move(bytes));
}

void Track::Text(uint32_t tick, uint8_t type, const std::string& text) {
  Meta(tick, type, std::vector<uint8_t>(text.begin(), text.end()));
}

uint32_t Track::LastTick() const {
  uint32_t last = 0;
  for (const auto& e : events_) last = std::max(last, e.tick);
  return last;
}

std::vector<Event> Track::Sorted() const {
  std::vector<Event> sorted = events_;
  std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.rank != b.rank) return a.rank < b.rank;
    return a.seq < b.seq;
  });
  return sorted;
}

Song::Song(const std::string& title) { AddTrack(title); }

void Song::Level(double db) {
  for (Track& t : tracks_) t.Level(db);
}

Track& Song::AddTrack(const std::string& name) { return tracks_.emplace_back(name); }

void Song::Tempo(uint32_t tick, double bpm) {
  uint32_t usPerQuarter = static_cast<uint32_t>(std::lround(60'000'000.0 / bpm));
  tracks_.front().Meta(tick, 0x51, {static_cast<uint8_t>(usPerQuarter >> 16),
                                    static_cast<uint8_t>(usPerQuarter >> 8),
                                    static_cast<uint8_t>(usPerQuarter)});
  tempos_.emplace_back(tick, usPerQuarter);
  std::stable_sort(tempos_.begin(), tempos_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

void Song::TimeSignature(uint32_t tick, int numerator, int denominator) {
  uint8_t log2den = 0;
  while ((1 << log2den) < denominator) ++log2den;
  tracks_.front().Meta(tick, 0x58, {static_cast<uint8_t>(numerator), log2den, 24, 8});
}

uint32_t Song::EndTick() const {
  uint32_t last = 0;
  for (const auto& t : tracks_) last = std::max(last, t.LastTick());
  return last + tail_;
}

double Song::SecondsAt(uint32_t tick) const {
  double seconds = 0;
  uint32_t at = 0, usPerQuarter = 500000;
  for (const auto& [t, us] : tempos_) {
    if (t >= tick) break;
    seconds += double(t - at) * usPerQuarter / 1e6 / kPpqn;
    at = t;
    usPerQuarter = us;
  }
  return seconds + double(tick - at) * usPerQuarter / 1e6 / kPpqn;
}

std::vector<uint8_t> Song::Encode() const {
  std::vector<uint8_t> out{'M', 'T', 'h', 'd'};
  PutBig(out, 6, 4);
  PutBig(out, 1, 2);  // format 1: simultaneous tracks
  PutBig(out, static_cast<uint32_t>(tracks_.size()), 2);
  PutBig(out, kPpqn, 2);
  const uint32_t end = EndTick();
  for (const auto& track : tracks_) {
    std::vector<uint8_t> body;
    uint32_t now = 0;
    uint8_t running = 0;
    for (const auto& e : track.Sorted()) {
      PutVarLen(body, e.tick - now);
      now = e.tick;
      size_t skip = 0;
      if (e.bytes[0] < 0xF0) {
        if (e.bytes[0] == running) skip = 1;  // running status: repeat the data bytes only
        running = e.bytes[0];
      } else {
        running = 0;  // meta events cancel running status
      }
      body.insert(body.end(), e.bytes.begin() + skip, e.bytes.end());
    }
    PutVarLen(body, end - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    PutBig(out, static_cast<uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

}  // namespace assetgen::midi
