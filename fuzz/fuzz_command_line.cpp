// The command line's switches and window numbers on any text: a run mode and numbers, or the
// run-time error the program reports.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/runtime.h"
#include "platform/system.h"
#include "platform/text.h"
#include "startup/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const int16_t mode = dusk::RunModeOf(line);
  if (mode != dusk::kModeSaver && mode != dusk::kModePreview && mode != dusk::kModeConfigure &&
      mode != dusk::kModePassword)
    __builtin_trap();
  try {
    (void)dusk::PreviewParentOf(dusk::Lower(dusk::Trim(line)));
  } catch (const dusk::RuntimeError& e) {
    if (e.number != dusk::kErrOverflow) __builtin_trap();
  }
  try {
    (void)dusk::PasswordParentOf(line);
  } catch (const dusk::RuntimeError& e) {
    if (e.number != dusk::kErrOverflow && e.number != dusk::kErrTypeMismatch) __builtin_trap();
  }
  return 0;
}
