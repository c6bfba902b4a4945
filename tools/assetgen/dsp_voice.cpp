#include "dsp_voice.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace assetgen::dsp {

Formants Vowel(char v, double scale) {
  Formants f{};
  switch (v) {
    case 'a': f = {{730, 1090, 2440, 3400}, {90, 110, 160, 250}}; break;
    case 'e': f = {{530, 1840, 2480, 3400}, {70, 120, 170, 250}}; break;
    case 'i': f = {{280, 2250, 3000, 3600}, {60, 120, 200, 250}}; break;
    case 'o': f = {{570, 840, 2410, 3400}, {80, 90, 160, 250}}; break;
    case 'u': f = {{310, 870, 2240, 3400}, {60, 90, 150, 250}}; break;
    case 'A': f = {{640, 1190, 2390, 3400}, {90, 110, 160, 250}}; break;
    case 'y': f = {{650, 1350, 2200, 3300}, {200, 220, 250, 300}}; break;
    default: f = Vowel('A'); break;
  }
  for (double& x : f.freq) x *= scale;
  return f;
}

Formants Blend(const Formants& a, const Formants& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  Formants f{};
  for (int i = 0; i < 4; ++i) {
    // Formants move on a log scale the way the ear hears them.
    f.freq[i] = std::exp(std::log(a.freq[i]) * (1 - t) + std::log(b.freq[i]) * t);
    f.bandwidth[i] = a.bandwidth[i] * (1 - t) + b.bandwidth[i] * t;
  }
  return f;
}

namespace {

// Rosenberg glottal flow over one period, phase in [0, 1): a smooth opening, a faster closing, then
// a closed phase. The radiated sound is its derivative, taken by the caller.
double GlottalFlow(double phase, double openQuotient) {
  double open = openQuotient * 0.66, close = openQuotient;
  if (phase < open) return 0.5 * (1 - std::cos(kPi * phase / open));
  if (phase < close) return std::cos(0.5 * kPi * (phase - open) / (close - open));
  return 0.0;
}

}  // namespace

Buffer SynthVoice(const VoiceSpec& spec, Rng& rng) {
  const int n = Samples(spec.seconds);
  const double dt = 1.0 / kSampleRate;
  Buffer out(n);
  // F1-F4 follow the vowel; F5 and F6 stand in for the higher poles of a real tract, which keep the
  // voice from sounding muffled above 4 kHz.
  Resonator tract[6];
  Biquad breathShape;
  breathShape.SetHighPass(400, 0.7);

  double phase = 0, prevFlow = 0, prevOut = 0;
  double periodPitch = 1, periodAmp = 1;  // per-period random factors (jitter, shimmer)
  int periodIndex = 0;
  double vibPhase = 0;
  for (int i = 0; i < n; ++i) {
    double t = i * dt;
    if (i % 8 == 0) {
      Formants f = spec.formants(t);
      for (int k = 0; k < 4; ++k) tract[k].Set(f.freq[k], f.bandwidth[k]);
      double size = f.freq[3] / 3400;
      tract[4].Set(4300 * size, 300);
      tract[5].Set(5400 * size, 450);
    }
    vibPhase += 2 * kPi * spec.vibratoHz * dt;
    double semis = spec.vibratoSemitones * std::sin(vibPhase);
    double f0 = spec.pitch(t) * std::pow(2.0, semis / 12) * periodPitch;
    phase += f0 * dt;
    if (phase >= 1) {
      phase -= 1;
      ++periodIndex;
      bool odd = periodIndex & 1;
      periodPitch = 1 + spec.jitter * rng.Gauss() + (odd ? spec.roughness * 0.04 : 0);
      periodAmp = std::max(0.0, 1 + spec.shimmer * rng.Gauss()) * (odd ? 1 - 0.6 * spec.roughness : 1);
    }
    double flow = GlottalFlow(phase, spec.openQuotient);
    // The derivative of the flow scales with f0; normalise so loudness does not follow pitch.
    double pulse = (flow - prevFlow) * kSampleRate / std::max(f0, 40.0) * 0.05;
    prevFlow = flow;

    // Breath is louder while the glottis is open, as in real voices.
    double noise = breathShape.Process(static_cast<float>(rng.Bipolar()));
    double open = phase < spec.openQuotient ? 1.0 : 0.5;
    double source = spec.voicing(t) * periodAmp * pulse + spec.breath(t) * noise * 0.35 * open;

    double y = source;
    for (auto& r : tract) y = r.Process(y);
    // A touch of extra radiation tilt (+6 dB per octave, partly) brightens the top end.
    out[i] = static_cast<float>(y - 0.6 * prevOut);
    prevOut = y;
  }
  return out;
}

Buffer SpeakSyllables(const std::vector<Syllable>& syllables, VoiceSpec voice, double formantScale, Rng& rng) {
  auto syl = std::make_shared<const std::vector<Syllable>>(syllables);
  // The syllable sounding at t, or the last one started before it.
  auto at = [syl](double t) -> const Syllable& {
    const Syllable* current = &syl->front();
    for (const Syllable& s : *syl) {
      if (s.start <= t) current = &s;
    }
    return *current;
  };
  voice.seconds = 0;
  for (const Syllable& s : syllables) voice.seconds = std::max(voice.seconds, s.start + s.length + 0.08);
  voice.pitch = [at](double t) {
    const Syllable& s = at(t);
    double x = std::clamp((t - s.start - s.onset) / std::max(s.length - s.onset, 1e-3), 0.0, 1.0);
    return s.pitchFrom + (s.pitchTo - s.pitchFrom) * x;
  };
  voice.voicing = [at](double t) {
    const Syllable& s = at(t);
    double since = t - s.start - s.onset, voiced = s.length - s.onset;
    if (since < 0 || since >= voiced) return 0.0;
    return s.level * std::min(1.0, since / 0.012) * std::pow(1 - since / voiced, s.decay);
  };
  voice.breath = [at](double t) {
    const Syllable& s = at(t);
    double since = t - s.start;
    if (since < 0 || since >= s.length) return 0.0;
    if (since < s.onset) return 0.7 * s.level * std::min(1.0, since / 0.006);
    return s.breathiness * s.level * std::pow(1 - (since - s.onset) / (s.length - s.onset), s.decay);
  };
  voice.formants = [at, formantScale](double t) { return Vowel(at(t).vowel, formantScale); };
  return SynthVoice(voice, rng);
}

}  // namespace assetgen::dsp
