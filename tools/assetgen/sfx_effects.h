// The twelve sound effects, synthesised from scratch. Each builder returns the raw effect at
// dsp::kSampleRate; Mastered() brings it to the shared loudness and ceiling with click-free ends.
#pragma once
#include "dsp_core.h"

namespace assetgen::sfx {

inline constexpr int kEffectCount = 12;
inline constexpr double kLoudnessLufs = -20;  // integrated loudness (loudness::IntegratedLufs)
inline constexpr double kCeilingDb = -1.5;    // sample peak
inline constexpr double kMaxSeconds = 3.9;

// Each effect's own loudness in LUFS: the screams come back every few seconds and the footsteps with
// every stride, so they sit a little under the rest (all within 2 LU).
double LoudnessLufsOf(int slot);
// The longest an effect may last: the drip and the caw are restarted with every drop and every
// opening of the beak, the step with every stride.
double MaxSecondsOf(int slot);

// Slot names as the settings dialog lists them.
extern const char* const kEffectNames[kEffectCount];

dsp::Buffer Greetings();      // 0: a creaking gate and a low, welcoming chuckle
dsp::Buffer BloodDrip();      // 1: one drop falling into a pool
dsp::Buffer Thunder();        // 2: a held breath, then a crack and its rolling rumble
dsp::Buffer Crow();           // 3: one harsh caw
dsp::Buffer Owl();            // 4: hoo... hoo-hoooo
dsp::Buffer Footsteps();      // 5: one soft step on earth, heel then toe
dsp::Buffer Werewolf();       // 6: a rising, wavering, falling howl
dsp::Buffer LaughDeep();      // 7: a slow, deep, villainous laugh
dsp::Buffer ScreamHigh();     // 8: a high, shrill scream
dsp::Buffer Ghost();          // 9: an airy, hollow, wavering whoo
dsp::Buffer Cackle();         // 10: a fast, high, scratchy cackle
dsp::Buffer ScreamFalling();  // 11: a hoarse scream that falls away

dsp::Buffer Raw(int slot);       // the builder for `slot`; throws std::out_of_range for another
dsp::Buffer Mastered(int slot);  // as written to h_sound<slot>.wav

}  // namespace assetgen::sfx
