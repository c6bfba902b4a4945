#include "loudness.h"

#include <algorithm>
#include <cmath>

namespace assetgen::loudness {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double Process(double x) {
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
  }
};

// The K-weighting's two stages (a high shelf for the head, a high-pass for the low end), derived
// for any sample rate from their analogue prototypes; at 48 kHz they are the standard's tables.
std::vector<Biquad> KWeighting(int rate) {
  std::vector<Biquad> stages;
  {
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(kPi * f0 / rate), vh = std::pow(10.0, gainDb / 20);
    const double vb = std::pow(vh, 0.4996667741545416), a0 = 1 + k / q + k * k;
    stages.push_back({(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                      2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0});
  }
  {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(kPi * f0 / rate), a0 = 1 + k / q + k * k;
    stages.push_back({1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0});
  }
  return stages;
}

// RBJ high-pass section.
Biquad HighPass(double freq, double q, int rate) {
  const double w = 2 * kPi * freq / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w), a0 = 1 + alpha;
  return {(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
}

Channel Filtered(const Channel& in, std::vector<Biquad> stages) {
  Channel out(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    double x = in[i];
    for (Biquad& s : stages) x = s.Process(x);
    out[i] = static_cast<float>(x);
  }
  return out;
}

double ToLufs(double meanSquare) { return -0.691 + 10 * std::log10(std::max(meanSquare, 1e-30)); }

}  // namespace

double IntegratedLufs(const std::vector<Channel>& channels, int rate) {
  if (channels.empty() || channels[0].empty()) return -200;
  const size_t n = channels[0].size();
  std::vector<Channel> weighted;
  for (const Channel& c : channels) weighted.push_back(Filtered(c, KWeighting(rate)));
  // 400 ms blocks every 100 ms; each block's power is the sum of its channels' mean squares.
  const size_t block = std::min(n, static_cast<size_t>(rate * 0.4)), hop = std::max<size_t>(1, rate / 10);
  std::vector<double> powers;
  for (size_t start = 0; start + block <= n; start += hop) {
    double power = 0;
    for (const Channel& c : weighted) {
      double sum = 0;
      for (size_t i = start; i < start + block; ++i) sum += double(c[i]) * c[i];
      power += sum / block;
    }
    powers.push_back(power);
  }
  // Absolute gate at -70 LUFS, then a relative one 10 LU under what passed it.
  auto gatedMean = [&](double threshold) {
    double sum = 0;
    size_t count = 0;
    for (double p : powers)
      if (ToLufs(p) > threshold) sum += p, ++count;
    return count ? sum / count : 0.0;
  };
  const double ungated = gatedMean(-70);
  if (ungated <= 0) return -200;
  return ToLufs(gatedMean(ToLufs(ungated) - 10));
}

double HighPassLossDb(const Channel& mono, int rate, double cutoffHz) {
  const Channel passed = Filtered(mono, {HighPass(cutoffHz, 0.5411961, rate), HighPass(cutoffHz, 1.3065630, rate)});
  return IntegratedLufs({mono}, rate) - IntegratedLufs({passed}, rate);
}

double MonoFoldLossDb(const Channel& left, const Channel& right, int rate) {
  Channel mono(std::min(left.size(), right.size()));
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5f * (left[i] + right[i]);
  return IntegratedLufs({left, right}, rate) - IntegratedLufs({mono, mono}, rate);
}

}  // namespace assetgen::loudness
