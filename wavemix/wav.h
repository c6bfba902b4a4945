// WAV reading and conversion to the device format. Internal to wavemix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace wavemix::detail {

// A validated PCM data block inside a WAV image (points into the caller's bytes).
struct PcmView {
  uint16_t channels = 0;       // 1 or 2
  uint16_t bits = 0;           // 8 (unsigned) or 16 (signed little-endian)
  uint32_t sample_rate = 0;
  const uint8_t* data = nullptr;
  size_t frames = 0;
};

// Limits that keep a hostile header from asking for absurd work or memory.
inline constexpr uint32_t kMinSampleRate = 1000;
inline constexpr uint32_t kMaxSampleRate = 192000;
inline constexpr size_t kMaxDeviceFrames = size_t{1} << 24;  // ~12 minutes at 22050 Hz

// Parses a RIFF/WAVE image. Accepts format tag 1 (PCM) and WAVE_FORMAT_EXTENSIBLE with the
// PCM sub-format; 8 or 16 bits; 1 or 2 channels. Chunks may come in any order; unknown
// chunks are skipped. Anything malformed, unsupported or truncated gives nullopt.
std::optional<PcmView> ParseWav(const void* bytes, size_t size);

// Converts to interleaved 16-bit stereo at `device_rate` (mono is copied to both sides,
// 8-bit is centred and scaled, the rate is changed by linear interpolation; an equal rate
// copies exactly). Gives nullopt when the result would exceed kMaxDeviceFrames.
std::optional<std::vector<int16_t>> ConvertToDevice(const PcmView& pcm, uint32_t device_rate);

}  // namespace wavemix::detail
