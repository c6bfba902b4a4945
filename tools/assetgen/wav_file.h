// Minimal RIFF/WAVE writer: 16-bit PCM mono, the only format the mixer loads.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Encodes `samples` (nominally -1..1, clipped) as a complete .wav file image.
std::vector<uint8_t> EncodeWav16Mono(const std::vector<float>& samples, int sampleRate);

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace assetgen
