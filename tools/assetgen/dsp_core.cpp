#include "dsp_core.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "loudness.h"

namespace assetgen::dsp {

uint64_t Rng::Next() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return state_ * 0x2545F4914F6CDD1Dull;
}

double Rng::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

double Rng::Gauss() {
  // Box-Muller; one value per call keeps the sequence simple to reason about.
  double u1 = std::max(Uniform(), 1e-12), u2 = Uniform();
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
}

double Curve::operator()(double t) const {
  if (t <= points_.front().first) return points_.front().second;
  for (size_t i = 1; i < points_.size(); ++i) {
    const auto& [t1, v1] = points_[i];
    if (t < t1) {
      const auto& [t0, v0] = points_[i - 1];
      return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
    }
  }
  return points_.back().second;
}

void Biquad::Set(double b0, double b1, double b2, double a0, double a1, double a2) {
  b0_ = b0 / a0;
  b1_ = b1 / a0;
  b2_ = b2 / a0;
  a1_ = a1 / a0;
  a2_ = a2 / a0;
}

void Biquad::SetLowPass(double freq, double q) {
  double w = 2 * kPi * std::clamp(freq, 10.0, kSampleRate * 0.45) / kSampleRate;
  double alpha = std::sin(w) / (2 * q), c = std::cos(w);
  Set((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::SetHighPass(double freq, double q) {
  double w = 2 * kPi * std::clamp(freq, 10.0, kSampleRate * 0.45) / kSampleRate;
  double alpha = std::sin(w) / (2 * q), c = std::cos(w);
  Set((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Biquad::SetBandPass(double freq, double q) {
  double w = 2 * kPi * std::clamp(freq, 10.0, kSampleRate * 0.45) / kSampleRate;
  double alpha = std::sin(w) / (2 * q), c = std::cos(w);
  Set(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

float Biquad::Process(float x) {
  double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

void Resonator::Set(double freq, double bandwidth) {
  double t = 1.0 / kSampleRate;
  c_ = -std::exp(-2 * kPi * bandwidth * t);
  b_ = 2 * std::exp(-kPi * bandwidth * t) * std::cos(2 * kPi * std::min(freq, kSampleRate * 0.47) * t);
  a_ = 1 - b_ - c_;
}

double Resonator::Process(double x) {
  double y = a_ * x + b_ * y1_ + c_ * y2_;
  y2_ = y1_;
  y1_ = y;
  return y;
}

void OnePoleLowPass::Set(double freq) {
  k_ = static_cast<float>(1 - std::exp(-2 * kPi * freq / kSampleRate));
}

void MixInto(Buffer& dst, const Buffer& src, double offset, double gain) {
  size_t start = static_cast<size_t>(std::max(0, Samples(offset)));
  if (dst.size() < start + src.size()) dst.resize(start + src.size(), 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[start + i] += static_cast<float>(src[i] * gain);
}

namespace {

class Comb {
 public:
  Comb(int length, double feedback, double damping) : line_(length, 0.0f), fb_(feedback), damp_(damping) {}
  float Process(float x) {
    float out = line_[pos_];
    store_ = static_cast<float>(out * (1 - damp_) + store_ * damp_);
    line_[pos_] = static_cast<float>(x + store_ * fb_);
    pos_ = (pos_ + 1) % line_.size();
    return out;
  }
 private:
  std::vector<float> line_;
  size_t pos_ = 0;
  double fb_, damp_;
  float store_ = 0;
};

class Allpass {
 public:
  explicit Allpass(int length) : line_(length, 0.0f) {}
  float Process(float x) {
    float buffered = line_[pos_];
    line_[pos_] = x + buffered * 0.5f;
    pos_ = (pos_ + 1) % line_.size();
    return buffered - x;
  }
 private:
  std::vector<float> line_;
  size_t pos_ = 0;
};

}  // namespace

Buffer Reverb(const Buffer& dry, double mix, double roomSize, double damping, double tailSeconds) {
  static constexpr int kCombs[] = {558, 594, 638, 678, 711, 745, 778, 808};
  static constexpr int kAllpasses[] = {278, 220, 170, 112};
  std::vector<Comb> combs;
  for (int len : kCombs) combs.emplace_back(len, roomSize, damping);
  std::vector<Allpass> allpasses;
  for (int len : kAllpasses) allpasses.emplace_back(len);

  Buffer out(dry.size() + Samples(tailSeconds), 0.0f);
  for (size_t i = 0; i < out.size(); ++i) {
    float x = i < dry.size() ? dry[i] : 0.0f;
    float wet = 0;
    for (auto& c : combs) wet += c.Process(x * 0.125f);
    for (auto& a : allpasses) wet = a.Process(wet);
    out[i] = static_cast<float>(x * (1 - mix) + wet * mix);
  }
  return out;
}

void Fade(Buffer& b, double inSeconds, double outSeconds) {
  size_t nIn = std::min(b.size(), static_cast<size_t>(Samples(inSeconds)));
  size_t nOut = std::min(b.size(), static_cast<size_t>(Samples(outSeconds)));
  for (size_t i = 0; i < nIn; ++i) b[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / nIn));
  for (size_t i = 0; i < nOut; ++i) {
    b[b.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / nOut));
  }
}

double PeakDb(const Buffer& b) {
  float peak = 0;
  for (float x : b) peak = std::max(peak, std::fabs(x));
  return 20 * std::log10(std::max(double(peak), 1e-10));
}

namespace {

// Look-ahead limiter: the gain each sample needs, spread by a running minimum over +-2 ms and then
// smoothed by a moving average half that wide, so no sample ever ends up above the ceiling.
void Limit(Buffer& b, double ceilingDb) {
  const float ceiling = static_cast<float>(std::pow(10.0, ceilingDb / 20));
  const int radius = Samples(0.002);
  const size_t n = b.size();
  std::vector<float> need(n), spread(n);
  for (size_t i = 0; i < n; ++i) need[i] = std::fabs(b[i]) > ceiling ? ceiling / std::fabs(b[i]) : 1.0f;
  std::deque<size_t> window;  // indices of increasing `need`: a sliding-window minimum
  size_t next = 0;
  for (size_t i = 0; i < n; ++i) {
    size_t hi = std::min(n - 1, i + radius);
    for (; next <= hi; ++next) {
      while (!window.empty() && need[window.back()] >= need[next]) window.pop_back();
      window.push_back(next);
    }
    while (window.front() + radius < i) window.pop_front();
    spread[i] = need[window.front()];
  }
  const int half = radius / 2;
  double acc = 0;
  int count = 0;
  for (int i = -half; i < static_cast<int>(n) + half; ++i) {
    int enter = i + half, leave = i - half - 1;
    if (enter >= 0 && enter < static_cast<int>(n)) acc += spread[enter], ++count;
    if (leave >= 0 && leave < static_cast<int>(n)) acc -= spread[leave], --count;
    if (i >= 0 && i < static_cast<int>(n)) b[i] *= static_cast<float>(acc / count);
  }
  // Rounding in the average can leave a hair over; clamp the last fraction of a dB.
  for (float& x : b) x = std::clamp(x, -ceiling, ceiling);
}

}  // namespace

void Master(Buffer& b, double targetLufs, double ceilingDb) {
  if (b.empty()) return;
  // Limiting a very percussive sound takes some loudness with it; a few rounds of make-up gain
  // settle it on the target.
  for (int round = 0; round < 4; ++round) {
    double miss = targetLufs - loudness::IntegratedLufs({b}, kSampleRate);
    if (round > 0 && std::fabs(miss) < 0.05) break;
    float gain = static_cast<float>(std::pow(10.0, miss / 20));
    for (float& x : b) x *= gain;
    Limit(b, ceilingDb);
  }
}

}  // namespace assetgen::dsp
