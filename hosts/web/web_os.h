// The seam in a web page: the data folder and the settings file in the page's memory file system
// (the page fills them before the program starts), the page's clock, one window that is the
// page's canvas, the wave mixer pulled by the page for Web Audio, and the songs' MCI strings
// answered here (their lengths from the MIDI files, the sound from recordings the page fetches
// when one plays).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "hosts/kit/files.h"
#include "hosts/kit/mci.h"
#include "hosts/kit/ticks.h"
#include "platform/seam.h"
#include "platform/system.h"

namespace dusk::web {

// Where the page puts the files the program reads.
inline constexpr const char* kDataDir = "/data/Duskhollow";
inline constexpr const char* kSettingsPath = "/settings/tarnix.ini";

// What the page hands the host that shows frames, plays sound and leaves full screen.
class Page {
 public:
  virtual ~Page() = default;
  // Sends the rectangles of the frame (and the labels over them) to the canvas.
  virtual void Present(const WindowFrame& frame, const std::vector<Rect>& rects) = 0;
  virtual void SongPlay(const std::string& file, uint32_t fromMs) = 0;
  virtual void SongStop(const std::string& file) = 0;
  virtual void Ended(int code, const std::string& message) = 0;
};

class WebOs : public Os {
 public:
  // `seed`: a repeatable run (the clock readings start from it, the time of day is 21:05).
  WebOs(Page& page, int width, int height, std::optional<long long> seed, std::string settingsText);

  // --- driven by the page ---
  // Fires every timer due by `nowMs` (ms since the run started) and sends what changed; the ms
  // until the next one falls due (-1: none runs).
  int64_t Pump(int64_t nowMs);
  // A repeatable run: `ticks` frames as the headless host makes them, one frame interval apart.
  void RunTicks(long long ticks);
  void Resize(int width, int height);
  void Input(WindowInput kind, int16_t code = 0, int16_t shift = 0);
  RunWindows* Windows() const { return run_; }
  void SetProgram(System* p) { program_ = p; }
  bool Ending() const { return ending_; }
  void SendWhole();

  // --- Os ---
  std::string WindowsDirectory() override { return kWindowsDir; }
  int ScreenWidthPixels() override { return width_; }
  int ScreenHeightPixels() override { return height_; }
  std::vector<Rect> OtherMonitors() override { return {}; }
  uint64_t FindTopWindow(const std::string&) override { return 0; }
  bool AnotherInstanceRunning() override { return false; }
  double ClockSeconds() override;
  LocalTime Now() override;
  std::string TimeDesignator(bool afternoon) override { return afternoon ? "PM" : "AM"; }
  int PlatformId() override { return 2; }
  void SetScreenSaverRunning(bool) override {}
  void ShowCursor(bool) override {}
  std::string FindFirstNormalFile(const std::string& path) override;
  std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) override;
  std::string UserDataDirectory() override { return ""; }
  bool CreateFolder(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
  std::string LastErrorText() override { return lastError_; }
  std::string GetProfileString(const std::string& file, const std::string& section, const std::string& key) override;
  bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override;
  std::optional<RegistryValue> QueryRegistryValue(uint32_t, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void MessageBox(const std::string& text, const std::string& title) override;
  void LowerSaverWindow() override {}
  [[noreturn]] void EndProcess(int code) override;
  uint32_t MciSendString(const std::string& command, std::string& reply) override;
  void PlaySoundNamed(const std::string&, uint32_t) override {}
  void PlaySoundMemory(const std::vector<uint8_t>&, uint32_t) override {}
  uint32_t WaveMixInit() override;
  uint32_t WaveMixOpenWave(uint32_t session, const std::string& path) override;
  void WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) override;
  void WaveMixActivate(uint32_t session, bool activate) override;
  void WaveMixPlay(const uint8_t (&params)[24]) override;
  void WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) override;
  void WaveMixFreeWave(uint32_t session, uint32_t wave) override;
  void WaveMixCloseSession(uint32_t session) override;
  void PwdChangePassword(const std::string&, int32_t) override {}
  int VerifyScreenSavePwd() override { return 1; }
  Rect ClientRect(int64_t) override { return Rect{}; }
  void ShowSaverWindow(RunWindows& windows) override;
  void EmbedPreviewWindow(RunWindows&, int64_t, const Rect&) override {}
  void ShowConfigurationWindow(RunWindows&) override {}
  void RefreshWindow() override { Present(false); }

  std::string lastMessage;  // the last message box's text

 private:
  static constexpr const char* kWindowsDir = "C:\\WINDOWS";
  std::string HostPath(const std::string& programPath) const;
  void Present(bool whole);
  template <class F>
  void Forward(F&& event);

  Page& page_;
  System* program_ = nullptr;
  int width_, height_;
  bool repeatable_;
  kit::SimulatedClock clock_;
  std::string settingsText_;
  RunWindows* run_ = nullptr;
  std::optional<kit::TickScheduler> ticks_;
  int64_t elapsedMs_ = 0;
  bool ending_ = false;
  bool whole_ = true;
  std::string lastError_;
  kit::ClockedSongs songs_;  // timed by the timers, heard from the page
};

}  // namespace dusk::web
