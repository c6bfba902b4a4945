// The settings dialog on Windows. Every control is a child of the one top-level window and sits
// above the tab control, which fills the client area; the controls of a page are shown while its
// tab is selected. Positions come from the form in twips and are scaled with the screen's dots
// per inch. The form owns all behaviour: this file only draws its controls, keeps their values in
// the form and forwards events.
#include "hosts/win32/config_dialog.h"

#include "hosts/win32/win32.h"
#include "hosts/win32/win32_os.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/labels.h"
#include "platform/runtime.h"
#include "platform/system.h"
#include "settings_dialog/configuration.h"
#include "startup/program.h"
#include "startup/starter.h"

#ifndef DUSK_VERSION
#error "DUSK_VERSION must name the program's version"
#endif

namespace dusk {
namespace {

constexpr const char* kDialogClass = "DuskhollowSettings";
constexpr const char* kPictureButtonClass = "DuskhollowPictureButton";
constexpr const char* kPreviewBoxClass = "DuskhollowPreviewBox";
constexpr UINT_PTR kTimer1Id = 1;
constexpr const char* kReleaseDate = "31 October 2026";

// Control identifiers. The rows' controls count up from their base by row (creatures, in the
// form's order) or by slot (songs and effects).
enum : int {
  kIdTabs = 100,
  kIdCancel,
  kIdApply,
  kIdSpeed,
  kIdClock,
  kIdMessage,
  kIdPreviewBox1,
  kIdPreviewBox2,
  kIdMonitors,
  kIdProportions,
  kIdCreatureCheck = 200,
  kIdPreviewButton = 300,
  kIdSongCheck = 400,
  kIdSpeaker = 450,
  kIdSoundCheck = 500,
  kIdFxSpeaker = 550,
  kIdStatic = 0xFFFF,
};
constexpr int kEveryPage = -1;

// Where the dialog puts what the form leaves to it, in twips on the page.
constexpr TwipsRect kCancelPlace{240, 3600, 1215, 375};
constexpr TwipsRect kApplyPlace{3000, 3600, 1215, 375};
constexpr TwipsRect kNoticePlace{4380, 3660, 3075, 255};
// Options page
constexpr TwipsRect kSpeedFrame{240, 510, 3975, 1230};
constexpr TwipsRect kSpeedBar{480, 900, 3495, 255};
constexpr int kSpeedLabelsTop = 1260, kSpeedLabelWidth = 1100;
constexpr TwipsRect kClockFrame{4440, 510, 3015, 1230};
constexpr TwipsRect kClockCheck{4680, 900, 2535, 255};
constexpr TwipsRect kMessageFrame{240, 1860, 3735, 1530};
constexpr TwipsRect kMessageLabel{480, 2280, 3255, 255};
constexpr TwipsRect kMessageBox{480, 2640, 3255, 315};
constexpr TwipsRect kMonitorsFrame{4200, 1860, 3255, 1530};
constexpr TwipsRect kMonitorsCheck{4380, 2280, 3015, 255};
constexpr TwipsRect kProportionsCheck{4380, 2640, 3015, 255};
// About page
constexpr TwipsRect kNoticeFrame{240, 510, 7215, 1350};
constexpr TwipsRect kNoticeText{480, 780, 6735, 960};
constexpr TwipsRect kProjectFrame{240, 1980, 3975, 1410};
constexpr TwipsRect kLogo{420, 2340, 480, 480};
constexpr TwipsRect kProjectText{1080, 2310, 3015, 960};
constexpr TwipsRect kVersionFrame{4440, 1980, 3015, 1410};
constexpr TwipsRect kVersionText{4680, 2310, 2655, 960};

constexpr const char* kPageNotices[Configuration::kPageCount] = {
    "Click a screen to preview a creature", "Click a screen to preview a creature",
    "Click a speaker to listen", "Apply saves every page at once", "Happy haunting!"};

// The MIT licence in short; LICENSE.txt beside the data holds the whole text.
constexpr const char* kLegalNotice =
    "Copyright (c) 2026 The Duskhollow developers. MIT licence: anyone may use, copy, modify, merge, "
    "publish, distribute, sublicense and sell copies, free of charge, provided this notice goes with "
    "them. THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND. Full text: LICENSE.txt.";
constexpr const char* kProjectDetails =
    "The Duskhollow Project\nA moonlit graveyard for idle screens, made by the Duskhollow "
    "developers.";

class Dialog;
Dialog* theDialog = nullptr;  // one settings dialog per process
HHOOK keyboardHook = nullptr;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

class Dialog {
 public:
  Dialog(Program& p, Configuration& form) : p_(p), f_(form) {}

  HWND Create();
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void RefreshPreviews();
  void PaintPreview(HWND box, HDC dc);
  HWND Window() const { return wnd_; }

 private:
  enum class Icon { kNone, kSpeaker, kFxSpeaker, kPreview, kLogo };
  struct PageControl {
    HWND hwnd;
    int page;  // kEveryPage for the buttons
    TwipsRect place;
    Icon icon = Icon::kNone;
  };

  Program& p_;
  Configuration& f_;
  HWND wnd_ = nullptr, tabs_ = nullptr, tips_ = nullptr, speed_ = nullptr, clock_ = nullptr, message_ = nullptr;
  HWND monitors_ = nullptr, proportions_ = nullptr;
  std::array<HWND, 2> boxes_{};
  std::vector<HWND> creatureChecks_;
  std::array<HWND, 12> songChecks_{}, soundChecks_{};
  std::vector<PageControl> controls_;
  std::vector<HWND> frames_;
  HFONT font_ = nullptr;
  COLORREF pageColor_ = 0;
  HBRUSH pageBrush_ = nullptr;  // the colour of the tab control's pages, behind every control
  HICON speakerIcon_ = nullptr, fxSpeakerIcon_ = nullptr, previewIcon_ = nullptr, logo_ = nullptr;
  bool created_ = false;
  bool busy_ = false;  // a handler of the form runs (or the error box it shows is up)
  std::deque<std::function<void()>> pending_;  // events that came while one was handled

  // Twips at the dots per inch of the monitor the dialog stands on.
  int dpi_ = 96;
  int X(int twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440.0)); }
  int Y(int twips) const { return X(twips); }
  void LoadLook();  // the font and icons for dpi_
  HICON IconFor(Icon icon) const;
  void FitPreviewImage(PictureBoxControl& box, HWND h);
  void Relayout(int dpi, const RECT* suggested);

  HWND Add(const char* cls, const std::string& text, DWORD style, DWORD exStyle, const TwipsRect& place, int id,
           int page, const std::string& tip = "");
  HWND AddFrame(const std::string& caption, const TwipsRect& place, int page);
  HWND AddCheck(const CheckBoxControl& check, int id);
  HWND AddPictureButton(HICON icon, const TwipsRect& place, int id, int page, const std::string& tip);
  HWND AddPreviewBox(PictureBoxControl& box, int id, int page);
  void BuildCreaturePage(int page);
  void BuildSoundsPage();
  void BuildOptionsPage();
  void BuildAboutPage();
  void ShowPage(int page);
  void TakePageColour();
  void ReadControls();
  void Scroll(int request);
  void Forward(std::function<void()> event, bool skipWhenBusy = false);
};

// --- the window classes ---

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (theDialog && theDialog->Window() == hwnd) return theDialog->Handle(hwnd, msg, wp, lp);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A small picture that acts as a button: it shows its icon, shows the dialog's own pointer while
// the mouse is over it, and reports a click (button down and up inside it) to its parent as
// BN_CLICKED.
LRESULT CALLBACK PictureButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      // The background of the page behind, as for any static control.
      auto back = reinterpret_cast<HBRUSH>(
          SendMessageA(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
      FillRect(dc, &rc, back ? back : GetSysColorBrush(COLOR_BTNFACE));
      if (auto icon = reinterpret_cast<HICON>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) {
        ICONINFO info{};
        int size = 16;
        if (GetIconInfo(icon, &info)) {
          BITMAP bm{};
          if (GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm)) size = bm.bmWidth;
          if (info.hbmColor) DeleteObject(info.hbmColor);
          if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        DrawIconEx(dc, (rc.right - size) / 2, (rc.bottom - size) / 2, icon, 0, 0, 0, nullptr, DI_NORMAL);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) {
        ReleaseCapture();
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (PtInRect(&rc, pt))
          SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                       reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A preview box: the form's image of the box inside a sunken border, black where the image ends.
LRESULT CALLBACK PreviewBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (theDialog) theDialog->PaintPreview(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole box
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// A frame draws only its edge and caption; its inside is the page's, painted here first (the tab
// control does not paint under the controls in front of it).
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    auto back = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    FillRect(dc, &rc, back ? back : GetSysColorBrush(COLOR_BTNFACE));
    DefSubclassProc(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// The dialog is not a system dialog box, but takes the keyboard like one: Tab and the arrow keys
// move between its controls, Alt with an underlined letter presses that button. The message loop
// belongs to the host, so the keys are taken here, before the loop dispatches them.
LRESULT CALLBACK KeyboardHook(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE && theDialog && msg->message >= WM_KEYFIRST &&
      msg->message <= WM_KEYLAST && IsDialogMessageA(theDialog->Window(), msg)) {
    msg->message = WM_NULL;  // handled: the loop now dispatches nothing
  }
  return CallNextHookEx(keyboardHook, code, wp, lp);
}

void RegisterClasses(HCURSOR pointer) {
  WNDCLASSA wc{};
  wc.hInstance = Instance();
  wc.lpfnWndProc = DialogProc;
  wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(100));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kDialogClass;
  RegisterClassA(&wc);

  wc = WNDCLASSA{};
  wc.hInstance = Instance();
  wc.lpfnWndProc = PictureButtonProc;
  wc.hCursor = pointer ? pointer : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
  wc.lpszClassName = kPictureButtonClass;
  RegisterClassA(&wc);

  wc = WNDCLASSA{};
  wc.hInstance = Instance();
  wc.lpfnWndProc = PreviewBoxProc;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kPreviewBoxClass;
  RegisterClassA(&wc);
}

HICON LoadIconSized(const char* name, int size) {
  return static_cast<HICON>(LoadImageA(Instance(), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

const DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD kDialogExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

// The system's per-monitor functions, where it has them (bound when used, so that older systems
// still start): without them every monitor has the system's dots per inch.
template <class Fn>
Fn Bound(const char* module, const char* name) {
  HMODULE m = GetModuleHandleA(module);
  if (!m) m = LoadLibraryA(module);
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

int MonitorDpi(HMONITOR monitor, int fallback) {
  using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const Fn getDpi = Bound<Fn>("shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (getDpi && monitor && SUCCEEDED(getDpi(monitor, 0 /* effective */, &x, &y)) && x > 0) return static_cast<int>(x);
  return fallback > 0 ? fallback : 96;
}

// The window rectangle round a client area of the given size, with the border for that dpi.
RECT FrameFor(int clientW, int clientH, int dpi) {
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const Fn adjust = Bound<Fn>("user32.dll", "AdjustWindowRectExForDpi");
  RECT frame{0, 0, clientW, clientH};
  if (!adjust || !adjust(&frame, kDialogStyle, FALSE, kDialogExStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
  return frame;
}

// --- building the controls ---

HWND Dialog::Add(const char* cls, const std::string& text, DWORD style, DWORD exStyle, const TwipsRect& place,
                 int id, int page, const std::string& tip) {
  HWND h = CreateWindowExW(exStyle, Wide(cls).c_str(), Wide(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, X(place.left),
                           Y(place.top), X(place.width), Y(place.height), wnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (!h) return nullptr;
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  controls_.push_back({h, page, place});
  if (!tip.empty() && tips_) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = wnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(h);
    ti.lpszText = const_cast<char*>(tip.c_str());  // the tool tip keeps its own copy
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  return h;
}

HWND Dialog::AddFrame(const std::string& caption, const TwipsRect& place, int page) {
  HWND h = Add("BUTTON", caption, BS_GROUPBOX, 0, place, kIdStatic, page);
  if (h) {
    SetWindowSubclass(h, FrameProc, 1, 0);
    frames_.push_back(h);
  }
  return h;
}

HWND Dialog::AddCheck(const CheckBoxControl& check, int id) {
  HWND h = Add("BUTTON", check.Caption, BS_AUTOCHECKBOX | WS_TABSTOP, 0, check.Place, id, check.Page, check.ToolTip);
  SendMessageA(h, BM_SETCHECK, check.Value ? BST_CHECKED : BST_UNCHECKED, 0);
  return h;
}

HWND Dialog::AddPictureButton(HICON icon, const TwipsRect& place, int id, int page, const std::string& tip) {
  HWND h = Add(kPictureButtonClass, "", 0, 0, place, id, page, tip);
  if (!h) return h;
  SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(icon));
  controls_.back().icon = icon == speakerIcon_ ? Icon::kSpeaker : icon == fxSpeakerIcon_ ? Icon::kFxSpeaker : Icon::kPreview;
  return h;
}

HWND Dialog::AddPreviewBox(PictureBoxControl& box, int id, int page) {
  HWND h = Add(kPreviewBoxClass, "", 0, WS_EX_CLIENTEDGE, box.Place, id, page);
  if (h) FitPreviewImage(box, h);
  return h;
}

// At other than 96 dots per inch the box has another size in pixels: the form's image and inner
// size follow the box, so that the preview is centred in what the user sees.
void Dialog::FitPreviewImage(PictureBoxControl& box, HWND h) {
  RECT rc;
  GetClientRect(h, &rc);
  if (rc.right > 0 && rc.bottom > 0 && (rc.right != box.ScaleWidth || rc.bottom != box.ScaleHeight)) {
    box.ScaleWidth = rc.right;
    box.ScaleHeight = rc.bottom;
    if (box.Image > 0) p_.surfaces.Remove(box.Image);
    box.Image = p_.surfaces.AddBlank(box.ScaleWidth, box.ScaleHeight, 0);
  }
}

// The rows in the order the eye reads them: the left column top to bottom, then the right one.
template <class Row>
std::vector<int> ReadingOrder(const std::vector<Row*>& rows) {
  std::vector<int> order(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const TwipsRect &pa = rows[a]->Check.Place, &pb = rows[b]->Check.Place;
    return pa.left != pb.left ? pa.left < pb.left : pa.top < pb.top;
  });
  return order;
}

void Dialog::BuildCreaturePage(int page) {
  AddFrame("", Configuration::kCreatureFrame, page);
  std::vector<CreatureRow*> rows;
  for (CreatureRow& r : f_.Creatures) rows.push_back(&r);
  for (int i : ReadingOrder(rows)) {
    CreatureRow& row = *rows[i];
    if (row.Check.Page != page) continue;
    creatureChecks_[i] = AddCheck(row.Check, kIdCreatureCheck + i);
    AddPictureButton(previewIcon_, row.ButtonPlace, kIdPreviewButton + i, page, "Preview " + row.Check.Caption);
  }
  boxes_[page] = AddPreviewBox(page == 0 ? f_.PreviewPicture : f_.PreviewPicture2,
                               page == 0 ? kIdPreviewBox1 : kIdPreviewBox2, page);
}

void Dialog::BuildSoundsPage() {
  auto rows = [](SoundRow* table) {
    std::vector<SoundRow*> v;
    for (int i = 0; i < 12; ++i) v.push_back(&table[i]);
    return v;
  };
  AddFrame("BackGround Music", Configuration::kMusicFrame, 2);
  const std::vector<SoundRow*> songs = rows(f_.songchk);
  for (int slot : ReadingOrder(songs)) {
    songChecks_[slot] = AddCheck(songs[slot]->Check, kIdSongCheck + slot);
    AddPictureButton(speakerIcon_, songs[slot]->ButtonPlace, kIdSpeaker + slot, 2, "Listen To Music");
  }
  AddFrame("Sound Effects", Configuration::kEffectsFrame, 2);
  const std::vector<SoundRow*> effects = rows(f_.soundchk);
  for (int slot : ReadingOrder(effects)) {
    soundChecks_[slot] = AddCheck(effects[slot]->Check, kIdSoundCheck + slot);
    AddPictureButton(fxSpeakerIcon_, effects[slot]->ButtonPlace, kIdFxSpeaker + slot, 2, "Listen To Sound");
  }
}

void Dialog::BuildOptionsPage() {
  AddFrame("Speed Option", kSpeedFrame, 3);
  speed_ = Add("SCROLLBAR", "", SBS_HORZ | WS_TABSTOP, 0, kSpeedBar, kIdSpeed, 3);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
  si.nMin = f_.speedchk.Min;
  si.nMax = f_.speedchk.Max;
  si.nPage = 0;  // the thumb reaches the maximum itself
  si.nPos = f_.speedchk.Value;
  SetScrollInfo(speed_, SB_CTL, &si, FALSE);
  const int barLeft = kSpeedBar.left, barRight = kSpeedBar.left + kSpeedBar.width;
  const char* speedTip = "Select Animation Speed";
  Add("STATIC", "Slow", SS_LEFT | SS_NOTIFY, 0, {barLeft, kSpeedLabelsTop, kSpeedLabelWidth, 255}, kIdStatic, 3,
      speedTip);
  Add("STATIC", "Normal", SS_CENTER | SS_NOTIFY, 0,
      {(barLeft + barRight) / 2 - kSpeedLabelWidth / 2, kSpeedLabelsTop, kSpeedLabelWidth, 255}, kIdStatic, 3,
      speedTip);
  Add("STATIC", "Fast", SS_RIGHT | SS_NOTIFY, 0, {barRight - kSpeedLabelWidth, kSpeedLabelsTop, kSpeedLabelWidth, 255},
      kIdStatic, 3, speedTip);

  AddFrame("Digital Clock", kClockFrame, 3);
  CheckBoxControl clock = f_.clockcheck;
  clock.Place = kClockCheck;
  clock_ = AddCheck(clock, kIdClock);

  AddFrame("On-Screen Message", kMessageFrame, 3);
  Add("STATIC", "Enter Your On Screen Message Below:", SS_LEFT | SS_NOPREFIX, 0, kMessageLabel, kIdStatic, 3);
  message_ = Add("EDIT", f_.Text1, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, kMessageBox, kIdMessage, 3);
  SendMessageA(message_, EM_SETLIMITTEXT, f_.Text1MaxLength, 0);  // no more than the saver keeps

  AddFrame("Monitors", kMonitorsFrame, 3);
  CheckBoxControl monitors = f_.monitorscheck, proportions = f_.proportionscheck;
  monitors.Place = kMonitorsCheck;
  proportions.Place = kProportionsCheck;
  monitors_ = AddCheck(monitors, kIdMonitors);
  proportions_ = AddCheck(proportions, kIdProportions);
}

void Dialog::BuildAboutPage() {
  AddFrame("", kNoticeFrame, 4);
  Add("STATIC", kLegalNotice, SS_LEFT | SS_NOPREFIX, 0, kNoticeText, kIdStatic, 4);
  AddFrame("Company Information", kProjectFrame, 4);
  HWND logo = Add("STATIC", "", SS_ICON | SS_CENTERIMAGE, 0, kLogo, kIdStatic, 4);
  SendMessageA(logo, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(logo_));
  controls_.back().icon = Icon::kLogo;
  Add("STATIC", kProjectDetails, SS_LEFT | SS_NOPREFIX, 0, kProjectText, kIdStatic, 4);
  AddFrame("Version Information", kVersionFrame, 4);
  const std::string version = std::string("Duskhollow ScreenSaver\nVersion ") + DUSK_VERSION + "\nReleased " +
                              kReleaseDate + "\nFor Windows, 64-bit";
  Add("STATIC", version, SS_LEFT | SS_NOPREFIX, 0, kVersionText, kIdStatic, 4);
}

void Dialog::LoadLook() {
  HFONT oldFont = font_;
  HICON old[] = {speakerIcon_, fxSpeakerIcon_, previewIcon_, logo_};
  font_ = CreateFontA(-MulDiv(8, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg");
  const int small = MulDiv(16, dpi_, 96);
  speakerIcon_ = LoadIconSized("DUSK_SPEAKER", small);
  fxSpeakerIcon_ = LoadIconSized("DUSK_FXSPEAKER", small);
  previewIcon_ = LoadIconSized("DUSK_PREVIEW", small);
  logo_ = LoadIconSized(MAKEINTRESOURCEA(100), MulDiv(32, dpi_, 96));
  if (oldFont) DeleteObject(oldFont);
  for (HICON icon : old)
    if (icon) DestroyIcon(icon);
}

HICON Dialog::IconFor(Icon icon) const {
  switch (icon) {
    case Icon::kSpeaker: return speakerIcon_;
    case Icon::kFxSpeaker: return fxSpeakerIcon_;
    case Icon::kPreview: return previewIcon_;
    case Icon::kLogo: return logo_;
    default: return nullptr;
  }
}

// Moved to a monitor of other dots per inch: everything is laid out again from its twips.
void Dialog::Relayout(int dpi, const RECT* suggested) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  LoadLook();
  const int clientW = X(static_cast<int>(f_.Geometry.width)), clientH = Y(static_cast<int>(f_.Geometry.height));
  RECT frame = FrameFor(clientW, clientH, dpi_);
  RECT now;
  GetWindowRect(wnd_, &now);
  const int left = suggested ? suggested->left : now.left, top = suggested ? suggested->top : now.top;
  SetWindowPos(wnd_, nullptr, left, top, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(tabs_, nullptr, 0, 0, clientW, clientH, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  for (const PageControl& c : controls_) {
    SetWindowPos(c.hwnd, nullptr, X(c.place.left), Y(c.place.top), X(c.place.width), Y(c.place.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (c.icon == Icon::kLogo) SendMessageA(c.hwnd, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(logo_));
    else if (c.icon != Icon::kNone) SetWindowLongPtrA(c.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(IconFor(c.icon)));
  }
  if (boxes_[0]) FitPreviewImage(f_.PreviewPicture, boxes_[0]);
  if (boxes_[1]) FitPreviewImage(f_.PreviewPicture2, boxes_[1]);
  InvalidateRect(wnd_, nullptr, TRUE);
}

HWND Dialog::Create() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClasses(static_cast<HCURSOR>(LoadImageA(Instance(), "DUSK_POINTER", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));

  // The form's geometry places the client area (centred on the primary monitor at the system's
  // dots per inch); the dialog is laid out at the dots per inch of the monitor there.
  const int systemDpi = static_cast<int>(std::lround(1440.0 / p_.TwipsPerPixelX));
  const POINT centre{static_cast<LONG>(std::lround((f_.Geometry.left + f_.Geometry.width / 2) / p_.TwipsPerPixelX)),
                     static_cast<LONG>(std::lround((f_.Geometry.top + f_.Geometry.height / 2) / p_.TwipsPerPixelY))};
  dpi_ = MonitorDpi(MonitorFromPoint(centre, MONITOR_DEFAULTTOPRIMARY), systemDpi);
  LoadLook();

  // A fixed tool window: a narrow title bar with only the close box, a border that does not size.
  const int clientW = X(static_cast<int>(f_.Geometry.width)), clientH = Y(static_cast<int>(f_.Geometry.height));
  RECT frame = FrameFor(clientW, clientH, dpi_);
  const bool atSystemDpi = dpi_ == systemDpi;
  const int left = (atSystemDpi ? static_cast<int>(std::lround(f_.Geometry.left / p_.TwipsPerPixelX)) : centre.x - clientW / 2) + frame.left;
  const int top = (atSystemDpi ? static_cast<int>(std::lround(f_.Geometry.top / p_.TwipsPerPixelY)) : centre.y - clientH / 2) + frame.top;
  wnd_ = CreateWindowExA(kDialogExStyle, kDialogClass, Configuration::kCaption, kDialogStyle, left, top,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, Instance(), nullptr);
  if (!wnd_) return nullptr;

  tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd_, nullptr, Instance(),
                          nullptr);

  // Created in keyboard order: each page's controls, then Cancel and Apply. The tab control and
  // the frames go to the back afterwards.
  creatureChecks_.assign(f_.Creatures.size(), nullptr);
  BuildCreaturePage(0);
  BuildCreaturePage(1);
  BuildSoundsPage();
  BuildOptionsPage();
  BuildAboutPage();
  for (int page = 0; page < Configuration::kPageCount; ++page)
    Add("STATIC", kPageNotices[page], SS_RIGHT | SS_NOPREFIX, 0, kNoticePlace, kIdStatic, page);
  Add("BUTTON", "&Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, kCancelPlace, kIdCancel, kEveryPage,
      "Exit Without Saving Changes");
  Add("BUTTON", "&Apply", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, kApplyPlace, kIdApply, kEveryPage,
      "Save Changes And Exit");

  tabs_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, clientW,
                          clientH, wnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabs)), Instance(), nullptr);
  SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (int i = 0; i < Configuration::kPageCount; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(Configuration::kPageCaptions[i]);
    SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  TakePageColour();
  for (HWND frame : frames_) SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  SendMessageA(tabs_, TCM_SETCURSEL, f_.Tabs, 0);
  ShowPage(f_.Tabs);
  created_ = true;

  if (f_.Timer1.Enabled && f_.Timer1.Interval > 0) SetTimer(wnd_, kTimer1Id, static_cast<UINT>(f_.Timer1.Interval), nullptr);
  keyboardHook = SetWindowsHookExA(WH_GETMESSAGE, KeyboardHook, nullptr, GetCurrentThreadId());
  ShowWindow(wnd_, SW_SHOW);
  SetForegroundWindow(wnd_);
  SetFocus(tabs_);
  UpdateWindow(wnd_);
  return wnd_;
}

// The controls stand on the tab control's page, whose colour depends on the look the system
// gives the tab control: the page is drawn once off screen and its colour taken from there.
void Dialog::TakePageColour() {
  pageColor_ = GetSysColor(COLOR_BTNFACE);
  RECT rc;
  GetClientRect(tabs_, &rc);
  HDC screen = GetDC(tabs_);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
  ReleaseDC(tabs_, screen);
  if (mem && bitmap) {
    HGDIOBJ old = SelectObject(mem, bitmap);
    SendMessageA(tabs_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
    RECT page = rc;
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    const COLORREF c = GetPixel(mem, (page.left + page.right) / 2, (page.top + page.bottom) / 2);
    if (c != CLR_INVALID) pageColor_ = c;
    SelectObject(mem, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (mem) DeleteDC(mem);
  pageBrush_ = CreateSolidBrush(pageColor_);
}

void Dialog::ShowPage(int page) {
  for (const PageControl& c : controls_)
    if (c.page != kEveryPage) ShowWindow(c.hwnd, c.page == page ? SW_SHOWNA : SW_HIDE);
}

// --- the controls' values into the form ---

void Dialog::ReadControls() {
  if (!created_) return;
  auto ticked = [](HWND h) { return h && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; };
  for (size_t i = 0; i < f_.Creatures.size(); ++i) f_.Creatures[i].Check.Value = ticked(creatureChecks_[i]);
  for (int i = 0; i < 12; ++i) {
    f_.songchk[i].Check.Value = ticked(songChecks_[i]);
    f_.soundchk[i].Check.Value = ticked(soundChecks_[i]);
  }
  f_.clockcheck.Value = ticked(clock_);
  f_.monitorscheck.Value = ticked(monitors_);
  f_.proportionscheck.Value = ticked(proportions_);
  f_.speedchk.Value = GetScrollPos(speed_, SB_CTL);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(message_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(message_, text.data(), static_cast<int>(text.size()))));
  f_.Text1 = Utf8(text.c_str(), static_cast<int>(text.size()));
}

void Dialog::Scroll(int request) {
  const ScrollBarControl& s = f_.speedchk;
  int value = GetScrollPos(speed_, SB_CTL);
  switch (request) {
    case SB_LINELEFT: value -= s.SmallChange; break;
    case SB_LINERIGHT: value += s.SmallChange; break;
    case SB_PAGELEFT: value -= s.LargeChange; break;
    case SB_PAGERIGHT: value += s.LargeChange; break;
    case SB_LEFT: value = s.Min; break;
    case SB_RIGHT: value = s.Max; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(speed_, SB_CTL, &si);
      value = si.nTrackPos;
      break;
    }
    default: return;
  }
  SetScrollPos(speed_, SB_CTL, std::clamp(value, s.Min, s.Max), TRUE);
  f_.speedchk.Value = GetScrollPos(speed_, SB_CTL);
}

// --- events ---

// The form handles one event at a time. A handler may wait on the system (the sound system
// delivers messages meanwhile) or show an error box: whatever comes in then waits for its turn,
// in order, except a preview tick, which is skipped.
void Dialog::Forward(std::function<void()> event, bool skipWhenBusy) {
  if (busy_) {
    if (!skipWhenBusy) pending_.push_back(std::move(event));
    return;
  }
  busy_ = true;
  for (;;) {
    ReadControls();
    RunEventGuarded(p_, event);
    if (pending_.empty()) break;
    event = std::move(pending_.front());
    pending_.pop_front();
  }
  busy_ = false;
}

LRESULT Dialog::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp), code = HIWORD(wp);
      if (id == kIdCancel && code == BN_CLICKED) {
        Forward([this] { f_.Command1_Click(); });
      } else if (id == kIdApply && code == BN_CLICKED) {
        Forward([this] { f_.Command2_Click(); });
      } else if (id >= kIdPreviewButton && id < kIdPreviewButton + static_cast<int>(f_.Creatures.size())) {
        const std::string button = f_.Creatures[id - kIdPreviewButton].PreviewButton;
        Forward([this, button] { f_.PreviewButton_Click(button); });
      } else if (id >= kIdSpeaker && id < kIdSpeaker + 12) {
        Forward([this, id] { f_.speaker_Click(static_cast<int16_t>(id - kIdSpeaker)); });
      } else if (id >= kIdFxSpeaker && id < kIdFxSpeaker + 12) {
        Forward([this, id] { f_.fxspeaker_Click(static_cast<int16_t>(id - kIdFxSpeaker)); });
      } else if (!busy_ && (code == BN_CLICKED || code == EN_CHANGE)) {
        ReadControls();  // a box ticked, the message edited: the form always holds what is shown
      }
      return 0;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lp) == speed_) Scroll(LOWORD(wp));
      return 0;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lp);
      if (n->hwndFrom == tabs_ && n->code == TCN_SELCHANGE) {
        const int selected = static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
        ShowPage(selected);
        Forward([this, selected] {
          const int previous = f_.Tabs;
          f_.Tabs = selected;
          f_.Tabs_Click(previous);
        });
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (!pageBrush_) break;
      SetBkColor(reinterpret_cast<HDC>(wp), pageColor_);
      return reinterpret_cast<LRESULT>(pageBrush_);
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      // Behind the tab control; themed controls ask for it to draw their own backgrounds.
      if (!pageBrush_) break;
      {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, pageBrush_);
      }
      return 1;
    case WM_TIMER:
      if (wp == kTimer1Id) Forward([this] { f_.Timer1_Timer(); }, true);
      return 0;
    case 0x02E0:  // WM_DPICHANGED: the new dots per inch, and where the system suggests the window goes
      Relayout(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_CLOSE:
      Forward([this] { f_.Form_Unload(); });
      return 0;
    case WM_DESTROY:
      // Destroyed from outside: the run still ends the one orderly way.
      if (!busy_) {
        busy_ = true;
        X_Cleanup_And_End(p_);
      }
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// --- the preview boxes ---

void Dialog::PaintPreview(HWND box, HDC dc) {
  RECT rc;
  GetClientRect(box, &rc);
  const Bitmap* b = p_.windows->Frame(box == boxes_[0] ? 0 : 1).canvas;
  const int saved = SaveDC(dc);
  if (b && b->width > 0 && b->height > 0) {
    const BITMAPINFO bmi = TopDownRgb32(b->width, b->height);
    SetDIBitsToDevice(dc, 0, 0, b->width, b->height, 0, 0, 0, b->height, b->pixels.data(), &bmi, DIB_RGB_COLORS);
    ExcludeClipRect(dc, 0, 0, b->width, b->height);
  }
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RestoreDC(dc, saved);
}

void Dialog::RefreshPreviews() {
  for (HWND box : boxes_) {
    if (!box || !IsWindowVisible(box)) continue;  // a hidden page shows its box when it comes back
    HDC dc = GetDC(box);
    PaintPreview(box, dc);
    ReleaseDC(box, dc);
    ValidateRect(box, nullptr);
  }
}

}  // namespace

HWND__* CreateConfigurationDialog(Program& p, Configuration& form) {
  theDialog = new Dialog(p, form);  // lives until the process ends
  return theDialog->Create();
}

void RefreshConfigurationDialog(HWND__* dialog) {
  if (theDialog && theDialog->Window() == dialog) theDialog->RefreshPreviews();
}

}  // namespace dusk
