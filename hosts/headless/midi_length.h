// Playing length of a Standard MIDI File, for the host's song sequencer.
#pragma once
#include <vector>

namespace dusk {

// Length in seconds of a format 0 or 1 Standard MIDI File: the time of the last event of the
// longest track (its End of Track), through every tempo change of every track. Both PPQN and SMPTE
// divisions are understood. Returns a negative value when the file is malformed or truncated; never
// reads outside `bytes`.
double MidiFileSeconds(const std::vector<unsigned char>& bytes);

}  // namespace dusk
