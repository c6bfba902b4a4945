// The number reader on any text: a number or a run-time error, nothing else.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/numbers.h"
#include "platform/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  double v = 0;
  try {
    v = dusk::ReadNumber(text);  // a number beyond a double raises 6
  } catch (const dusk::RuntimeError& e) {
    if (e.number != dusk::kErrOverflow) __builtin_trap();
    return 0;
  }
  try {
    (void)dusk::RoundToInt16(v);
  } catch (const dusk::RuntimeError& e) {
    if (e.number != dusk::kErrOverflow) __builtin_trap();
  }
  try {
    const int32_t n = dusk::RoundToInt32(v);
    // The number text of a whole number reads back as it.
    if (dusk::ReadNumber(dusk::NumberText(n)) != n) __builtin_trap();
  } catch (const dusk::RuntimeError& e) {
    if (e.number != dusk::kErrOverflow) __builtin_trap();
  }
  const bool numeric = dusk::IsNumericText(text);
  try {
    (void)dusk::WholeNumberFromText(text);
  } catch (const dusk::RuntimeError& e) {
    if (e.number != dusk::kErrOverflow && e.number != dusk::kErrTypeMismatch) __builtin_trap();
  }
  (void)numeric;
  return 0;
}
