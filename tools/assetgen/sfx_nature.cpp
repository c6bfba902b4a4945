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

}  // namespace

Buffer BloodDrip() {
  Rng rng(0xD819);
  // One drop for the one drop on screen, in a small stone cellar.
  Buffer mix;
  MixInto(mix, Drop(820, 1.0, rng), 0.01);
  return Reverb(mix, 0.25, 0.7, 0.4, 0.2);
}

Buffer Thunder() {
  Rng rng(0x7B0D);
  // The flash comes a few ticks after the sound is started, so the storm holds its breath first:
  // half a second of a far, faint murmur, then the crack and a long rumble that rolls away in waves.
  // The crack tears the air near by (bright, 1-5 kHz); the rumble growls in the low middle
  // (150-400 Hz), where any speaker plays it, over a sub-bass roll that only big ones add.
  const double strike = 0.5, seconds = 3.9;
  Buffer out(Samples(seconds));
  // The crack: one hard snap and a burst of smaller ones tearing after it, ever more spread out.
  struct Snap {
    double at, level, decay;
  };
  std::vector<Snap> snaps = {{0.0, 1.0, 0.05}};
  for (int k = 0; k < 26; ++k) {
    double at = 0.008 + 0.45 * std::pow(rng.Uniform(), 1.5);
    snaps.push_back({at, 0.6 * (1 - at / 0.6) * (0.4 + 0.6 * rng.Uniform()), 0.006 + 0.025 * rng.Uniform()});
  }
  // Each roll is a swell of the whole rumble; later rolls are farther: lower, softer, slower.
  struct Roll {
    double at, level, rise, fall;
  };
  const Roll rolls[] = {{0.02, 1.0, 0.05, 0.55}, {0.55, 0.8, 0.18, 0.6}, {1.25, 0.65, 0.25, 0.7},
                        {2.05, 0.45, 0.3, 0.8},  {2.75, 0.3, 0.3, 0.7}};
  Biquad crackLow, crackHigh, subA, subB, subFloor, growlLow, growlHigh, growlBody;
  crackLow.SetHighPass(1000, 0.7);
  subFloor.SetHighPass(35, 0.7);  // below that is felt, not heard, and only eats headroom
  crackHigh.SetLowPass(5000, 0.7);
  OnePoleLowPass flicker(9);  // the rumble's rolling flutter, a few beats a second
  double brown = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate, since = t - strike;
    brown = 0.996 * brown + 0.05 * rng.Bipolar();
    double level = 0.03, bright = 0;  // the murmur before the strike
    if (since >= 0) {
      for (const Roll& r : rolls) {
        double x = since - r.at;
        if (x <= 0) continue;
        double env = r.level * std::min(1.0, x / r.rise) * std::exp(-std::max(0.0, x - r.rise) / r.fall);
        level += env;
        bright += env * std::exp(-x / 0.4);  // each roll opens up, then dulls as it spreads
      }
    }
    if (i % 16 == 0) {
      double b = std::min(1.0, bright);
      subA.SetLowPass(110 + 60 * b, 0.7);
      subB.SetLowPass(140 + 80 * b, 0.7);
      growlLow.SetHighPass(140, 0.7);
      growlHigh.SetLowPass(300 + 350 * b, 0.8);
      growlBody.SetBandPass(180 + 120 * b, 1.2);
    }
    float sub = subFloor.Process(subB.Process(subA.Process(static_cast<float>(brown))));
    // The growl: mid noise, rolling, driven into a soft clip so it rasps with overtones.
    double roll = 1 + 0.6 * flicker.Process(static_cast<float>(rng.Bipolar() * 4));
    float mid = growlHigh.Process(growlLow.Process(static_cast<float>(rng.Bipolar())));
    double growl = std::tanh(2.5 * (mid + 0.6 * growlBody.Process(mid)) * roll) / 2.5;
    double rumble = (3.2 * sub + 2.4 * growl) * level;
    double crack = 0;
    for (const Snap& k : snaps) {
      double x = since - k.at;
      if (x >= 0) crack += k.level * std::exp(-x / k.decay) * std::min(1.0, x / 0.0015);
    }
    double crackSig = crack > 0 ? crackHigh.Process(crackLow.Process(static_cast<float>(rng.Bipolar()))) * crack : 0;
    out[i] = static_cast<float>(2.0 * crackSig + rumble);
  }
  // Let the last of it die away inside the file rather than being cut.
  const size_t tail = Samples(0.9);
  for (size_t i = 0; i < tail; ++i) out[out.size() - 1 - i] *= static_cast<float>(double(i) / tail);
  return Reverb(out, 0.2, 0.85, 0.6, 0.0);
}

Buffer Crow() {
  Rng rng(0xC803);
  // One harsh, nasal "caw" for one opening of the beak: pressed voice around 600 Hz, rising then
  // dropping.
  std::vector<Syllable> caw = {{.start = 0.0, .length = 0.38, .pitchFrom = 640, .pitchTo = 500, .vowel = 'y',
                                .onset = 0.02, .level = 1.0, .breathiness = 0.45, .decay = 0.5}};
  VoiceSpec voice;
  voice.roughness = 0.8;
  voice.jitter = 0.05;
  voice.shimmer = 0.2;
  voice.openQuotient = 0.3;
  Buffer dry = SpeakSyllables(caw, voice, 1.3, rng);
  return Reverb(dry, 0.15, 0.7, 0.5, 0.15);
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
  // A step on earth: the soft thud of the heel, the roll onto the toe, and under both the crunch of
  // soil, grit and dry leaves - many small, sharp grains, which is what small speakers carry.
  Buffer mix(Samples(0.42));
  Biquad gritLow, gritHigh, leaf;
  gritLow.SetHighPass(1000, 0.7);
  gritHigh.SetLowPass(4000, 0.7);
  leaf.SetBandPass(2600, 1.2);
  struct Touch {
    double at, thudHz, level, grind;  // grind: how long the grains go on crackling
  };
  const Touch touches[] = {{0.01, 90, 1.0, 0.05}, {0.12, 115, 0.6, 0.08}};
  for (size_t i = 0; i < mix.size(); ++i) {
    double t = double(i) / kSampleRate;
    double thud = 0, knock = 0, crunch = 0;
    for (const Touch& h : touches) {
      double x = t - h.at;
      if (x < 0) continue;
      double attack = std::min(1.0, x / 0.005);
      thud += h.level * std::sin(2 * kPi * h.thudHz * x * (1 - 0.25 * std::min(1.0, x / 0.08))) * attack *
              std::exp(-x / 0.03);
      // The packed ground's own short knock, above the thud.
      knock += h.level * std::sin(2 * kPi * 2.6 * h.thudHz * x) * attack * std::exp(-x / 0.015);
      crunch += h.level * std::min(1.0, x / 0.008) * std::exp(-x / h.grind);
    }
    // Crackle: sparse grains of every size over a low hiss, pressed out as the weight comes down.
    double grain = rng.Uniform() < 0.08 ? rng.Bipolar() * (0.3 + rng.Uniform()) : 0.12 * rng.Bipolar();
    float n = static_cast<float>(grain * crunch);
    double grit = gritHigh.Process(gritLow.Process(n)) + 0.4 * leaf.Process(n);
    mix[i] = static_cast<float>(0.5 * thud + 0.35 * knock + 0.9 * grit);
  }
  return Reverb(mix, 0.08, 0.6, 0.7, 0.05);
}

}  // namespace assetgen::sfx
