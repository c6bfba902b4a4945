// The bitmap reader on any bytes: a picture or nothing, never a read outside them.
#include <cstddef>
#include <cstdint>

#include "platform/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (auto b = dusk::DecodeBmp(data, size)) {
    // Every pixel the reader promises is there.
    volatile uint32_t sum = 0;
    if (b->pixels.size() != static_cast<size_t>(b->width) * static_cast<size_t>(b->height)) __builtin_trap();
    for (uint32_t px : b->pixels) sum = sum + px;
  }
  return 0;
}
