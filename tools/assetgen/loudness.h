// Loudness as listeners hear it: integrated loudness by ITU-R BS.1770 / EBU R128 (K-weighted,
// gated), and the two losses that decide whether a sound carries on small or single speakers.
#pragma once
#include <vector>

namespace assetgen::loudness {

using Channel = std::vector<float>;

// Integrated loudness in LUFS of one or more equally long channels at `rate` (front channels, each
// weighted 1). A sound shorter than one 400 ms block is measured as one block. Silence: -200.
double IntegratedLufs(const std::vector<Channel>& channels, int rate);

// How many dB quieter a mono sound gets through a high-pass at `cutoffHz` (fourth-order
// Butterworth), as a laptop's or a monitor's small speakers play it.
double HighPassLossDb(const Channel& mono, int rate, double cutoffHz = 200);

// How many dB quieter a stereo sound gets when folded to mono ((L + R) / 2 on both sides), as one
// speaker or a phone plays it. Negative when the fold is louder (never for sensible material).
double MonoFoldLossDb(const Channel& left, const Channel& right, int rate);

}  // namespace assetgen::loudness
