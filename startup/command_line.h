// What a command line asks for: the run mode and the window handles that follow the switches.
#pragma once

#include <cstdint>
#include <string>

namespace dusk {

// "/p" anywhere asks for the preview, otherwise "/c" for the settings dialog, otherwise "/a"
// for the password change; anything else runs the saver. Letters of either case.
int16_t RunModeOf(const std::string& commandLine);

// The preview's parent window: the longest tail of the command line that reads as a number; 0
// when there is none. A number that does not fit in 32 bits after rounding raises 6.
int32_t PreviewParentOf(const std::string& commandLine);

// The password dialog's parent window: everything after the switch and the one character that
// follows it ("/a 1234", "/a:1234"), a whole number with blanks around it allowed; anything else
// raises 13, a number beyond 32 bits 6.
int32_t PasswordParentOf(const std::string& commandLine);

}  // namespace dusk
