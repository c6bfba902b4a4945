// The seam on Linux: files, settings, the song strings, MIDI and the timers' schedule from the
// host kit (hosts/kit), a real clock, SDL windows that show the saver's canvas on every display, in a window or in
// an X window of a screen-saver daemon, the wave mixer on an SDL audio device, and the songs'
// MCI strings answered by a FluidSynth sequencer.
#pragma once

#include <SDL.h>
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/sdl/audio.h"
#include "hosts/sdl/options.h"
#include "hosts/sdl/sequencer.h"
#include "hosts/kit/files.h"
#include "hosts/kit/ticks.h"
#include "platform/controls.h"
#include "startup/program.h"

namespace dusk::sdl {

class SdlOs : public Os {
 public:
  SdlOs(const Options& options, std::string dataDir, std::string settingsText);
  ~SdlOs() override;

  // Opens the display and decides the screen the program lays its scene out for. False, with
  // the reason, when there is no display or the X window cannot be used; `badWindow` tells the
  // second (a wrong command line) from the first.
  bool OpenVideo(std::string& error, bool& badWindow);
  // Runs the saver until it ends; the process's exit code.
  int Run();

  // --- Os ---
  std::string WindowsDirectory() override { return kWindowsDir; }
  int ScreenWidthPixels() override { return screenW_; }
  int ScreenHeightPixels() override { return screenH_; }
  uint64_t FindTopWindow(const std::string&) override { return 0; }
  bool AnotherInstanceRunning() override { return false; }  // one saver per screen is normal here
  double ClockSeconds() override;
  LocalTime Now() override;
  std::string TimeDesignator(bool afternoon) override { return afternoon ? "PM" : "AM"; }
  int PlatformId() override { return 2; }
  void SetScreenSaverRunning(bool) override {}
  void ShowCursor(bool show) override;
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
  void LowerSaverWindow() override;
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
  void EmbedPreviewWindow(RunWindows&, int64_t, const Rect&) override {}
  void ShowConfigurationWindow(RunWindows&) override {}
  std::vector<Rect> OtherMonitors() override;
  bool SaverWindowGiven() override { return o_.where == Where::kXWindow; }
  void ShowSaverWindow(RunWindows& windows) override;
  void RefreshWindow() override;

 private:
  // One place the scene is shown: a full-screen window per display, the trial window, or the
  // X window of a daemon.
  struct Output {
    SDL_Window* window = nullptr;
    cairo_surface_t* staging = nullptr;  // canvas and labels put together
    bool whole = true;  // the next presentation sends all of it (first, exposed, resized)
  };
  // The Windows directory as the program sees it: the settings file's folder stands for it, and
  // its data folder is the data folder found.
  static constexpr const char* kWindowsDir = "C:\\WINDOWS";
  std::string HostPath(const std::string& programPath) const;
  int64_t MsSinceStart() const;
  int64_t TimerClock() const;
  void Loop();
  void SyncTimers(int64_t now);
  void Handle(const SDL_Event& e);
  void Present(size_t window, bool whole = false);
  template <class F>
  void Forward(F&& event);
  void CloseOutputs();

  const Options& o_;
  std::string dataDir_;
  std::string settingsText_;
  Program* p_ = nullptr;
  RunWindows* run_ = nullptr;
  bool videoUp_ = false;
  bool ending_ = false;
  bool keepsPixels_ = true;  // a window's pixels stay between frames: only changes are sent
  int screenW_ = 800, screenH_ = 600;
  uint64_t xWindow_ = 0;
  std::vector<SDL_Rect> displays_;
  std::vector<Output> outputs_;
  std::optional<kit::TickScheduler> ticks_;  // the saver window's timers, once it shows
  int64_t elapsedMs_ = 0;  // the time of the timer that fired last (a repeatable run's clock)
  kit::SimulatedClock clock_;  // a repeatable run's readings: the seed, the time of day asked for
  std::string lastError_;
  uint64_t startTicks_ = 0;
  AudioOut audio_;
  std::unique_ptr<MciSequencer> sequencer_;
};

// SIGTERM and SIGINT end the saver cleanly, and within a second whatever it is doing; X errors
// about a daemon's window that went away end it quietly. Called first, before any X call.
void InstallEndHandlers();
// Whether SIGTERM or SIGINT (or the loss of the daemon's window) asked the saver to end.
bool EndRequested();

// The General MIDI soundfont to play songs with: $DUSKHOLLOW_SOUNDFONT when set, else the
// system's default (the sf2-soundfont-gm alternative) or a known one; "" when there is none.
std::string FindSoundFont();

}  // namespace dusk::sdl
