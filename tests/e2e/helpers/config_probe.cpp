// dusk_config_probe TITLE FILE: describes the top-level window titled TITLE and its controls, for
// the settings dialog's end-to-end tests. The first lines are
//   window L T R B          the window on the screen
//   client X Y W H          the client area: its top left corner on the screen, its size
//   dpi N                   the screen's dots per inch
// then one line per direct child, in the order the keyboard visits them (front to back), fields
// separated by tabs:
//   id class visible tabstop state left top width height text
// with the place in pixels from the client area's corner; state is the tick of a check box, the
// position of a scroll bar, the selected page of a tab control, else -1; line breaks in a text
// become "|". Last, for a tab control, "tab I L T W H": the place of each tab, like the controls'.
// Exit code 1 if there is no such window.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

struct Probe {
  HWND window;
  std::string out;
  HWND tabs = nullptr;
};

// "tab I L T W H" for each tab of a tab control, in the window's client coordinates. The control
// writes each rectangle into its own process, where this borrows a little memory for it.
std::string TabPlaces(HWND tabs, HWND window) {
  std::string out;
  DWORD pid = 0;
  GetWindowThreadProcessId(tabs, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return out;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; remote && i < count; ++i) {
    RECT r{};
    SIZE_T got = 0;
    if (!SendMessageA(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote)) ||
        !ReadProcessMemory(process, remote, &r, sizeof r, &got))
      continue;
    MapWindowPoints(tabs, window, reinterpret_cast<POINT*>(&r), 2);
    char line[128];
    std::snprintf(line, sizeof line, "tab %d %ld %ld %ld %ld\n", i, r.left, r.top, r.right - r.left, r.bottom - r.top);
    out += line;
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return out;
}

BOOL CALLBACK Describe(HWND h, LPARAM lp) {
  auto& probe = *reinterpret_cast<Probe*>(lp);
  if (GetParent(h) != probe.window) return TRUE;
  char cls[128] = {}, text[4096] = {};
  GetClassNameA(h, cls, sizeof cls);
  // The text a control holds now (an edit box's), not the one it was created with.
  DWORD_PTR got = 0;
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &got);
  std::string t;
  for (const char* c = text; *c; ++c) {
    if (*c == '\r') continue;
    t += *c == '\n' ? '|' : *c == '\t' ? ' ' : *c;
  }
  const LONG style = GetWindowLongA(h, GWL_STYLE);
  long state = -1;
  if (lstrcmpiA(cls, "Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) state = static_cast<long>(SendMessageA(h, BM_GETCHECK, 0, 0));
  } else if (lstrcmpiA(cls, "ScrollBar") == 0) {
    state = static_cast<long>(SendMessageA(h, SBM_GETPOS, 0, 0));
  } else if (lstrcmpiA(cls, WC_TABCONTROLA) == 0) {
    state = static_cast<long>(SendMessageA(h, TCM_GETCURSEL, 0, 0));
    probe.tabs = h;
  }
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, probe.window, reinterpret_cast<POINT*>(&r), 2);
  char line[5000];
  std::snprintf(line, sizeof line, "%d\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%ld\t%s\n", GetDlgCtrlID(h), cls,
                IsWindowVisible(h) ? 1 : 0, (style & WS_TABSTOP) ? 1 : 0, state, r.left, r.top, r.right - r.left,
                r.bottom - r.top, t.c_str());
  probe.out += line;
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dusk_config_probe TITLE FILE\n");
    return 2;
  }
  SetProcessDPIAware();
  Probe probe{FindWindowA(nullptr, argv[1]), ""};
  if (!probe.window) return 1;
  RECT w, c;
  GetWindowRect(probe.window, &w);
  GetClientRect(probe.window, &c);
  POINT origin{0, 0};
  ClientToScreen(probe.window, &origin);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  char head[256];
  std::snprintf(head, sizeof head, "window %ld %ld %ld %ld\nclient %ld %ld %ld %ld\ndpi %d\n", w.left, w.top, w.right,
                w.bottom, origin.x, origin.y, c.right, c.bottom, dpi);
  probe.out = head;
  EnumChildWindows(probe.window, Describe, reinterpret_cast<LPARAM>(&probe));
  if (probe.tabs) probe.out += TabPlaces(probe.tabs, probe.window);
  FILE* f = std::fopen(argv[2], "wb");
  if (!f) return 2;
  std::fputs(probe.out.c_str(), f);
  std::fclose(f);
  return 0;
}
