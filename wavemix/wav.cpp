#include "wavemix/wav.h"

#include <cstring>

#include "wavemix/bytes.h"

namespace wavemix::detail {
namespace {

bool IdIs(const uint8_t* p, const char (&id)[5]) { return std::memcmp(p, id, 4) == 0; }

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

// Reads one source frame as a stereo pair of 16-bit values.
void SourceFrame(const PcmView& pcm, size_t frame, int32_t& left, int32_t& right) {
  const size_t bytes_per_sample = pcm.bits / 8;
  const uint8_t* p = pcm.data + frame * pcm.channels * bytes_per_sample;
  auto sample = [&](const uint8_t* s) -> int32_t {
    if (pcm.bits == 8) return (static_cast<int32_t>(s[0]) - 128) * 256;
    return static_cast<int16_t>(ReadLe16(s));
  };
  left = sample(p);
  right = pcm.channels == 2 ? sample(p + bytes_per_sample) : left;
}

}  // namespace

std::optional<PcmView> ParseWav(const void* bytes, size_t size) {
  const auto* const file = static_cast<const uint8_t*>(bytes);
  if (file == nullptr || size < 12 || !IdIs(file, "RIFF") || !IdIs(file + 8, "WAVE")) {
    return std::nullopt;
  }
  // The RIFF size must fit in the image (a shorter file is truncated); bytes after it are
  // not part of the wave and are ignored.
  const uint64_t riff_end = uint64_t{ReadLe32(file + 4)} + 8;
  if (riff_end > size || riff_end < 12) return std::nullopt;
  const size_t end = static_cast<size_t>(riff_end);

  const uint8_t* fmt = nullptr;
  uint32_t fmt_size = 0;
  const uint8_t* data = nullptr;
  uint32_t data_size = 0;
  size_t pos = 12;
  while (pos + 8 <= end) {
    const uint8_t* chunk = file + pos;
    const uint32_t chunk_size = ReadLe32(chunk + 4);
    if (chunk_size > end - pos - 8) return std::nullopt;  // runs past the RIFF body
    if (IdIs(chunk, "fmt ")) {
      if (fmt != nullptr) return std::nullopt;
      fmt = chunk + 8;
      fmt_size = chunk_size;
    } else if (IdIs(chunk, "data")) {
      if (data != nullptr) return std::nullopt;
      data = chunk + 8;
      data_size = chunk_size;
    }
    // Chunks are word aligned; a missing pad byte after the last chunk is tolerated.
    pos += 8 + size_t{chunk_size} + (chunk_size & 1u);
  }
  if (fmt == nullptr || data == nullptr || fmt_size < 16) return std::nullopt;

  uint16_t tag = ReadLe16(fmt);
  const uint16_t channels = ReadLe16(fmt + 2);
  const uint32_t rate = ReadLe32(fmt + 4);
  const uint16_t block_align = ReadLe16(fmt + 12);
  const uint16_t bits = ReadLe16(fmt + 14);
  if (tag == kFormatExtensible) {
    // WAVEFORMATEXTENSIBLE: cbSize >= 22, then valid bits, channel mask, sub-format GUID
    // whose first two bytes carry the format tag.
    if (fmt_size < 40 || ReadLe16(fmt + 16) < 22) return std::nullopt;
    if (ReadLe16(fmt + 18) != bits) return std::nullopt;  // padded containers are not supported
    tag = ReadLe16(fmt + 24);
  }
  if (tag != kFormatPcm) return std::nullopt;
  if (channels != 1 && channels != 2) return std::nullopt;
  if (bits != 8 && bits != 16) return std::nullopt;
  if (block_align != channels * (bits / 8)) return std::nullopt;
  if (rate < kMinSampleRate || rate > kMaxSampleRate) return std::nullopt;

  PcmView view;
  view.channels = channels;
  view.bits = bits;
  view.sample_rate = rate;
  view.data = data;
  view.frames = data_size / block_align;  // a partial last frame is dropped
  return view;
}

std::optional<std::vector<int16_t>> ConvertToDevice(const PcmView& pcm, uint32_t device_rate) {
  if (device_rate < kMinSampleRate || device_rate > kMaxSampleRate || pcm.sample_rate == 0) {
    return std::nullopt;
  }
  const uint64_t src_rate = pcm.sample_rate;
  const uint64_t dst_rate = device_rate;
  const uint64_t n_in = pcm.frames;
  // Keep the duration: ceil(n_in * dst / src) output frames.
  const uint64_t n_out = (n_in * dst_rate + src_rate - 1) / src_rate;
  if (n_out > kMaxDeviceFrames) return std::nullopt;

  std::vector<int16_t> out(static_cast<size_t>(n_out) * 2);
  if (src_rate == dst_rate) {
    for (size_t f = 0; f < n_in; ++f) {
      int32_t l, r;
      SourceFrame(pcm, f, l, r);
      out[2 * f] = static_cast<int16_t>(l);
      out[2 * f + 1] = static_cast<int16_t>(r);
    }
    return out;
  }
  // Output frame i sits at source position i * src / dst: interpolate between the two
  // neighbouring source frames in exact integer arithmetic (the last frame is held).
  for (uint64_t i = 0; i < n_out; ++i) {
    const uint64_t pos = i * src_rate;
    const size_t a = static_cast<size_t>(pos / dst_rate);
    const int64_t frac = static_cast<int64_t>(pos % dst_rate);
    const size_t b = a + 1 < n_in ? a + 1 : a;
    int32_t la, ra, lb, rb;
    SourceFrame(pcm, a, la, ra);
    SourceFrame(pcm, b, lb, rb);
    const int64_t d = static_cast<int64_t>(dst_rate);
    out[2 * i] = static_cast<int16_t>(la + (int64_t{lb - la} * frac) / d);
    out[2 * i + 1] = static_cast<int16_t>(ra + (int64_t{rb - ra} * frac) / d);
  }
  return out;
}

}  // namespace wavemix::detail
