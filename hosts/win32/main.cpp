// duskhollow.scr: the screen saver's entry. The command line goes to the program's Main; the
// window of the chosen mode then runs until the clean-up ends the process. In password mode no
// window stays open and the process ends when Main returns.
#include "hosts/win32/win32.h"
#include "hosts/win32/win32_os.h"
#include "startup/program.h"
#include "startup/starter.h"

namespace {

// Libraries loaded later (by us or by the system on our behalf) come from the system folder, never
// from the folder the screen saver was started from or the current folder.
void SystemLibrariesOnly() {
  SetDllDirectoryA("");
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  if (auto set = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories"))))
    set(kSearchSystem32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  SystemLibrariesOnly();
  // Both live until the process ends inside the clean-up; nothing is torn down before that.
  auto& os = *new dusk::Win32Os;
  auto& program = *new dusk::Program(os);
  os.Attach(program);
  dusk::Main(program, commandLine ? commandLine : "");
  if (program.screenSaver || program.previewScreen || program.configuration) os.RunMessageLoop();
  return 0;
}
