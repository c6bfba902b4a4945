// Standard MIDI Files (format 0 and 1), read once for every host: the song-length stand-in and
// the Linux sequencer that plays them. Never reads outside the bytes it is given.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace dusk::kit {

// A song flattened to its channel messages on one time line, through the whole tempo map (every
// tempo change of every track applies to all of them).
struct MidiSong {
  struct Event {
    double seconds = 0;  // from the start
    uint8_t status = 0, data1 = 0, data2 = 0;
  };
  std::vector<Event> events;  // in playing order (on one tick: in the file's order)
  double seconds = 0;         // the length: the last event of the longest track (its End of Track)
};

// Nothing when the file is malformed or truncated, or lasts more than a day.
//
// Time: with PPQN divisions a tick is a fraction of a quarter note at the tempo of the moment
// (120 beats per minute until a tempo change); a tempo change on the same tick as an earlier one
// wins. With SMPTE divisions a tick is a fraction of a frame, whatever the tempo, and frames come
// 24, 25, 30 or 30000/1001 times a second: the format -29 is "30 drop frame", whose frames come at
// the 29.97 per second of colour video. Dropping renames frame numbers (so that timecode keeps up
// with the clock); it drops no frames, and a file's ticks count frames, not their names.
std::optional<MidiSong> ReadMidiFile(const std::vector<uint8_t>& bytes);

// The length in seconds, negative when the file is not one ReadMidiFile reads.
double MidiFileSeconds(const std::vector<uint8_t>& bytes);

}  // namespace dusk::kit
