// Prints what GetVersion32 answers in this process: "95", "NT" or "Unknown".
#include <cstdio>

#include "hosts/win32/win32_os.h"
#include "platform/system.h"
#include "startup/program.h"

int main() {
  dusk::Win32Os os;
  dusk::Program p(os);
  std::printf("%s\n", dusk::GetVersion32(p).c_str());
  return 0;
}
