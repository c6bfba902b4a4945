// In-memory Standard MIDI File (format 1): a conductor track for tempo and metre plus one track per
// instrument, encoded with running status.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace assetgen::midi {

inline constexpr int kPpqn = 480;  // ticks per quarter note

struct Event {
  uint32_t tick = 0;
  int rank = 0;       // order among events on the same tick: meta, note-off, control, note-on
  uint32_t seq = 0;   // insertion order, the final tie-break
  std::vector<uint8_t> bytes;  // a channel message with its status, or 0xFF type len data for meta
};

class Track {
 public:
  explicit Track(std::string name);
  void Channel(uint32_t tick, uint8_t status, uint8_t data1, int data2 = -1);
  void Meta(uint32_t tick, uint8_t type, const std::vector<uint8_t>& data);
  void Text(uint32_t tick, uint8_t type, const std::string& text);
  const std::vector<Event>& Events() const { return events_; }
  uint32_t LastTick() const;
  // Makes the track `db` louder or softer: channel volume first, then, where the volume is already
  // full, note velocities. Both act on the synthesiser's level as roughly 40 log10 of the value.
  void Level(double db);
  // Events in file order: by tick, then rank, then insertion.
  std::vector<Event> Sorted() const;
 private:
  void Add(uint32_t tick, int rank, std::vector<uint8_t> bytes);
  std::vector<Event> events_;
};

class Song {
 public:
  explicit Song(const std::string& title);
  void Tempo(uint32_t tick, double bpm);
  void TimeSignature(uint32_t tick, int numerator, int denominator);
  Track& AddTrack(const std::string& name);  // references stay valid as tracks are added
  void Level(double db);                     // every track
  const std::deque<Track>& Tracks() const { return tracks_; }
  void SetTail(uint32_t ticks) { tail_ = ticks; }  // silence after the last event, for the release
  uint32_t EndTick() const;
  double SecondsAt(uint32_t tick) const;  // through the tempo map
  double Seconds() const { return SecondsAt(EndTick()); }
  std::vector<uint8_t> Encode() const;
 private:
  std::deque<Track> tracks_;
  std::vector<std::pair<uint32_t, uint32_t>> tempos_;  // tick, microseconds per quarter
  uint32_t tail_ = kPpqn * 2;
};

}  // namespace assetgen::midi
