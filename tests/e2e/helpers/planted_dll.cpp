// A library that must never be loaded: planted as "mpr.dll" and "password.cpl" beside the screen
// saver and in the current folder. Loaded, it appends a line to the file DUSK_TEST_PLANT_MARK names.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {
void Mark(const char* what) {
  if (const char* path = std::getenv("DUSK_TEST_PLANT_MARK")) {
    if (FILE* f = std::fopen(path, "a")) {
      std::fprintf(f, "%s\n", what);
      std::fclose(f);
    }
  }
}
}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR, HWND, DWORD, LPVOID) {
  Mark("PwdChangePasswordA");
  return 0;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
  Mark("VerifyScreenSavePwd");
  return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Mark("loaded");
  return TRUE;
}
