// The unvoiced and animal effects: drip, thunder, crow, owl and footsteps.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "dsp_voice.h"
#include "sfx_effects.h"

namespace assetgen::sfx {

using namespace dsp;

namespace {

// A drop hitting water: a tiny splash, then the ringing bubble whose pitch sweeps up as it closes.
Buffer Drop(double freq, double level, Rng& rng) {
  Buffer out(Samples(0.25));
  Biquad splash;
  splash.SetHighPass(2500, 0.7);
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    double f = freq * (1 + 1.6 * (1 - std::exp(-t / 0.025)));
    phase += 2 * kPi * f / kSampleRate;
    double bubble = std::sin(phase) * std::exp(-t / 0.045) * std::min(1.0, t / 0.0015);
    double hit = splash.Process(static_cast<float>(rng.Bipolar())) * std::exp(-t / 0.003) * 0.5;
    out[i] = static_cast<float>(level * (bubble + hit));
  }
  return out;
}

// A noise burst ringing through a few resonant modes: the knock of hard, hollow things.
Buffer Knock(const std::vector<std::pair<double, double>>& modes, double decay, double level, Rng& rng) {
  Buffer out(Samples(decay * 6));
  std::vector<Biquad> filters(modes.size());
  for (size_t m = 0; m < modes.size(); ++m) filters[m].SetBandPass(modes[m].first, 12);
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    float excite = static_cast<float>(rng.Bipolar() * std::exp(-t / 0.0015));
    double v = 0;
    for (size_t m = 0; m < modes.size(); ++m) v += modes[m].second * filters[m].Process(excite);
    out[i] = static_cast<float>(level * v * std::exp(-t / decay) * 4);
  }
  return out;
}

}  // namespace

Buffer BloodDrip() {
  Rng rng(0xD819);
  Buffer mix;
  MixInto(mix, Drop(820, 1.0, rng), 0.01);
  MixInto(mix, Drop(1150, 0.45, rng), 0.38);  // a second, smaller drop from the same wound
  MixInto(mix, Drop(980, 0.2, rng), 0.55);
  return Reverb(mix, 0.3, 0.8, 0.3, 0.5);  // a stone cellar
}

Buffer Thunder() {
  Rng rng(0x7B0D);
  const double seconds = 3.8;
  Buffer out(Samples(seconds));
  // The crack: a broadband burst with a few sharp aftershocks of crackle.
  Biquad crackTone;
  crackTone.SetHighPass(200, 0.6);
  std::vector<double> snaps = {0.0};
  for (int k = 0; k < 7; ++k) snaps.push_back(0.03 + 0.32 * rng.Uniform());
  // The rumble: brown noise low-passed ever lower as the sound rolls away, its level heaving slowly.
  Biquad rumbleLow, rumbleLow2;
  double brown = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    double crack = 0;
    for (size_t k = 0; k < snaps.size(); ++k) {
      double since = t - snaps[k];
      if (since >= 0) crack += (k == 0 ? 1.0 : 0.5) * std::exp(-since / (k == 0 ? 0.12 : 0.03));
    }
    double crackSig = crackTone.Process(static_cast<float>(rng.Bipolar())) * crack;

    brown = 0.995 * brown + 0.06 * rng.Bipolar();
    if (i % 16 == 0) {
      double cutoff = 150 + 900 * std::exp(-t / 0.6);
      rumbleLow.SetLowPass(cutoff, 0.7);
      rumbleLow2.SetLowPass(cutoff * 1.4, 0.7);
    }
    double heave = 0.65 + 0.2 * std::sin(2 * kPi * 1.3 * t) + 0.15 * std::sin(2 * kPi * 2.9 * t + 1.1);
    double swell = std::min(1.0, t / 0.12) * std::exp(-std::max(0.0, t - 0.25) / 1.1);
    double rumble = rumbleLow2.Process(rumbleLow.Process(static_cast<float>(brown))) * heave * swell * 1.3;
    out[i] = static_cast<float>(1.5 * crackSig * std::min(1.0, t / 0.003) + rumble);
  }
  return Reverb(out, 0.2, 0.85, 0.6, 0.0);
}

Buffer Crow() {
  Rng rng(0xC803);
  // "Caw! caw! caw": a harsh, nasal, pressed voice around 600 Hz, each caw rising then dropping.
  std::vector<Syllable> caws;
  const double starts[] = {0.0, 0.42, 0.86};
  for (int k = 0; k < 3; ++k) {
    caws.push_back({.start = starts[k], .length = k == 2 ? 0.26 : 0.3, .pitchFrom = 640 - 25.0 * k,
                    .pitchTo = 500 - 25.0 * k, .vowel = 'y', .onset = 0.02, .level = 1.0 - 0.1 * k,
                    .breathiness = 0.45, .decay = 0.5});
  }
  VoiceSpec voice;
  voice.roughness = 0.8;
  voice.jitter = 0.05;
  voice.shimmer = 0.2;
  voice.openQuotient = 0.3;
  Buffer dry = SpeakSyllables(caws, voice, 1.3, rng);
  return Reverb(dry, 0.18, 0.75, 0.5, 0.4);
}

Buffer Owl() {
  Rng rng(0x0371);
  // "Hoo ... hoo-hoooo": soft, almost pure low tones with a breathy edge and a gentle swell.
  struct Hoot {
    double start, length, from, to;
  };
  const Hoot hoots[] = {{0.0, 0.45, 370, 385}, {0.85, 0.22, 392, 380}, {1.17, 0.75, 400, 345}};
  Buffer out(Samples(2.0));
  Biquad breathBand;
  breathBand.SetBandPass(760, 3);
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    double f = 380, amp = 0;
    for (const Hoot& h : hoots) {
      double x = (t - h.start) / h.length;
      if (x < 0 || x >= 1) continue;
      f = h.from + (h.to - h.from) * x;
      // Quick swell, held, soft release; the long last hoot wavers.
      amp = std::min(1.0, x / 0.15) * std::min(1.0, (1 - x) / 0.35);
      if (h.length > 0.5) amp *= 1 + 0.15 * std::sin(2 * kPi * 9 * (t - h.start));
    }
    phase += 2 * kPi * f / kSampleRate;
    double tone = std::sin(phase) + 0.08 * std::sin(2 * phase) + 0.03 * std::sin(3 * phase);
    double breath = breathBand.Process(static_cast<float>(rng.Bipolar())) * 0.35;
    out[i] = static_cast<float>(amp * (tone + breath));
  }
  return Reverb(out, 0.1, 0.7, 0.6, 0.4);  // a wood at night
}

Buffer Footsteps() {
  Rng rng(0xF007);
  // Bone on stone: the heel's hard clack, the lighter toe a moment later, and a tiny rattle.
  const std::vector<std::pair<double, double>> heelModes = {{900, 0.6}, {1850, 1.0}, {3100, 0.7}, {4700, 0.4}};
  const std::vector<std::pair<double, double>> toeModes = {{1300, 0.5}, {2400, 1.0}, {3900, 0.6}};
  const std::vector<std::pair<double, double>> rattleModes = {{2900, 1.0}, {5200, 0.6}};
  Buffer mix;
  MixInto(mix, Knock(heelModes, 0.03, 1.0, rng), 0.004);
  MixInto(mix, Knock(toeModes, 0.022, 0.6, rng), 0.085);
  for (int k = 0; k < 4; ++k) MixInto(mix, Knock(rattleModes, 0.008, 0.25 - 0.05 * k, rng), 0.12 + 0.025 * k);
  // A soft thump of weight under the clack.
  Buffer thump(Samples(0.12));
  for (size_t i = 0; i < thump.size(); ++i) {
    double t = double(i) / kSampleRate;
    thump[i] = static_cast<float>(std::sin(2 * kPi * 120 * t) * std::exp(-t / 0.025) * std::min(1.0, t / 0.002));
  }
  MixInto(mix, thump, 0.004, 0.5);
  return Reverb(mix, 0.15, 0.7, 0.4, 0.15);
}

}  // namespace assetgen::sfx
