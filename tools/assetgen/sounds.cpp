#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "assetgen.h"
#include "sfx_effects.h"
#include "wav_file.h"

namespace assetgen {

namespace sfx {

const char* const kEffectNames[kEffectCount] = {"Greetings", "Blood Drip", "Thunder",  "Crow",
                                                "Owl",       "FootSteps",  "WereWolf", "Laugh II",
                                                "Scream I",  "Ghost",      "Laugh I",  "Scream II"};

dsp::Buffer Raw(int slot) {
  switch (slot) {
    case 0: return Greetings();
    case 1: return BloodDrip();
    case 2: return Thunder();
    case 3: return Crow();
    case 4: return Owl();
    case 5: return Footsteps();
    case 6: return Werewolf();
    case 7: return LaughDeep();
    case 8: return ScreamHigh();
    case 9: return Ghost();
    case 10: return Cackle();
    case 11: return ScreamFalling();
    default: throw std::out_of_range("no sound slot " + std::to_string(slot));
  }
}

double LoudnessLufsOf(int slot) {
  switch (slot) {
    case 5: return kLoudnessLufs - 1.0;
    case 8:
    case 11: return kLoudnessLufs - 1.5;
    default: return kLoudnessLufs;
  }
}

double MaxSecondsOf(int slot) {
  switch (slot) {
    case 1:
    case 5: return 0.5;
    case 3: return 0.6;
    default: return kMaxSeconds;
  }
}

dsp::Buffer Mastered(int slot) {
  dsp::Buffer b = Raw(slot);
  // Trim the reverb's inaudible tail (60 dB under the peak) so the file stays short, then level
  // and fade.
  const float floor = static_cast<float>(std::pow(10.0, (dsp::PeakDb(b) - 60) / 20));
  size_t end = b.size();
  while (end > 0 && std::fabs(b[end - 1]) < floor) --end;
  b.resize(std::min(end + static_cast<size_t>(dsp::Samples(0.01)), b.size()));
  const size_t most = static_cast<size_t>(dsp::Samples(MaxSecondsOf(slot)));
  if (b.size() > most) b.resize(most);
  dsp::Master(b, LoudnessLufsOf(slot), kCeilingDb);
  dsp::Fade(b, 0.004, MaxSecondsOf(slot) < 1 ? 0.03 : 0.08);
  return b;
}

}  // namespace sfx

bool WriteSounds(const std::string& dir) {
  for (int slot = 0; slot < sfx::kEffectCount; ++slot) {
    std::vector<uint8_t> bytes = EncodeWav16Mono(sfx::Mastered(slot), dsp::kSampleRate);
    if (!WriteFileBytes(dir + "/h_sound" + std::to_string(slot) + ".wav", bytes)) return false;
  }
  return true;
}

}  // namespace assetgen
