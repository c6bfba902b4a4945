// Small signal-processing kit for the sound effects: noise, filters, envelopes, reverb, mastering.
// Everything works on mono float buffers at kSampleRate; randomness comes from a seeded Rng so the
// generated files are identical on every run.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace assetgen::dsp {

inline constexpr int kSampleRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

using Buffer = std::vector<float>;

inline int Samples(double seconds) { return static_cast<int>(seconds * kSampleRate + 0.5); }

// xorshift64* generator: fast, deterministic, good enough for audio noise.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint64_t Next();
  double Uniform();                    // [0, 1)
  double Bipolar() { return 2.0 * Uniform() - 1.0; }  // [-1, 1)
  double Gauss();                      // mean 0, deviation 1
 private:
  uint64_t state_;
};

// Piecewise-linear curve through (time, value) points; constant before the first and after the last.
class Curve {
 public:
  Curve(std::initializer_list<std::pair<double, double>> points) : points_(points) {}
  explicit Curve(double constant) : points_{{0.0, constant}} {}
  double operator()(double t) const;
 private:
  std::vector<std::pair<double, double>> points_;
};

// RBJ biquad; Set* may be called every sample for sweeping filters.
class Biquad {
 public:
  void SetLowPass(double freq, double q);
  void SetHighPass(double freq, double q);
  void SetBandPass(double freq, double q);  // 0 dB peak gain
  float Process(float x);
 private:
  void Set(double b0, double b1, double b2, double a0, double a1, double a2);
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Two-pole resonator with unity gain at DC (Klatt style): a cascade of these shapes vowel formants.
class Resonator {
 public:
  void Set(double freq, double bandwidth);
  double Process(double x);
 private:
  double a_ = 1, b_ = 0, c_ = 0, y1_ = 0, y2_ = 0;
};

class OnePoleLowPass {
 public:
  explicit OnePoleLowPass(double freq = 1000) { Set(freq); }
  void Set(double freq);
  float Process(float x) { y_ += k_ * (x - y_); return y_; }
 private:
  float k_ = 1, y_ = 0;
};

// Adds `src` scaled by `gain` into `dst` starting at `offset` seconds, growing `dst` if needed.
void MixInto(Buffer& dst, const Buffer& src, double offset, double gain = 1.0);

// Schroeder/Moorer style room: parallel damped combs into series allpasses. Returns a longer buffer
// holding dry * (1 - mix) + wet * mix plus the tail.
Buffer Reverb(const Buffer& dry, double mix, double roomSize, double damping, double tailSeconds);

// Short raised-cosine fades at both ends so the file starts and stops at zero.
void Fade(Buffer& b, double inSeconds, double outSeconds);

double PeakDb(const Buffer& b);

// Scales to `targetLufs` integrated loudness (loudness::IntegratedLufs, as listeners hear it), then
// a look-ahead limiter keeps every sample below `ceilingDb`.
void Master(Buffer& b, double targetLufs, double ceilingDb);

}  // namespace assetgen::dsp
