// A stand-in for the Windows 95 family's "password.cpl": VerifyScreenSavePwd answers the n-th
// call with the n-th character of DUSK_TEST_PASSWORD_ANSWERS ('1' verified, anything else not;
// the last character answers every later call; "1" without the variable) and appends one line
// per call to the file DUSK_TEST_PASSWORD_LOG names: "call N window W answer A".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
int calls = 0;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
  ++calls;
  const char* answers = std::getenv("DUSK_TEST_PASSWORD_ANSWERS");
  if (!answers || !*answers) answers = "1";
  const size_t n = std::strlen(answers);
  const char answer = answers[static_cast<size_t>(calls - 1) < n ? calls - 1 : n - 1];
  const BOOL verified = answer == '1';
  if (const char* log = std::getenv("DUSK_TEST_PASSWORD_LOG")) {
    if (FILE* f = std::fopen(log, "a")) {
      std::fprintf(f, "call %d window %s answer %d\n", calls, IsWindow(window) ? "ok" : "none", verified ? 1 : 0);
      std::fclose(f);
    }
  }
  return verified;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
