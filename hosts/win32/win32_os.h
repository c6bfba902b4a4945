// The seam on Windows: the real system calls, and the windows of the three run modes (the
// full-screen saver, the control panel's preview, the settings dialog) realised from the core's
// forms: their canvases painted with GDI, their timers as SetTimer timers, their input forwarded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/seam.h"
#include "platform/system.h"

struct HWND__;
struct HINSTANCE__;
struct HDC__;
struct HBITMAP__;
struct HFONT__;
struct HINSTANCE__;

namespace dusk {

struct Program;

// Runs a window event for the system. Every handler that can fail reports under its own label;
// this is only a last resort for a failure that escaped one, so that nothing unwinds through the
// system's frames.
template <class F>
void RunEventGuarded(System& p, F&& event) {
  try {
    event();
  } catch (const RuntimeError& e) {
    ErrorReport(p, label::kMain, e.number);
  } catch (...) {
    ErrorReport(p, label::kMain, kErrInternal);
  }
}

class Win32Os : public Os {
 public:
  Win32Os();
  ~Win32Os() override;

  // Ties the host to its program: events of the windows go to the program's forms, and the
  // program learns the screen's twips per pixel.
  void Attach(Program& p);
  // Runs the windows until the process ends (it always ends inside the clean-up).
  [[noreturn]] void RunMessageLoop();

  // --- the machine ---
  std::string WindowsDirectory() override;
  int ScreenWidthPixels() override;
  int ScreenHeightPixels() override;
  std::vector<Rect> OtherMonitors() override;
  uint64_t FindTopWindow(const std::string& title) override;
  bool AnotherInstanceRunning() override;
  double ClockSeconds() override;
  LocalTime Now() override;
  std::string TimeDesignator(bool afternoon) override;
  int PlatformId() override;
  void SetScreenSaverRunning(bool running) override;
  void ShowCursor(bool show) override;

  // --- files, settings, registry ---
  std::string FindFirstNormalFile(const std::string& path) override;
  std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) override;
  std::string UserDataDirectory() override;
  bool CreateFolder(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
  std::string LastErrorText() override;
  std::string GetProfileString(const std::string& file, const std::string& section,
                               const std::string& key) override;
  bool WriteProfileString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value) override;
  std::optional<RegistryValue> QueryRegistryValue(uint32_t root, const std::string& path,
                                                  const std::string& name) override;

  // --- messages and the end ---
  void MessageBox(const std::string& text, const std::string& title) override;
  void LowerSaverWindow() override;
  [[noreturn]] void EndProcess(int code) override;

  // --- multimedia and the mixer ---
  uint32_t MciSendString(const std::string& command, std::string& reply) override;
  void PlaySoundNamed(const std::string& name, uint32_t flags) override;
  void PlaySoundMemory(const std::vector<uint8_t>& wave, uint32_t flags) override;
  uint32_t WaveMixInit() override;
  uint32_t WaveMixOpenWave(uint32_t session, const std::string& path) override;
  void WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) override;
  void WaveMixActivate(uint32_t session, bool activate) override;
  void WaveMixPlay(const uint8_t (&params)[24]) override;
  void WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) override;
  void WaveMixFreeWave(uint32_t session, uint32_t wave) override;
  void WaveMixCloseSession(uint32_t session) override;

  // --- the Windows 95 family's password functions ---
  void PwdChangePassword(const std::string& provider, int32_t parentWindow) override;
  int VerifyScreenSavePwd() override;

  // --- windows ---
  Rect ClientRect(int64_t window) override;
  void ShowSaverWindow(RunWindows& windows) override;
  void EmbedPreviewWindow(RunWindows& windows, int64_t parent, const Rect& rect) override;
  void ShowConfigurationWindow(RunWindows& windows) override;
  void RefreshWindow() override;

  // The window procedures' way in.
  intptr_t HandleSaverMessage(HWND__* hwnd, unsigned msg, uintptr_t wp, intptr_t lp);
  intptr_t HandlePreviewMessage(HWND__* hwnd, unsigned msg, uintptr_t wp, intptr_t lp);

  HWND__* SaverWindow() const { return saverWnd_; }
  HWND__* PreviewWindow() const { return previewWnd_; }

 private:
  // One SetTimer timer standing for one of the mode's TimerControls (its number there + 1).
  struct TimerSlot {
    const TimerControl* control = nullptr;
    uintptr_t id = 0;
    uint32_t running = 0;  // the interval SetTimer runs with, 0 when stopped
  };

  Program* p_ = nullptr;
  RunWindows* run_ = nullptr;
  HWND__* saverWnd_ = nullptr;
  std::vector<HWND__*> otherWnds_;  // one per other monitor, in the form's order
  HWND__* previewWnd_ = nullptr;
  HWND__* configurationWnd_ = nullptr;
  void* instanceMutex_ = nullptr;
  HINSTANCE__* passwordDll_ = nullptr;
  bool passwordDllTried_ = false;
  unsigned long lastError_ = 0;  // of the last write that failed
  bool Refused();
  int dpi_ = 96;
  bool ending_ = false;         // an error box is up or the clean-up runs: no more events
  bool closeRequested_ = false; // a close request (and its password check) is under way
  std::vector<TimerSlot> timers_;
  std::vector<uint8_t> playingSound_;  // the wave sndPlaySoundA plays from memory
  // The band of the window under its labels, put together off screen: canvas, then labels.
  HDC__* composeDc_ = nullptr;
  HBITMAP__* composeBitmap_ = nullptr;
  void* composeBits_ = nullptr;
  int composeW_ = 0, composeH_ = 0;
  HFONT__* labelFont_ = nullptr;
  int labelFontPixels_ = 0;
  unsigned long ticks_ = 0;  // frames presented, published on the window for tests

  HWND__* OwnerWindow() const;
  void SyncTimers();
  void StopTimers();
  // A window's frame onto the window: all of it, or only the rectangles the frame changed.
  void Paint(HDC__* dc, const WindowFrame& frame, bool whole);
  // Whichever of the saver's windows it is: whole, or what the last frame changed.
  void PaintSaver(HWND__* hwnd, HDC__* dc, bool changesOnly = false);
  void DrawLabel(HDC__* dc, const LabelLayout& label);
  void StartTimers(uintptr_t firstId);
  bool EnsureComposeSurface(HDC__* reference, int w, int h);
  template <class F>
  void Forward(F&& event);
};

}  // namespace dusk
