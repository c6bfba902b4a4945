// The wave reader and the converter to the device format on any bytes.
#include <cstddef>
#include <cstdint>

#include "wavemix/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace wavemix::detail;
  if (size < 1) return 0;
  // The first byte picks the device rate, the rest is the file.
  static const uint32_t kRates[] = {11025, 22050, 44100, 8000};
  const uint32_t rate = kRates[data[0] % 4];
  auto pcm = ParseWav(data + 1, size - 1);
  if (!pcm) return 0;
  if (pcm->data < data + 1 || pcm->data + pcm->frames * pcm->channels * (pcm->bits / 8) > data + size) __builtin_trap();
  if (auto out = ConvertToDevice(*pcm, rate)) {
    volatile int16_t s = 0;
    for (int16_t v : *out) s = static_cast<int16_t>(s ^ v);
  }
  return 0;
}
