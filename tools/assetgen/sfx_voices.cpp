// The voiced effects: everything here is a glottal source shaped by vowel formants (dsp_voice),
// with pitch contours drawn to match how a listener recognises each sound.
#include <algorithm>
#include <cmath>
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

// Wind: white noise through a band-pass that drifts slowly, swelling and dying like gusts.
Buffer Wind(double seconds, Rng& rng) {
  Buffer out(Samples(seconds));
  Biquad band, band2;
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate;
    double gust = 0.6 + 0.4 * std::sin(2 * kPi * 0.37 * t + 1.0) * std::sin(2 * kPi * 0.23 * t + 0.3);
    if (i % 16 == 0) {
      band.SetBandPass(500 + 350 * gust + 120 * std::sin(2 * kPi * 1.7 * t), 6);
      band2.SetBandPass(1100 + 500 * gust, 9);
    }
    float n = static_cast<float>(rng.Bipolar());
    out[i] = static_cast<float>((band.Process(n) + 0.5 * band2.Process(n)) * gust * gust);
  }
  return out;
}

// A struck bell: inharmonic partials, each decaying at its own rate.
Buffer Bell(double freq, double seconds) {
  static constexpr double kRatio[] = {0.5, 1.0, 1.19, 1.56, 2.0, 2.51, 3.01};
  static constexpr double kLevel[] = {0.35, 1.0, 0.55, 0.4, 0.3, 0.15, 0.1};
  static constexpr double kDecay[] = {2.5, 1.8, 1.4, 1.0, 0.8, 0.5, 0.35};
  Buffer out(Samples(seconds));
  for (size_t i = 0; i < out.size(); ++i) {
    double t = double(i) / kSampleRate, v = 0;
    for (int p = 0; p < 7; ++p) v += kLevel[p] * std::exp(-t / kDecay[p]) * std::sin(2 * kPi * freq * kRatio[p] * t);
    out[i] = static_cast<float>(v * std::min(1.0, t / 0.002));
  }
  return out;
}

}  // namespace

Buffer Greetings() {
  Rng rng(0x6EE7);
  // A low, hollow "wooo-aaah" that sinks at the end, as if something under the hill said hello.
  VoiceSpec moan;
  moan.seconds = 2.9;
  moan.pitch = [](double t) { return Glide(t, 0.0, 0.9, 82, 104) * Glide(t, 1.4, 2.7, 1.0, 0.72); };
  moan.voicing = Curve({{0, 0}, {0.35, 0.9}, {1.8, 1.0}, {2.5, 0.6}, {2.9, 0}});
  moan.breath = Curve({{0, 0.5}, {0.4, 0.3}, {2.9, 0.25}});
  moan.formants = [](double t) {
    if (t < 1.0) return Blend(Vowel('u', 0.92), Vowel('o', 0.92), t / 1.0);
    return Blend(Vowel('o', 0.92), Vowel('a', 0.92), (t - 1.0) / 0.9);
  };
  moan.vibratoHz = 4.5;
  moan.vibratoSemitones = 0.35;
  moan.roughness = 0.15;
  moan.openQuotient = 0.7;
  Buffer voice = SynthVoice(moan, rng);

  Buffer mix = Wind(3.6, rng);
  for (float& x : mix) x *= 0.10f;
  MixInto(mix, Bell(196, 3.4), 0.0, 0.05);
  MixInto(mix, voice, 0.45, 0.5);
  return Reverb(mix, 0.35, 0.84, 0.4, 0.2);
}

Buffer Werewolf() {
  Rng rng(0xF011);
  // Rises slowly from a growl into the howl, wavers at the top, then falls off and fades.
  VoiceSpec howl;
  howl.seconds = 3.1;
  howl.pitch = [](double t) {
    double rise = Glide(t, 0.0, 0.9, 210, 500);
    double drift = Glide(t, 0.9, 2.2, 1.0, 1.06);
    double fall = Glide(t, 2.3, 3.0, 1.0, 0.58);
    return rise * drift * fall;
  };
  howl.voicing = Curve({{0, 0}, {0.12, 0.7}, {0.6, 1.0}, {2.3, 0.95}, {2.8, 0.4}, {3.1, 0}});
  howl.breath = Curve({{0, 0.5}, {0.3, 0.15}, {2.6, 0.12}, {3.1, 0.3}});
  howl.formants = [](double t) {
    // "hoooo-wuuu": closed, opening to an O at the top, closing again as it falls
    if (t < 1.2) return Blend(Vowel('u', 1.1), Vowel('o', 1.1), t / 1.2);
    return Blend(Vowel('o', 1.1), Vowel('u', 1.1), (t - 2.0) / 0.9);
  };
  howl.vibratoHz = 5.2;
  howl.vibratoSemitones = 0.3;
  howl.openQuotient = 0.85;  // a soft, nearly pure tone
  howl.jitter = 0.006;
  Buffer dry = SynthVoice(howl, rng);
  // Moonlit valley: a long reverb and one late echo off the hills.
  Buffer wet = Reverb(dry, 0.3, 0.86, 0.5, 0.5);
  Buffer echo = dry;
  for (float& x : echo) x *= 0.18f;
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
  // A woman's scream: a leap up to ~1 kHz, held with a wide fast vibrato and a rough edge, breaking
  // downward at the end.
  VoiceSpec scream;
  scream.seconds = 1.9;
  scream.pitch = [](double t) { return Glide(t, 0.0, 0.16, 640, 1020) * Glide(t, 0.2, 1.3, 1.0, 1.08) * Glide(t, 1.45, 1.9, 1.0, 0.78); };
  scream.voicing = Curve({{0, 0}, {0.04, 1.0}, {1.4, 0.95}, {1.9, 0}});
  scream.breath = Curve({{0, 0.6}, {0.1, 0.35}, {1.9, 0.4}});
  scream.formants = [](double t) { return Blend(Vowel('a', 1.3), Vowel('e', 1.35), (t - 0.8) / 1.0); };
  scream.vibratoHz = 6.5;
  scream.vibratoSemitones = 0.7;
  scream.roughness = 0.35;
  scream.jitter = 0.02;
  scream.shimmer = 0.1;
  scream.openQuotient = 0.4;
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
  // "Wooo-oooOOO-ooo": a breathy, hollow voice sliding slowly up and down, doubled a little out of
  // tune with itself, in a large cold room.
  auto make = [&](double detune, double delay) {
    VoiceSpec wail;
    wail.seconds = 3.0;
    wail.pitch = [detune](double t) {
      static const Curve contour({{0, 300}, {0.7, 430}, {1.2, 520}, {1.8, 410}, {2.3, 470}, {3.0, 280}});
      return contour(t) * detune;
    };
    wail.voicing = Curve({{0, 0}, {0.4, 0.6}, {1.2, 0.8}, {2.2, 0.6}, {3.0, 0}});
    wail.breath = Curve({{0, 0.4}, {0.5, 0.55}, {2.5, 0.5}, {3.0, 0}});
    wail.formants = [](double t) {
      double open = 0.5 + 0.5 * std::sin(2 * kPi * (t / 3.0) - kPi / 2);  // u -> o -> u
      return Blend(Vowel('u', 1.05), Vowel('o', 1.05), open);
    };
    wail.vibratoHz = 4.8;
    wail.vibratoSemitones = 0.45;
    wail.openQuotient = 0.9;
    Buffer b = SynthVoice(wail, rng);
    Buffer shifted;
    MixInto(shifted, b, delay);
    return shifted;
  };
  Buffer mix = make(1.0, 0.0);
  MixInto(mix, make(1.012, 0.05), 0.0, 0.6);
  return Reverb(mix, 0.45, 0.86, 0.55, 0.7);
}

}  // namespace assetgen::sfx
