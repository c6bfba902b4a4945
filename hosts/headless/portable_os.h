// The seam as a stand-in for the headless host and the tests: a Windows directory mapped onto a
// real folder, our own INI files, an in-memory registry, a simulated clock, an MCI sequencer that
// knows how long each song lasts, and a record of every call. Its file, settings, MCI and clock
// services are the host kit's (hosts/kit), shared with the Linux saver.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hosts/kit/mci.h"
#include "platform/seam.h"

namespace dusk {

class PortableOs : public Os {
 public:
  // `realWindowsDir` is the folder that stands for the Windows directory "C:\WINDOWS".
  explicit PortableOs(std::string realWindowsDir);

  // --- what the machine looks like (set before the program runs) ---
  std::string virtualWindowsDir = "C:\\WINDOWS";
  // The user's application-data folder as the program sees it, and the real folder standing for
  // it ("" for either: the user has none).
  std::string virtualUserDataDir, realUserDataDir;
  int screenWidth = 800, screenHeight = 600;
  std::vector<Rect> otherMonitors;
  bool saverWindowGiven = false;
  int platformId = 2;
  bool anotherInstance = false;
  std::set<std::string> topWindows;        // titles of open top-level windows
  double clockSeconds = 43200;             // what the random generator is seeded with
  LocalTime localTime{21, 5, 0};           // the time of day at the start of the run
  std::map<std::string, RegistryValue> registry;  // "path\\name" -> value
  std::set<std::string> hiddenFiles;       // names (any case) that have the hidden attribute
  std::set<std::string> readOnlyFiles;     // program paths (any case) that refuse writes
  bool mixerAvailable = true;
  std::function<int()> verifyPassword = [] { return 1; };
  // How long a song file plays, in seconds; negative when it is not a song the sequencer opens.
  std::function<double(const std::vector<uint8_t>&)> songSeconds;

  // --- the simulated clock ---
  int64_t elapsedMs = 0;

  // --- what happened ---
  // Only while asked: a run that nobody watches (the headless host without a dump) keeps none of
  // the lists below, however long it runs.
  bool keepRecords = true;
  std::vector<std::string> calls;     // every seam call that changes something, in order
  std::vector<std::string> mci;       // MCI command strings sent
  std::vector<std::string> mixer;     // mixer operations called
  std::vector<std::string> messages;  // message boxes shown (always kept: each ends the run)
  int cursorShows = 0, cursorHides = 0;
  bool screenSaverRunning = false;
  std::vector<std::string> soundsPlayed;  // sndPlaySound requests
  RunWindows* runWindows = nullptr;  // the mode's windows, once shown
  int64_t previewParent = 0;
  int refreshes = 0;

  // The real path of a program path (drive letter, backslashes) or of a bare settings file name.
  std::string RealPath(const std::string& programPath) const;

  // --- Os ---
  std::string WindowsDirectory() override;
  int ScreenWidthPixels() override { return screenWidth; }
  int ScreenHeightPixels() override { return screenHeight; }
  std::vector<Rect> OtherMonitors() override { return otherMonitors; }
  bool SaverWindowGiven() override { return saverWindowGiven; }
  uint64_t FindTopWindow(const std::string& title) override;
  bool AnotherInstanceRunning() override { return anotherInstance; }
  double ClockSeconds() override { return clockSeconds + elapsedMs / 1000.0; }
  LocalTime Now() override;
  std::string TimeDesignator(bool afternoon) override { return afternoon ? "PM" : "AM"; }
  int PlatformId() override { return platformId; }
  void SetScreenSaverRunning(bool running) override;
  void ShowCursor(bool show) override;
  std::string FindFirstNormalFile(const std::string& path) override;
  std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) override;
  std::string UserDataDirectory() override { return realUserDataDir.empty() ? "" : virtualUserDataDir; }
  bool CreateFolder(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
  std::string LastErrorText() override { return lastError_; }
  std::string GetProfileString(const std::string& file, const std::string& section,
                               const std::string& key) override;
  bool WriteProfileString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value) override;
  std::optional<RegistryValue> QueryRegistryValue(uint32_t root, const std::string& path,
                                                  const std::string& name) override;
  void MessageBox(const std::string& text, const std::string& title) override;
  void LowerSaverWindow() override { calls.push_back("LowerSaverWindow"); }
  [[noreturn]] void EndProcess(int code) override;
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
  void PwdChangePassword(const std::string& provider, int32_t parentWindow) override;
  int VerifyScreenSavePwd() override;
  Rect ClientRect(int64_t window) override;
  void ShowSaverWindow(RunWindows& windows) override;
  void EmbedPreviewWindow(RunWindows& windows, int64_t parent, const Rect& rect) override;
  void ShowConfigurationWindow(RunWindows& windows) override;
  void RefreshWindow() override { ++refreshes; }

  // Windows a test or host says exist (handle -> client rectangle).
  std::map<int64_t, Rect> windows;

 private:
  std::string realDir_;
  std::string lastError_;
  bool Refused(const std::string& path);
  kit::ClockedSongs songs_;
  uint32_t nextWave_ = 1;
  void Log(const std::string& line) {
    if (keepRecords) calls.push_back(line);
  }
  void Mixer(const std::string& line) {
    if (!keepRecords) return;
    mixer.push_back(line);
    calls.push_back("mixer " + line);
  }
};

}  // namespace dusk
