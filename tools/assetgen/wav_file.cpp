#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/bytes.h"

namespace assetgen {

namespace {

void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeWav16Mono(const std::vector<float>& samples, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  dusk::AppendLe32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  dusk::AppendLe32(out, 16);
  dusk::AppendLe16(out, 1);  // PCM
  dusk::AppendLe16(out, 1);  // mono
  dusk::AppendLe32(out, static_cast<uint32_t>(sampleRate));
  dusk::AppendLe32(out, static_cast<uint32_t>(sampleRate) * 2);  // byte rate
  dusk::AppendLe16(out, 2);                                       // block align
  dusk::AppendLe16(out, 16);                                      // bits per sample
  PutTag(out, "data");
  dusk::AppendLe32(out, dataBytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    dusk::AppendLe16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::fprintf(stderr, "assetgen: short write on %s\n", path.c_str());
  return ok;
}

}  // namespace assetgen
