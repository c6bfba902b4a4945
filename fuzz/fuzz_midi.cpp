// The song length reader on any bytes: a length or "malformed", never a read outside them.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hosts/kit/midi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const double seconds = dusk::kit::MidiFileSeconds(bytes);
  if (std::isnan(seconds)) __builtin_trap();
  return 0;
}
