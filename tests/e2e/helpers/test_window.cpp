// dusk_test_window TITLE WIDTH HEIGHT DIR: a top-level window with the given title and client
// size, standing in for the control panel's preview monitor or its "Display Properties" window.
// It writes its handle to DIR\hwnd, and every 100 ms describes its first child window in
// DIR\child ("class C rect L T R B client W H visible V ticks N", or "none"). A file DIR\destroy
// makes it destroy its window (and with it any child, of whatever process); DIR\quit ends it.
//
// dusk_test_window --texts TITLE FILE: writes the texts of the top-level window titled TITLE and
// of its child windows (a message box's message and buttons), one a line; exit code 1 if there
// is no such window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string dir;
HWND window = nullptr;
bool destroyed = false;

bool Exists(const char* name) { return GetFileAttributesA((dir + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteAtomically(const char* name, const std::string& text) {
  const std::string path = dir + "\\" + name, temp = path + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "w")) {
    std::fputs(text.c_str(), f);
    std::fclose(f);
    MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

void Describe() {
  HWND child = destroyed ? nullptr : GetWindow(window, GW_CHILD);
  if (!child) {
    WriteAtomically("child", destroyed ? "destroyed\n" : "none\n");
    return;
  }
  char cls[128] = {};
  GetClassNameA(child, cls, sizeof cls);
  RECT r, c;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
  GetClientRect(child, &c);
  const auto ticks = reinterpret_cast<uintptr_t>(GetPropA(child, "DuskhollowTicks"));
  char line[512];
  std::snprintf(line, sizeof line, "class %s rect %ld %ld %ld %ld client %ld %ld visible %d ticks %lu\n", cls,
                r.left, r.top, r.right, r.bottom, c.right, c.bottom, IsWindowVisible(child) ? 1 : 0,
                static_cast<unsigned long>(ticks));
  WriteAtomically("child", line);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    if (!destroyed && Exists("destroy")) {
      destroyed = true;
      DestroyWindow(window);
    }
    Describe();
    if (Exists("quit")) PostQuitMessage(0);
    return 0;
  }
  if (msg == WM_DESTROY) return 0;  // destroying the window does not end this program
  return DefWindowProcA(hwnd, msg, wp, lp);
}

BOOL CALLBACK CollectText(HWND hwnd, LPARAM lp) {
  char text[4096] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (*text) *reinterpret_cast<std::string*>(lp) += std::string(text) + "\n";
  return TRUE;
}

int WriteTexts(const char* title, const char* file) {
  HWND w = FindWindowA(nullptr, title);
  if (!w) return 1;
  std::string texts = std::string(title) + "\n";
  EnumChildWindows(w, CollectText, reinterpret_cast<LPARAM>(&texts));
  FILE* f = std::fopen(file, "wb");
  if (!f) return 2;
  std::fputs(texts.c_str(), f);
  std::fclose(f);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc == 4 && std::string(__argv[1]) == "--texts") return WriteTexts(__argv[2], __argv[3]);
  if (__argc < 5) return 2;
  const char* title = __argv[1];
  const int w = std::atoi(__argv[2]), h = std::atoi(__argv[3]);
  dir = __argv[4];
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = "DuskTestWindow";
  RegisterClassA(&wc);
  RECT rc{0, 0, w, h};
  AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, FALSE);
  window = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                           rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  // A separate message-only timer window keeps polling after the main window is gone.
  HWND poller = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  SetWindowLongPtrA(poller, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  SetTimer(poller, 1, 100, nullptr);
  WriteAtomically("hwnd", std::to_string(reinterpret_cast<uintptr_t>(window)) + "\n");
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
