// The voiced effects: everything here is a glottal source shaped by vowel formants (dsp_voice),
// with pitch contours drawn to match how a listener recognises each sound.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "dsp_voice.h"
#include "sfx_effects.h"

namespace assetgen::sfx {

using namespace dsp;

namespace {

// Exponential glide from `from` to `to` Hz over [t0, t1], flat outside.
double Glide(double t, double t0, double t1, double from, double to) {
  double x = std::clamp((t - t0) / (t1 - t0), 0.0, 1.0);
  double smooth = x * x * (3 - 2 * x);
  return from * std::pow(to / from, smooth);
}

// A creaking hinge: stick-slip pulses, their rate following `rate` (Hz), each ringing the gate's
// iron and wood, whose resonances glide by `tone` (a factor on all of them) as the load on the hinge
// shifts. Friction is uneven: the rate wanders, pulses come early or late, now and then one sticks
// a little longer and the next slips the harder. The level follows `level`.
Buffer Creak(double seconds, const std::function<double(double)>& rate, const std::function<double(double)>& tone,
             const std::function<double(double)>& level, Rng& rng) {
  Buffer out(Samples(seconds));
  const double modes[][3] = {{520, 14, 1.0}, {1180, 18, 0.8}, {1930, 22, 0.55}, {3050, 25, 0.3}};
  std::vector<Biquad> ring(4);
  Biquad soften;
  soften.SetLowPass(3800, 0.7);
  OnePoleLowPass pulse(1800);  // each slip is a brief push, not a single-sample spike
  OnePoleLowPass wander(4);    // slow unevenness of the friction
  double phase = 0, held = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    if (i % 16 == 0) {
      for (int m = 0; m < 4; ++m) ring[m].SetBandPass(modes[m][0] * tone(t), modes[m][1]);
    }
    double drift = 1 + 0.8 * wander.Process(static_cast<float>(rng.Bipolar()));
    phase += rate(t) * drift * (1 + 0.3 * rng.Gauss()) / kSampleRate;
    double kick = 0;
    if (phase >= 1) {
      phase -= 1;
      if (rng.Uniform() < 0.1) {
        held += 1;  // it sticks: no slip this time, a harder one next
      } else {
        kick = (1 + 0.35 * rng.Gauss()) * (1 + 0.6 * held);
        held = 0;
      }
    }
    float x = pulse.Process(static_cast<float>(kick * level(t) * 4 + 0.01 * level(t) * rng.Bipolar()));
    double v = 0;
    for (int m = 0; m < 4; ++m) v += modes[m][2] * ring[m].Process(x);
    out[i] = soften.Process(static_cast<float>(v * 6));
  }
  return out;
}

}  // namespace

Buffer Greetings() {
  Rng rng(0x6EE7);
  // The cemetery gate swings open with a long, rising-then-sinking creak, and somebody behind it
  // chuckles a low, warm "heh-heh-heh... welcome".
  // The creak speeds up and climbs as the gate gets going, then slows and sinks as it swings to.
  Buffer creak = Creak(
      1.5, [](double t) { return Glide(t, 0.0, 0.55, 30, 150) * Glide(t, 0.65, 1.4, 1.0, 0.35); },
      [](double t) { return Glide(t, 0.0, 0.6, 0.75, 1.35) * Glide(t, 0.7, 1.45, 1.0, 0.6); },
      [](double t) { return Curve({{0, 0}, {0.06, 0.8}, {0.4, 1.0}, {1.1, 0.7}, {1.5, 0}})(t); }, rng);
  std::vector<Syllable> laugh;
  for (int k = 0; k < 4; ++k) {
    double base = 118 - 6.0 * k;
    laugh.push_back({.start = 0.22 * k, .length = 0.15, .pitchFrom = base, .pitchTo = base * 0.9, .vowel = 'A',
                     .onset = 0.04, .level = 1.0 - 0.08 * k, .breathiness = 0.2, .decay = 1.4});
  }
  laugh.push_back({.start = 0.95, .length = 0.5, .pitchFrom = 104, .pitchTo = 82, .vowel = 'o', .onset = 0.03,
                   .level = 0.85, .breathiness = 0.2, .decay = 0.9});
  VoiceSpec voice;
  voice.roughness = 0.2;
  voice.jitter = 0.012;
  voice.openQuotient = 0.62;
  Buffer chuckle = SpeakSyllables(laugh, voice, 0.9, rng);

  Buffer mix;
  MixInto(mix, creak, 0.0, 0.37);
  MixInto(mix, chuckle, 1.35, 1.0);
  return Reverb(mix, 0.22, 0.78, 0.45, 0.45);
}

Buffer Werewolf() {
  Rng rng(0xF011);
  // A wolf's howl is nearly a pure tone: it swoops up from a low start, holds high with a slow waver,
  // and slides down as the breath runs out. Built from a few harmonics whose brightness follows the
  // mouth opening, with a little breath and a growl at the very start.
  const double seconds = 3.2;
  auto pitch = [](double t) {
    double rise = Glide(t, 0.05, 0.75, 230, 520);
    double waver = Glide(t, 0.75, 1.9, 1.0, 1.06) * Glide(t, 1.9, 2.3, 1.0, 0.97);
    double fall = Glide(t, 2.3, 3.1, 1.0, 0.55);
    return rise * waver * fall;
  };
  const Curve level({{0, 0}, {0.1, 0.45}, {0.5, 0.95}, {2.2, 1.0}, {2.8, 0.55}, {3.15, 0}});
  const Curve open({{0, 0.2}, {0.8, 1.0}, {2.2, 0.9}, {3.1, 0.2}});  // mouth: closed "oo" to open "ow"
  Buffer out(Samples(seconds));
  Biquad breathBand;
  OnePoleLowPass growlSmooth(30);
  double phase = 0, vib = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    vib += 2 * kPi * 5.0 / kSampleRate;
    double depth = 0.006 + 0.01 * std::min(1.0, std::max(0.0, t - 0.9) / 0.5);
    double f = pitch(t) * (1 + depth * std::sin(vib));
    phase += 2 * kPi * f / kSampleRate;
    double o = open(t);
    double tone = std::sin(phase) + 0.35 * o * std::sin(2 * phase + 0.3) + 0.15 * o * o * std::sin(3 * phase + 0.9) +
                  0.05 * o * o * std::sin(4 * phase);
    // A rough growl under the first few tenths, where the howl is pushed out.
    double growl = 1 + 0.5 * std::max(0.0, 1 - t / 0.4) * growlSmooth.Process(static_cast<float>(rng.Bipolar() * 8));
    if (i % 16 == 0) breathBand.SetBandPass(f * 2, 2.5);
    double breath = breathBand.Process(static_cast<float>(rng.Bipolar())) * 0.12;
    out[i] = static_cast<float>(level(t) * (tone * growl + breath));
  }
  // Moonlit valley: a long reverb and one late echo off the hills.
  Buffer wet = Reverb(out, 0.28, 0.86, 0.5, 0.4);
  Buffer echo = out;
  for (float& x : echo) x *= 0.16f;
  MixInto(wet, echo, 0.33);
  return wet;
}

Buffer LaughDeep() {
  Rng rng(0x1A06);
  // "Mwa-ha-ha-ha-ha-ha-haaa": a long first syllable, six quick ones sinking in pitch, a last one
  // that trails away.
  std::vector<Syllable> s;
  s.push_back({.start = 0.0, .length = 0.32, .pitchFrom = 128, .pitchTo = 162, .vowel = 'a', .onset = 0.0,
               .level = 1.0, .breathiness = 0.1, .decay = 0.8});
  for (int k = 0; k < 6; ++k) {
    double base = 158 - 9.0 * k;
    s.push_back({.start = 0.45 + 0.175 * k, .length = 0.12, .pitchFrom = base, .pitchTo = base * 0.85,
                 .vowel = 'a', .onset = 0.035, .level = 1.0 - 0.04 * k, .breathiness = 0.15, .decay = 1.8});
  }
  s.push_back({.start = 1.5, .length = 0.55, .pitchFrom = 112, .pitchTo = 78, .vowel = 'a', .onset = 0.04,
               .level = 0.9, .breathiness = 0.25, .decay = 1.2});
  VoiceSpec voice;
  voice.roughness = 0.3;
  voice.jitter = 0.015;
  voice.openQuotient = 0.5;
  Buffer dry = SpeakSyllables(s, voice, 0.93, rng);
  return Reverb(dry, 0.09, 0.72, 0.5, 0.5);
}

Buffer Cackle() {
  Rng rng(0xCAC1);
  // A shrill "hee-hee-hee-hee-heh-heh-heh": fast, high, scratchy, each syllable falling a little,
  // the whole run tumbling down from a shriek.
  std::vector<Syllable> s;
  s.push_back({.start = 0.0, .length = 0.28, .pitchFrom = 470, .pitchTo = 560, .vowel = 'i', .onset = 0.03,
               .level = 1.0, .breathiness = 0.2, .decay = 0.5});
  for (int k = 0; k < 9; ++k) {
    double base = 540 * std::pow(0.955, k);
    s.push_back({.start = 0.36 + 0.115 * k, .length = 0.08, .pitchFrom = base, .pitchTo = base * 0.88,
                 .vowel = k < 5 ? 'i' : 'e', .onset = 0.022, .level = 1.0 - 0.03 * k, .breathiness = 0.25,
                 .decay = 1.3});
  }
  s.push_back({.start = 1.42, .length = 0.42, .pitchFrom = 380, .pitchTo = 300, .vowel = 'e', .onset = 0.03,
               .level = 0.8, .breathiness = 0.3, .decay = 1.0});
  VoiceSpec voice;
  voice.roughness = 0.45;
  voice.jitter = 0.025;
  voice.shimmer = 0.1;
  voice.openQuotient = 0.45;
  voice.vibratoHz = 7;
  voice.vibratoSemitones = 0.4;
  Buffer dry = SpeakSyllables(s, voice, 1.22, rng);
  return Reverb(dry, 0.14, 0.75, 0.4, 0.45);
}

Buffer ScreamHigh() {
  Rng rng(0x5C12);
  // A woman's scream: a swoop up past a kilohertz, a sag as the breath is spent, a second, higher
  // surge, then the voice breaks and falls away; a wide vibrato that deepens as the scream is held,
  // and a rough, breathy edge.
  VoiceSpec scream;
  scream.seconds = 1.9;
  scream.pitch = [](double t) {
    static const Curve contour({{0, 560}, {0.22, 1120}, {0.32, 1160}, {0.75, 950}, {1.1, 1240}, {1.35, 1150},
                                {1.85, 620}});
    double depth = Curve({{0, 0.2}, {0.3, 0.6}, {0.9, 1.3}, {1.3, 1.0}, {1.9, 0.4}})(t);  // semitones
    return contour(t) * std::pow(2.0, depth * std::sin(2 * kPi * 5.8 * t) / 12);
  };
  scream.voicing = Curve({{0, 0}, {0.04, 1.0}, {1.4, 0.95}, {1.9, 0}});
  scream.breath = Curve({{0, 0.6}, {0.1, 0.4}, {1.3, 0.45}, {1.9, 0.55}});
  scream.formants = [](double t) { return Blend(Vowel('a', 1.3), Vowel('e', 1.35), (t - 0.8) / 1.0); };
  scream.vibratoSemitones = 0;  // drawn into the pitch above, with its depth changing
  scream.roughness = 0.4;
  scream.jitter = 0.02;
  scream.shimmer = 0.1;
  scream.openQuotient = 0.38;
  Buffer dry = SynthVoice(scream, rng);
  return Reverb(dry, 0.25, 0.82, 0.35, 0.7);
}

Buffer ScreamFalling() {
  Rng rng(0x5C11);
  // A man's hoarse "AAAAH-aah": up quickly, a strained hold, then a long fall as if down a shaft.
  VoiceSpec scream;
  scream.seconds = 2.5;
  scream.pitch = [](double t) { return Glide(t, 0.0, 0.2, 330, 560) * Glide(t, 0.7, 2.4, 1.0, 0.5); };
  scream.voicing = Curve({{0, 0}, {0.05, 1.0}, {0.9, 1.0}, {2.0, 0.6}, {2.5, 0}});
  scream.breath = Curve({{0, 0.5}, {0.15, 0.3}, {2.0, 0.45}, {2.5, 0.3}});
  scream.formants = [](double t) { return Blend(Vowel('a', 1.12), Vowel('A', 1.05), (t - 0.8) / 1.4); };
  scream.vibratoHz = 5.5;
  scream.vibratoSemitones = 0.5;
  scream.roughness = 0.6;
  scream.jitter = 0.03;
  scream.shimmer = 0.12;
  scream.openQuotient = 0.42;
  Buffer dry = SynthVoice(scream, rng);
  return Reverb(dry, 0.3, 0.84, 0.4, 0.8);
}

Buffer Ghost() {
  Rng rng(0x6057);
  // "Whoooo-OOOoo": air, not a voice. Breath through two narrow, hollow resonances that glide up and
  // down together like wind across a bottle's mouth, a faint whistle riding on the lower one, all in
  // a large cold room.
  const double seconds = 3.0;
  const Curve contour({{0, 330}, {0.7, 470}, {1.2, 560}, {1.8, 430}, {2.3, 500}, {3.0, 300}});
  const Curve level({{0, 0}, {0.45, 0.8}, {1.2, 1.0}, {2.3, 0.8}, {3.0, 0}});
  Buffer out(Samples(seconds));
  Biquad low, low2, high;
  OnePoleLowPass gust(3);
  double phase = 0, vib = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    vib += 2 * kPi * 4.2 / kSampleRate;
    double f = contour(t) * (1 + 0.012 * std::sin(vib));
    if (i % 8 == 0) {
      low.SetBandPass(f, 22);
      low2.SetBandPass(f, 22);
      high.SetBandPass(f * 2.6, 9);
    }
    float n = static_cast<float>(rng.Bipolar());
    double air = low2.Process(low.Process(n)) * 9 + high.Process(n) * 0.5;
    phase += 2 * kPi * f / kSampleRate;
    double whistle = 0.1 * std::sin(phase);
    double flutter = 1 + 0.35 * gust.Process(static_cast<float>(rng.Bipolar() * 6));
    out[i] = static_cast<float>(level(t) * flutter * (air + whistle));
  }
  return Reverb(out, 0.45, 0.87, 0.55, 0.7);
}

}  // namespace assetgen::sfx
