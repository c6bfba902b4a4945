// duskhollow.scr: the screen saver's entry. The command line goes to the program's Main; the
// window of the chosen mode then runs until the clean-up ends the process. In password mode no
// window stays open and the process ends when Main returns.
#include "hosts/win32/win32.h"
#include "hosts/win32/win32_os.h"
#include "startup/program.h"
#include "startup/starter.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // Both live until the process ends inside the clean-up; nothing is torn down before that.
  auto& os = *new dusk::Win32Os;
  auto& program = *new dusk::Program(os);
  os.Attach(program);
  dusk::Main(program, commandLine ? commandLine : "");
  if (program.screenSaver || program.previewScreen || program.configuration) os.RunMessageLoop();
  return 0;
}
