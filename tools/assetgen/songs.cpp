#include <cstdio>
#include <stdexcept>

#include "assetgen.h"
#include "midi_songs.h"
#include "wav_file.h"

namespace assetgen {

const char* const kSongCaptions[kSongCount] = {
    "Horror Hill", "Death Toll", "Pipe Organ", "Descent",     "Leviathan",  "Demony",
    "Lurker",      "Nitemare",   "Moonwake",   "Adams Family", "Thriller", "GhostBusters"};

std::string Times(int n, const std::string& phrase) {
  std::string out;
  for (int i = 0; i < n; ++i) out += phrase + " ";
  return out;
}

std::string Chart(const std::map<std::string, std::string>& patterns, std::initializer_list<const char*> bars) {
  std::string out;
  for (const char* name : bars) out += patterns.at(name) + " ";
  return out;
}

namespace {

// How much louder (or softer) each song is played than it was written, so that all twelve come out
// of a General MIDI synthesiser at about the same loudness: soundfonts voice their instruments
// differently, so each song is set where its loudness (EBU R128, a whole render by FluidSynth)
// averaged over two unlike ones, TimGM6mb and FluidR3_GM, is the same as every other song's. What
// is left between the two, the Linux host evens out (hosts/kit/song_levels.h); Windows' own
// synthesiser plays the files as they are.
constexpr double kSongLevelDb[kSongCount] = {4.3, 3.1, -2, 4.4, 0.8, 1.3, -0.2, 1.4, 2.9, 2.7, 1.6, 0.7};

midi::Song Compose(int slot) {
  switch (slot) {
    case 0: return SongHorrorHill();
    case 1: return SongDeathToll();
    case 2: return SongPipeOrgan();
    case 3: return SongDescent();
    case 4: return SongLeviathan();
    case 5: return SongDemony();
    case 6: return SongLurker();
    case 7: return SongNitemare();
    case 8: return SongMoonwake();
    case 9: return SongFamilyPortrait();
    case 10: return SongNightCrawl();
    case 11: return SongSpookCatchers();
    default: throw std::out_of_range("no song slot " + std::to_string(slot));
  }
}

}  // namespace

midi::Song BuildSong(int slot) {
  midi::Song song = Compose(slot);
  song.Level(kSongLevelDb[slot]);
  return song;
}

bool WriteSongs(const std::string& dir) {
  for (int slot = 0; slot < kSongCount; ++slot) {
    std::vector<uint8_t> bytes;
    try {
      bytes = BuildSong(slot).Encode();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "assetgen: song %d (%s): %s\n", slot, kSongCaptions[slot], e.what());
      return false;
    }
    if (!WriteFileBytes(dir + "/h_song" + std::to_string(slot) + ".Mid", bytes)) return false;
  }
  return true;
}

}  // namespace assetgen
