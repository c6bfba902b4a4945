// A compact note language so each song reads as music:
//
//   c4 eb4 f#4     notes; c4 is middle C. Sharps '#', flats 'b'.
//   K S H ...      drums (channel 10): K kick, S snare, X side stick, P clap, H closed hat,
//                  O open hat, C crash, R ride, B ride bell, L low floor tom, T low tom, M mid tom,
//                  W wood block, N cowbell, G tambourine
//   r              rest
//   <d3 f3 a3>     chord
//   :4 :8. :8t :1+4  duration (1 whole, 4 quarter; '.' dotted, 't' triplet, '+' tied); it sticks
//                  until the next one, like the current dynamic
//   '  _  ^        suffixes: staccato, full length, accent
//   !pp .. !fff    dynamics;  !leg !non !stac  default articulation
//   |              bar line, for the reader only
#pragma once
#include <string>
#include <string_view>

#include "midi_file.h"

namespace assetgen::midi {

inline constexpr uint32_t kWhole = kPpqn * 4, kHalf = kPpqn * 2, kQuarter = kPpqn, kEighth = kPpqn / 2;
inline constexpr int kDrums = 9;  // the General MIDI percussion channel

// General MIDI programs used by the songs. Left out on purpose: programs that common soundfonts
// make of stereo samples whose sides all but cancel when folded to mono, so that one speaker or a
// phone loses 5 to 14 dB of them: string ensemble 1 and the clean electric guitar in TimGM6mb,
// synth brass and most synth leads and pads in FluidR3_GM.
enum Program : int {
  kPiano = 0, kHarpsichord = 6, kCelesta = 8, kGlockenspiel = 9, kMusicBox = 10, kVibraphone = 11,
  kXylophone = 13, kTubularBells = 14, kDrawbarOrgan = 16, kPercOrgan = 17, kRockOrgan = 18,
  kChurchOrgan = 19, kReedOrgan = 20, kNylonGuitar = 24, kSteelGuitar = 25, kMutedGuitar = 28,
  kOverdrive = 29, kFingerBass = 33, kPickBass = 34, kFretless = 35, kSlapBass = 36, kSynthBass1 = 38,
  kSynthBass2 = 39, kViolin = 40, kViola = 41, kCello = 42, kContrabass = 43, kTremoloStrings = 44,
  kPizzicato = 45, kHarp = 46, kTimpani = 47, kSlowStrings = 49, kChoir = 52, kVoiceOohs = 53,
  kSynthVoice = 54, kOrchestraHit = 55, kTrumpet = 56, kTrombone = 57, kTuba = 58, kMutedTrumpet = 59,
  kFrenchHorn = 60, kBrass = 61, kSoprano = 64, kBaritoneSax = 67, kOboe = 68, kBassoon = 70, kClarinet = 71,
  kPiccolo = 72, kFlute = 73, kPanFlute = 75, kWhistle = 78, kOcarina = 79, kWarmPad = 89, kAtmosphere = 99,
  kGoblins = 101, kTinkleBell = 112, kTaiko = 116, kReverseCymbal = 119,
};

// One instrument on its own channel and track, with a write cursor that advances as notes are played.
class Part {
 public:
  Part(Song& song, const std::string& name, int channel, int program, int volume = 100, int pan = 64,
       int reverb = 50);
  Part& Play(std::string_view score, int transpose = 0);
  Part& Repeat(int times, std::string_view score, int transpose = 0);
  Part& At(uint32_t tick);
  Part& Program(int program);                      // at the cursor
  Part& Swell(int from, int to, uint32_t ticks);   // expression ramp from the cursor; cursor stays
  uint32_t Now() const { return now_; }

 private:
  void Note(int pitch, uint32_t start, uint32_t length, int velocity);
  Track& track_;
  int channel_;
  uint32_t now_ = 0;
  uint32_t duration_ = kQuarter;
  int velocity_ = 80;
  double gate_ = 0.92;
};

inline constexpr uint32_t Bars(int bars, int beatsPerBar = 4) { return uint32_t(bars * beatsPerBar) * kQuarter; }

}  // namespace assetgen::midi
