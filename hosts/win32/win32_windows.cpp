// The windows of the run modes. A window shows the frame the program hands it (a canvas of the
// window's size, what changed on it, the labels laid out), runs one SetTimer timer per
// TimerControl of the mode, and hands every input and timer event to the program.
#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "hosts/win32/win32.h"
#include "hosts/win32/config_dialog.h"
#include "hosts/win32/win32_os.h"
#include "platform/system.h"
#include "startup/program.h"
#include "startup/starter.h"

namespace dusk {
namespace {

constexpr const char* kSaverClass = "DuskhollowScreenSaver";
constexpr const char* kPreviewClass = "DuskhollowPreview";
// Frames presented so far, published on the window for anyone who wants to watch it run.
constexpr const char* kTicksProperty = "DuskhollowTicks";

// GUID_CONSOLE_DISPLAY_STATE: the console display's power (off, on, dimmed).
const GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// The first SetTimer id of each mode's timers (the frame timer, then the music timer).
constexpr UINT_PTR kSaverTimerIds = 1, kPreviewTimerIds = 3;

Win32Os* HostOf(HWND hwnd) { return reinterpret_cast<Win32Os*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, intptr_t (Win32Os::*handler)(HWND__*, unsigned, uintptr_t, intptr_t)) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  Win32Os* host = HostOf(hwnd);
  if (!host) return DefWindowProcA(hwnd, msg, wp, lp);
  return (host->*handler)(hwnd, msg, wp, lp);
}

LRESULT CALLBACK SaverProc(HWND h, UINT m, WPARAM w, LPARAM l) { return WindowProc(h, m, w, l, &Win32Os::HandleSaverMessage); }
LRESULT CALLBACK PreviewProc(HWND h, UINT m, WPARAM w, LPARAM l) { return WindowProc(h, m, w, l, &Win32Os::HandlePreviewMessage); }

void Register(const char* name, WNDPROC proc, UINT style, HBRUSH background) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(100));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

int16_t ShiftState() {
  int16_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= 1;
  if (GetKeyState(VK_CONTROL) < 0) s |= 2;
  if (GetKeyState(VK_MENU) < 0) s |= 4;
  return s;
}

}  // namespace

void Win32Os::Attach(Program& p) {
  p_ = &p;
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;
  p.TwipsPerPixelX = 1440.0 / dpi_;
  p.TwipsPerPixelY = 1440.0 / (dpiY > 0 ? dpiY : 96);
}

void Win32Os::RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // Nothing posts a quit; should the loop end anyway, the run ends the one orderly way.
  X_Cleanup_And_End(*p_);
}

HWND Win32Os::OwnerWindow() const { return saverWnd_ ? saverWnd_ : configurationWnd_; }

void Win32Os::MessageBox(const std::string& text, const std::string& title) {
  // The run is over once an error is shown: no more frames or input behind the box.
  ending_ = true;
  StopTimers();
  MessageBoxW(OwnerWindow(), Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_SETFOREGROUND);
}

void Win32Os::LowerSaverWindow() {
  for (HWND other : otherWnds_) SetWindowPos(other, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  if (saverWnd_) SetWindowPos(saverWnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
}

// --- timers ---

void Win32Os::StartTimers(uintptr_t firstId) {
  timers_.clear();
  uintptr_t id = firstId;
  for (const TimerControl* t : run_->Timers()) timers_.push_back(TimerSlot{t, id++, 0});
  SyncTimers();
}

void Win32Os::SyncTimers() {
  HWND hwnd = saverWnd_ ? saverWnd_ : previewWnd_;
  if (!hwnd || ending_) return;
  for (TimerSlot& t : timers_) {
    const uint32_t want = t.control->Enabled && t.control->Interval > 0 ? static_cast<uint32_t>(t.control->Interval) : 0;
    if (want == t.running) continue;
    if (want == 0) KillTimer(hwnd, t.id);
    else SetTimer(hwnd, t.id, want, nullptr);
    t.running = want;
  }
}

void Win32Os::StopTimers() {
  HWND hwnd = saverWnd_ ? saverWnd_ : previewWnd_;
  for (TimerSlot& t : timers_) {
    if (hwnd && t.running) KillTimer(hwnd, t.id);
    t.running = 0;
  }
}

template <class F>
void Win32Os::Forward(F&& event) {
  if (ending_) return;
  RunEventGuarded(*p_, event);
  SyncTimers();
}

// --- painting ---

bool Win32Os::EnsureComposeSurface(HDC reference, int w, int h) {
  if (composeDc_ && composeW_ == w && composeH_ == h) return true;
  if (composeDc_) {
    DeleteDC(composeDc_);
    DeleteObject(composeBitmap_);
    composeDc_ = nullptr;
  }
  const BITMAPINFO bmi = TopDownRgb32(w, h);
  composeBitmap_ = CreateDIBSection(reference, &bmi, DIB_RGB_COLORS, &composeBits_, nullptr, 0);
  if (!composeBitmap_) return false;
  composeDc_ = CreateCompatibleDC(reference);
  SelectObject(composeDc_, composeBitmap_);
  composeW_ = w;
  composeH_ = h;
  return true;
}

void Win32Os::DrawLabel(HDC dc, const LabelLayout& label) {
  if (!labelFont_ || labelFontPixels_ != label.fontPixels) {
    if (labelFont_) DeleteObject(labelFont_);
    labelFont_ = CreateFontA(-label.fontPixels, 0, 0, 0, kLabelWeight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kLabelFont);
    labelFontPixels_ = label.fontPixels;
  }
  auto colour = [](uint32_t c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); };
  RECT box{label.box.left, label.box.top, label.box.right, label.box.bottom};
  HBRUSH back = CreateSolidBrush(colour(label.backColor));
  FillRect(dc, &box, back);
  DeleteObject(back);
  HGDIOBJ old = SelectObject(dc, labelFont_);
  SetTextColor(dc, colour(label.textColor));
  SetBkMode(dc, TRANSPARENT);
  const UINT align = label.align == Alignment::kCenter ? DT_CENTER : DT_LEFT;
  const std::wstring text = Wide(label.text);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
}

void Win32Os::Paint(HDC dc, const WindowFrame& frame, bool whole) {
  const Bitmap* b = frame.canvas;
  if (!b || b->width <= 0 || b->height <= 0) return;
  if (!whole && frame.changed.empty()) return;
  const BITMAPINFO bmi = TopDownRgb32(b->width, b->height);
  // The band of the window under its labels.
  RECT band{0, 0, 0, 0};
  for (const LabelLayout& l : frame.labels) {
    const RECT box{l.box.left, l.box.top, l.box.right, l.box.bottom};
    UnionRect(&band, &band, &box);
  }
  const RECT all{0, 0, b->width, b->height};
  IntersectRect(&band, &band, &all);
  const int bandW = band.right - band.left, bandH = band.bottom - band.top;
  bool sendBand = bandW > 0 && bandH > 0;
  // The canvas goes to the window in one transfer, each pixel once. Where labels are shown, the
  // canvas and the labels are put together off screen first and that band replaces the canvas's
  // there, so that the labels never flicker. Only what the frame changed is sent, unless the
  // window is painted whole.
  const int saved = SaveDC(dc);
  bool any = true;
  if (!whole) {
    HRGN changed = CreateRectRgn(0, 0, 0, 0);
    bool underLabels = false;
    for (const Rect& r : frame.changed) {
      HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
      CombineRgn(changed, changed, part, RGN_OR);
      DeleteObject(part);
      RECT piece{r.left, r.top, r.right, r.bottom}, common;
      underLabels = underLabels || IntersectRect(&common, &piece, &band);
    }
    any = ExtSelectClipRgn(dc, changed, RGN_AND) != NULLREGION;
    DeleteObject(changed);
    sendBand = sendBand && underLabels;
  }
  const bool compose = sendBand && EnsureComposeSurface(dc, bandW, bandH);
  if (compose && any) any = ExcludeClipRect(dc, band.left, band.top, band.right, band.bottom) != NULLREGION;
  if (any)
    SetDIBitsToDevice(dc, 0, 0, b->width, b->height, 0, 0, 0, b->height, b->pixels.data(), &bmi, DIB_RGB_COLORS);
  RestoreDC(dc, saved);
  if (!compose) return;
  GdiFlush();  // the band's pixels are written straight into the section
  auto* bits = static_cast<uint32_t*>(composeBits_);
  for (int y = 0; y < bandH; ++y)
    std::memcpy(bits + static_cast<size_t>(y) * bandW, b->Row(band.top + y) + band.left,
                static_cast<size_t>(bandW) * sizeof(uint32_t));
  SetViewportOrgEx(composeDc_, -band.left, -band.top, nullptr);
  for (const LabelLayout& l : frame.labels) DrawLabel(composeDc_, l);
  SetViewportOrgEx(composeDc_, 0, 0, nullptr);
  BitBlt(dc, band.left, band.top, bandW, bandH, composeDc_, 0, 0, SRCCOPY);
}

void Win32Os::RefreshWindow() {
  if (configurationWnd_) {
    RefreshConfigurationDialog(configurationWnd_);
    return;
  }
  HWND hwnd = saverWnd_ ? saverWnd_ : previewWnd_;
  if (!hwnd) return;
  if (saverWnd_) {
    // One frame, every monitor's window.
    for (HWND other : otherWnds_) {
      HDC dc = GetDC(other);
      PaintSaver(other, dc, true);
      ReleaseDC(other, dc);
    }
  }
  // Windows get only the frame's changes here: a part the system asks to have painted again
  // stays invalid and gets all of the canvas in WM_PAINT.
  HDC dc = GetDC(hwnd);
  if (saverWnd_) PaintSaver(hwnd, dc, true);
  else Paint(dc, run_->Frame(0), false);
  ReleaseDC(hwnd, dc);
  SetPropA(hwnd, kTicksProperty, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(++ticks_)));
}

// --- the full-screen saver ---

void Win32Os::PaintSaver(HWND hwnd, HDC dc, bool changesOnly) {
  size_t window = 0;
  if (hwnd != saverWnd_) {
    auto it = std::find(otherWnds_.begin(), otherWnds_.end(), hwnd);
    if (it == otherWnds_.end()) return;
    window = static_cast<size_t>(it - otherWnds_.begin()) + 1;
  }
  Paint(dc, run_->Frame(window), !changesOnly);
}

void Win32Os::ShowSaverWindow(RunWindows& windows) {
  run_ = &windows;
  Register(kSaverClass, SaverProc, CS_DBLCLKS, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const int w = p_->ScreenWidth, h = p_->ScreenHeight;
  saverWnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSaverClass, "Duskhollow", WS_POPUP, 0, 0, w, h,
                              nullptr, nullptr, GetModuleHandleA(nullptr), this);
  if (!saverWnd_) X_Cleanup_And_End(*p_);
  SetPropA(saverWnd_, kTicksProperty, nullptr);
  // A borderless topmost window on every other monitor: same class, same input, same end.
  for (size_t i = 1; i < windows.WindowCount(); ++i) {
    const Rect& r = windows.Frame(i).place;
    const std::string title = "Duskhollow " + std::to_string(otherWnds_.size() + 2);
    HWND other = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSaverClass, title.c_str(), WS_POPUP, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (!other) X_Cleanup_And_End(*p_);
    otherWnds_.push_back(other);
    ShowWindow(other, SW_SHOWNOACTIVATE);
    UpdateWindow(other);
  }
  // Told when the console display goes off and on again.
  RegisterPowerSettingNotification(saverWnd_, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  ShowWindow(saverWnd_, SW_SHOW);
  SetForegroundWindow(saverWnd_);
  SetFocus(saverWnd_);
  UpdateWindow(saverWnd_);
  StartTimers(kSaverTimerIds);
}

intptr_t Win32Os::HandleSaverMessage(HWND hwnd, unsigned msg, uintptr_t wp, intptr_t lp) {
  // Input closes the saver; a request that arrives while one is being decided (the password
  // dialog is up) is not a new one.
  auto close = [&](auto&& request) {
    if (closeRequested_) return;
    closeRequested_ = true;
    Forward(request);
    closeRequested_ = false;
  };
  switch (msg) {
    case WM_TIMER:
      for (size_t i = 0; i < timers_.size(); ++i)
        if (timers_[i].id == wp) Forward([&] { run_->TimerFired(i); });
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintSaver(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the canvas covers the whole window
    case WM_POWERBROADCAST:
      if (wp == PBT_POWERSETTINGCHANGE) {
        const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
        if (setting && IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) &&
            setting->DataLength >= sizeof(DWORD)) {
          // 0 off, 1 on, 2 dimmed (still seen).
          run_->DisplayPower(*reinterpret_cast<const DWORD*>(setting->Data) != 0);
        }
      }
      return TRUE;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      close([&] { run_->Input(WindowInput::kClick); });
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      close([&] { run_->Input(WindowInput::kDoubleClick); });
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      close([&] { run_->Input(WindowInput::kKeyDown, static_cast<int16_t>(wp), ShiftState()); });
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      close([&] { run_->Input(WindowInput::kKeyPress, static_cast<int16_t>(wp)); });
      return 0;
    case WM_CLOSE:
      close([&] { run_->Input(WindowInput::kClose); });
      return 0;
    case WM_SYSCOMMAND:
      switch (wp & 0xFFF0) {
        case SC_CLOSE:
          close([&] { run_->Input(WindowInput::kClose); });
          return 0;
        case SC_SCREENSAVE:
        case SC_MONITORPOWER:
          return 0;  // a saver is already running
      }
      break;
    case WM_DESTROY:
      // Destroyed by someone else: the run still ends the orderly way.
      if (!ending_) {
        ending_ = true;
        run_->Input(WindowInput::kDestroyed);
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// --- the control panel's preview ---

void Win32Os::EmbedPreviewWindow(RunWindows& windows, int64_t parent, const Rect& rect) {
  run_ = &windows;
  HWND parentWnd = reinterpret_cast<HWND>(static_cast<intptr_t>(parent));
  // No window to live in (none named, or it closed before we started): the run is over.
  if (!parentWnd || !IsWindow(parentWnd)) X_Cleanup_And_End(*p_);
  Register(kPreviewClass, PreviewProc, 0, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  previewWnd_ = CreateWindowExA(0, kPreviewClass, windows.Frame(0).title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), this);
  if (!previewWnd_) X_Cleanup_And_End(*p_);
  SetPropA(previewWnd_, kTicksProperty, nullptr);
  // A child of the control panel's window: the popup style gives way to the child style. Should
  // the parent go away meanwhile, the embedding fails and the run ends the same way.
  LONG style = GetWindowLongA(previewWnd_, GWL_STYLE);
  SetWindowLongA(previewWnd_, GWL_STYLE, (style & ~static_cast<LONG>(WS_POPUP)) | WS_CHILD);
  if (!SetParent(previewWnd_, parentWnd) || !IsWindow(parentWnd)) X_Cleanup_And_End(*p_);
  SetWindowLongPtrA(previewWnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(parentWnd));
  SetWindowPos(previewWnd_, nullptr, 0, 0, rect.right, rect.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  StartTimers(kPreviewTimerIds);
}

intptr_t Win32Os::HandlePreviewMessage(HWND hwnd, unsigned msg, uintptr_t wp, intptr_t lp) {
  switch (msg) {
    case WM_TIMER:
      for (size_t i = 0; i < timers_.size(); ++i)
        if (timers_[i].id == wp) Forward([&] { run_->TimerFired(i); });
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(dc, run_->Frame(0), true);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return 1;
    }
    case WM_DESTROY:
      // The control panel destroys its window, and ours with it: the run is over.
      if (!ending_) {
        ending_ = true;
        run_->Input(WindowInput::kDestroyed);
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// --- the settings dialog (config_dialog.cpp) ---

void Win32Os::ShowConfigurationWindow(RunWindows& windows) {
  run_ = &windows;
  configurationWnd_ = CreateConfigurationDialog(*p_, *p_->configuration);
  if (!configurationWnd_) X_Cleanup_And_End(*p_);
}

}  // namespace dusk
