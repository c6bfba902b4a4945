#include "startup/command_line.h"

#include <cstdlib>

#include "platform/numbers.h"
#include "platform/system.h"
#include "platform/text.h"

namespace dusk {

int16_t RunModeOf(const std::string& commandLine) {
  const std::string raw = Lower(commandLine);
  if (raw.find("/p") != std::string::npos) return kModePreview;
  if (raw.find("/c") != std::string::npos) return kModeConfigure;
  if (raw.find("/a") != std::string::npos) return kModePassword;
  return kModeSaver;
}

int32_t PreviewParentOf(const std::string& commandLine) {
  for (size_t n = commandLine.size(); n >= 1; --n) {
    const std::string tail = commandLine.substr(commandLine.size() - n);
    if (IsNumericText(tail)) return RoundToInt32(std::strtod(tail.c_str(), nullptr));
  }
  return 0;
}

int32_t PasswordParentOf(const std::string& commandLine) {
  return WholeNumberFromText(commandLine.size() > 3 ? commandLine.substr(3) : "");
}

}  // namespace dusk
