// The seam: every operating-system service the core uses, in the core's own terms. The Win32 host
// implements it with the real calls; the headless host and the tests with portable stand-ins.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/frame.h"

namespace dusk {

struct LocalTime {
  int hour = 0, minute = 0, second = 0;
};

// A registry value as read: the type code (4 = DWORD) and the bytes returned.
struct RegistryValue {
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

constexpr uint32_t kHkeyCurrentUser = 0x80000001u;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kSndNoDefault = 2;
constexpr uint32_t kSndAsyncMemory = 5;

class Os {
 public:
  virtual ~Os() = default;

  // --- the machine ---
  virtual std::string WindowsDirectory() = 0;  // as the system reports it, backslash or not
  virtual int ScreenWidthPixels() = 0;
  virtual int ScreenHeightPixels() = 0;
  // Every monitor but the primary, on the virtual screen (left of or above the primary: negative).
  virtual std::vector<Rect> OtherMonitors() = 0;
  // The saver draws into a window someone else made and sized (a screen-saver daemon's), not a
  // screen of its own: the screen size above is that window's.
  virtual bool SaverWindowGiven() { return false; }
  virtual uint64_t FindTopWindow(const std::string& title) = 0;  // 0 if none
  virtual bool AnotherInstanceRunning() = 0;  // also marks this instance as running
  virtual double ClockSeconds() = 0;          // seconds since midnight: seeds the generator
  virtual LocalTime Now() = 0;
  virtual std::string TimeDesignator(bool afternoon) = 0;  // the system's AM / PM texts
  virtual int PlatformId() = 0;  // 1 the Windows 95 family, 2 the NT family
  virtual void SetScreenSaverRunning(bool running) = 0;
  virtual void ShowCursor(bool show) = 0;

  // --- files ---
  virtual std::string FindFirstNormalFile(const std::string& path) = 0;  // bare name, or ""
  virtual std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) = 0;
  // The user's own application-data folder, "" when the system names none. Paths and texts at
  // the seam are UTF-8, whatever the system's code page.
  virtual std::string UserDataDirectory() = 0;
  virtual bool CreateFolder(const std::string& path) = 0;  // true when it exists afterwards
  virtual bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
  // Why the last file or settings write that failed was refused, in the system's words.
  virtual std::string LastErrorText() = 0;

  // --- settings and registry ---
  // A bare file name lives in the Windows directory; the value comes back cut to 127 characters.
  // A write reports whether the file now holds the value (a failed one leaves the file as it was).
  virtual std::string GetProfileString(const std::string& file, const std::string& section,
                                       const std::string& key) = 0;
  virtual bool WriteProfileString(const std::string& file, const std::string& section,
                                  const std::string& key, const std::string& value) = 0;
  virtual std::optional<RegistryValue> QueryRegistryValue(uint32_t root, const std::string& path,
                                                          const std::string& name) = 0;

  // --- messages and the end of the process ---
  virtual void MessageBox(const std::string& text, const std::string& title) = 0;  // waits for OK
  virtual void LowerSaverWindow() = 0;  // the saver window leaves the topmost layer
  [[noreturn]] virtual void EndProcess(int code) = 0;

  // --- multimedia ---
  virtual uint32_t MciSendString(const std::string& command, std::string& reply) = 0;
  virtual void PlaySoundNamed(const std::string& name, uint32_t flags) = 0;
  virtual void PlaySoundMemory(const std::vector<uint8_t>& wave, uint32_t flags) = 0;

  // --- the wave mixer ---
  virtual uint32_t WaveMixInit() = 0;
  virtual uint32_t WaveMixOpenWave(uint32_t session, const std::string& path) = 0;
  virtual void WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) = 0;
  virtual void WaveMixActivate(uint32_t session, bool activate) = 0;
  virtual void WaveMixPlay(const uint8_t (&params)[24]) = 0;
  virtual void WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) = 0;
  virtual void WaveMixFreeWave(uint32_t session, uint32_t wave) = 0;
  virtual void WaveMixCloseSession(uint32_t session) = 0;

  // --- password functions of the Windows 95 family, bound when used ---
  virtual void PwdChangePassword(const std::string& provider, int32_t parentWindow) = 0;
  virtual int VerifyScreenSavePwd() = 0;  // owned by the saver window; 0: not verified

  // --- windows of the run modes ---
  virtual Rect ClientRect(int64_t window) = 0;  // empty for 0 or an unknown window
  // Each shows the mode's window(s) and hands them `windows` for their frames, timers and input.
  virtual void ShowSaverWindow(RunWindows& windows) = 0;
  virtual void EmbedPreviewWindow(RunWindows& windows, int64_t parent, const Rect& rect) = 0;
  virtual void ShowConfigurationWindow(RunWindows& windows) = 0;
  virtual void RefreshWindow() = 0;  // send the mode's windows their frames now
};

// Ends the process through the host; should a host ever return from that, the process still ends.
[[noreturn]] void EndProcessNow(Os& os, int code);

}  // namespace dusk
