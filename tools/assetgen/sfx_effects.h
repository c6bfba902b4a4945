// The twelve sound effects, synthesised from scratch. Each builder returns the raw effect at
// dsp::kSampleRate; Mastered() brings it to the shared loudness and ceiling with click-free ends.
#pragma once
#include "dsp_core.h"

namespace assetgen::sfx {

inline constexpr int kEffectCount = 12;
inline constexpr double kLoudnessDb = -18.0;  // loudest 300 ms of every effect
inline constexpr double kCeilingDb = -1.5;    // sample peak
inline constexpr double kMaxSeconds = 3.9;

// Slot names as the settings dialog lists them.
extern const char* const kEffectNames[kEffectCount];

dsp::Buffer Greetings();      // 0: wind, a far bell and a low moaning voice
dsp::Buffer BloodDrip();      // 1: a drop falling into a pool, and a smaller one after
dsp::Buffer Thunder();        // 2: a crack and its rolling rumble
dsp::Buffer Crow();           // 3: three harsh caws
dsp::Buffer Owl();            // 4: hoo... hoo-hoooo
dsp::Buffer Footsteps();      // 5: one bony step, heel then toe
dsp::Buffer Werewolf();       // 6: a rising, wavering, falling howl
dsp::Buffer LaughDeep();      // 7: a slow, deep, villainous laugh
dsp::Buffer ScreamHigh();     // 8: a high, shrill scream
dsp::Buffer Ghost();          // 9: a breathy wavering wail
dsp::Buffer Cackle();         // 10: a fast, high, scratchy cackle
dsp::Buffer ScreamFalling();  // 11: a hoarse scream that falls away

dsp::Buffer Raw(int slot);       // the builder for `slot`; throws std::out_of_range for another
dsp::Buffer Mastered(int slot);  // as written to h_sound<slot>.wav

}  // namespace assetgen::sfx
