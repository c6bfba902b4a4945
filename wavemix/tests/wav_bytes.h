// Builds WAV images in memory for the tests and the capture probe.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace wavemix::testing {

inline void PutLE(std::vector<uint8_t>& v, uint32_t x, int bytes) {
  for (int i = 0; i < bytes; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

inline void PutChunk(std::vector<uint8_t>& v, const char* id, const std::vector<uint8_t>& body) {
  v.insert(v.end(), id, id + 4);
  PutLE(v, static_cast<uint32_t>(body.size()), 4);
  v.insert(v.end(), body.begin(), body.end());
  if (body.size() & 1) v.push_back(0);
}

inline std::vector<uint8_t> FmtBody(uint16_t channels, uint16_t bits, uint32_t rate,
                                    uint16_t tag = 1) {
  std::vector<uint8_t> f;
  const uint32_t align = channels * bits / 8u;
  const std::pair<uint32_t, int> fields[] = {{tag, 2},          {channels, 2}, {rate, 4},
                                             {rate * align, 4}, {align, 2},    {bits, 2}};
  for (const auto& [value, bytes] : fields) PutLE(f, value, bytes);
  return f;
}

// Wraps serialised chunks into RIFF/WAVE.
inline std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks) {
  std::vector<uint8_t> v{'R', 'I', 'F', 'F'};
  PutLE(v, static_cast<uint32_t>(chunks.size() + 4), 4);
  v.insert(v.end(), {'W', 'A', 'V', 'E'});
  v.insert(v.end(), chunks.begin(), chunks.end());
  return v;
}

inline std::vector<uint8_t> MakeWav(uint16_t channels, uint16_t bits, uint32_t rate,
                                    const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunks;
  PutChunk(chunks, "fmt ", FmtBody(channels, bits, rate));
  PutChunk(chunks, "data", data);
  return Riff(chunks);
}

inline std::vector<uint8_t> Pcm16Bytes(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> d;
  for (int16_t s : samples) PutLE(d, static_cast<uint16_t>(s), 2);
  return d;
}

inline std::vector<uint8_t> MakeWav16(uint16_t channels, uint32_t rate,
                                      const std::vector<int16_t>& samples) {
  return MakeWav(channels, 16, rate, Pcm16Bytes(samples));
}

}  // namespace wavemix::testing
