// How loud the songs come out of the General MIDI soundfonts that Linux systems ship. The songs
// are written to be level on an average synthesiser; every soundfont voices its instruments
// louder or softer than another, so a host that plays them with a soundfont it knows corrects
// each song by the gain measured for it there. With these gains every song reads -21 LUFS
// (integrated, EBU R128) from FluidSynth at a gain of 0.5.
#pragma once

#include <string_view>

namespace dusk::kit {

// The slot of a song file: "h_song7.Mid" (in any folder, in any case) is 7; -1 for another name.
int SongSlot(std::string_view path);

// The correction in dB for the song in `slot` played with the soundfont file `fontPath`, known by
// its name (either format, .sf2 or .sf3); 0 for a soundfont not known or a slot out of range.
double SongGainDb(std::string_view fontPath, int slot);

}  // namespace dusk::kit
