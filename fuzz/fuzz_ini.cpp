// Settings files: any bytes decode to text that encodes back to the same bytes, and a key written
// into any file reads back as written.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ini.h"

using namespace dusk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the key and the value among the file's own characters, so that
  // keys and values it already holds get written.
  const size_t keyAt = data[0] % size, valueAt = data[1] % size;
  const ini::DecodedFile file = ini::Decode(data + 2, size - 2);
  if (ini::Encode(file.text, file.encoding, file.rest) != std::vector<uint8_t>(data + 2, data + size)) __builtin_trap();

  std::string key;
  for (size_t i = keyAt; i < size && key.size() < 8; ++i)
    if (std::isalnum(data[i])) key += static_cast<char>(data[i]);
  if (key.empty()) key = "speed";
  std::string value;
  for (size_t i = valueAt; i < size && value.size() < 16; ++i)
    if (data[i] >= 0x21 && data[i] < 0x7F && data[i] != '"' && data[i] != '\'') value += static_cast<char>(data[i]);

  (void)ini::Get(file.text, "Duskhollow", key);
  const std::string once = ini::Put(file.text, "Duskhollow", key, value);
  if (ini::Get(once, "duskhollow", key) != value) __builtin_trap();
  if (ini::Put(once, "Duskhollow", key, value) != once) __builtin_trap();
  return 0;
}
