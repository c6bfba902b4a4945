// Source-filter voice synthesis: a glottal pulse train (with jitter, shimmer and breath noise) driven
// through a cascade of formant resonators. Laughs, screams, howls and moans are all built on it.
#pragma once
#include <functional>

#include "dsp_core.h"

namespace assetgen::dsp {

struct Formants {
  double freq[4];
  double bandwidth[4];
};

// Adult male vowels: 'a' (father), 'e' (bed), 'i' (see), 'o' (law), 'u' (boot), 'A' (cup), 'y' (nasal
// "aw" of a crow). `scale` stretches every formant: about 1.15 for a woman, 1.3 for a shriek.
Formants Vowel(char v, double scale = 1.0);
Formants Blend(const Formants& a, const Formants& b, double t);  // t=0: a, t=1: b

struct VoiceSpec {
  double seconds = 1.0;
  std::function<double(double)> pitch;             // fundamental in Hz at time t
  std::function<double(double)> voicing;           // glottal pulse amplitude, 0..1
  std::function<double(double)> breath;            // aspiration noise amplitude, 0..1
  std::function<Formants(double)> formants;        // vocal tract shape at time t
  double jitter = 0.01;         // random period-to-period pitch deviation (fraction)
  double shimmer = 0.06;        // random period-to-period amplitude deviation (fraction)
  double openQuotient = 0.6;    // fraction of each period the glottis is open (smaller = brighter)
  double vibratoHz = 5.5;
  double vibratoSemitones = 0;  // peak deviation
  double roughness = 0;         // 0..1: alternate-period amplitude and pitch (vocal fry, growl)
};

Buffer SynthVoice(const VoiceSpec& spec, Rng& rng);

// One "ha" of a laugh, one caw of a crow: an aspirated onset, then a voiced vowel that dies away.
struct Syllable {
  double start = 0, length = 0.15;        // seconds; the onset is part of the length
  double pitchFrom = 120, pitchTo = 100;  // Hz across the voiced part
  char vowel = 'a';
  double onset = 0.035;                   // breath before the voice starts (the "h")
  double level = 1.0;
  double breathiness = 0.15;              // breath kept under the voiced part
  double decay = 0.6;                     // envelope (1-x)^decay over the voiced part: 0 holds
};

// Speaks `syllables` as one utterance: fills the pitch, voicing, breath and formant curves of
// `voice` (its other settings are kept) and synthesises it.
Buffer SpeakSyllables(const std::vector<Syllable>& syllables, VoiceSpec voice, double formantScale, Rng& rng);

}  // namespace assetgen::dsp
