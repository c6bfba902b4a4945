// The songs' gains on known soundfonts: which file is which song, which soundfont is which.
#include <gtest/gtest.h>

#include "hosts/kit/song_levels.h"

namespace {

using dusk::kit::SongGainDb;
using dusk::kit::SongSlot;

TEST(SongLevels, KnowSongFilesAndSoundFontsByTheirNames) {
  EXPECT_EQ(SongSlot("C:\\WINDOWS\\Duskhollow\\h_song7.Mid"), 7);
  EXPECT_EQ(SongSlot("/usr/share/duskhollow/H_SONG11.MID"), 11);
  EXPECT_EQ(SongSlot("h_song0.mid"), 0);
  for (const char* other : {"h_song12.Mid", "h_song.Mid", "h_song07.Mid", "h_song1.wav", "xh_song1.Mid", "h_song-1.Mid",
                            "/h_song1.Mid/x", ""})
    EXPECT_EQ(SongSlot(other), -1) << other;

  // Either format of a soundfont, in any folder and any case, has the same gains; some song needs one.
  bool any = false;
  for (int slot = 0; slot < 12; ++slot) {
    const double tim = SongGainDb("/usr/share/sounds/sf2/TimGM6mb.sf2", slot);
    const double fluid = SongGainDb("/usr/share/sounds/sf2/FluidR3_GM.sf2", slot);
    EXPECT_EQ(SongGainDb("FLUIDR3_GM.SF3", slot), fluid);
    EXPECT_EQ(SongGainDb("timgm6mb.sf2", slot), tim);
    EXPECT_EQ(SongGainDb("/usr/share/sounds/sf2/Other.sf2", slot), 0);
    EXPECT_EQ(SongGainDb("/usr/share/sounds/sf2/FluidR3Mono_GM.sf3", slot), 0);
    any = any || tim != 0 || fluid != 0;
  }
  EXPECT_TRUE(any);
  EXPECT_EQ(SongGainDb("TimGM6mb.sf2", -1), 0);
  EXPECT_EQ(SongGainDb("TimGM6mb.sf2", 12), 0);
}

}  // namespace
