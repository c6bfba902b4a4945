// The System module: the state every layer of the program shares, error reporting, surfaces,
// settings access and small utilities.
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/labels.h"
#include "platform/runtime.h"
#include "platform/seam.h"
#include "platform/sounds.h"
#include "platform/surface.h"

namespace dusk {

// Run modes
constexpr int16_t kModeNone = 0, kModeSaver = 1, kModeConfigure = 2, kModePassword = 3, kModePreview = 4;

inline constexpr const char* kSettingsFile = "tarnix.ini";
inline constexpr const char* kSettingsSection = "Duskhollow";
inline constexpr const char* kDataFolderName = "Duskhollow";

// The settings file's values other than the creatures (which live in their records).
struct Settings {
  Int16 Speed;  // frame interval in milliseconds
  std::string MessageText;
  FixedArray<int16_t, 0, 11> SongOn;
  FixedArray<int16_t, 0, 11> SoundOn;
  int16_t ClockOn = kFalse;
  int16_t MonitorsOn = kTrue;        // the scene on every other monitor too
  int16_t KeepProportions = kFalse;  // letter- or pillar-box instead of stretching
};

// What the whole program shares: the system it runs on, the run mode, the screen, the settings,
// the surfaces, the sounds and the error state. The layers above extend it with their own state.
struct System {
  explicit System(Os& os_) : os(os_) {}
  System(const System&) = delete;
  System& operator=(const System&) = delete;

  Os& os;

  Int16 RunMode;
  std::string OsVersion;
  Int16 UsePassword;
  Int16 ScreenWidth, ScreenHeight;
  // Twips per pixel of the screen (15 at 96 dots per inch), set by the host
  double TwipsPerPixelX = 15, TwipsPerPixelY = 15;

  // Settings file and data folder
  std::string WindowsDir, DataDir;
  // The settings file read and written: the bare name (the Windows directory's file) or, once it
  // exists, the per-user file's full path.
  std::string SettingsFile = kSettingsFile;
  std::string UserSettingsFile;  // the per-user file's full path; "" when the user has no folder
  Settings settings;

  Surfaces surfaces;
  SoundState sound;

  // Error reporting
  std::string ErrorStep;
  int exitCode = 0;  // what the process ends with: 1 once an error was reported

  // The one orderly way out (release everything, stop the music, end the process), installed by
  // start-up; without it a run ends at once.
  void (*cleanupAndEnd)(System&) = nullptr;
};

// Ends the run through the installed clean-up. Never returns.
[[noreturn]] void EndRun(System& p);

// Where users report an error code; shown in every error message.
inline constexpr const char* kSupportAddress = "support@duskhollow.example";
inline constexpr const char* kErrorTitle = "ScreenSaver Error";

// The whole text of the error message box for an error number, step and label.
std::string ErrorMessage(int number, const std::string& step, const std::string& label);

// Shows the error in a message box and ends the program through the clean-up (or directly, when
// the clean-up itself failed). Never returns.
[[noreturn]] void ErrorReport(System& p, const char* label, int number);

// Runs the body of a procedure that owns a label: any failure inside it is reported with that label.
template <class F>
auto Guarded(System& p, const char* label, F&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const RuntimeError& e) {
    ErrorReport(p, label, e.number);
  } catch (const std::bad_alloc&) {
    ErrorReport(p, label, kErrOutOfMemory);
  }
}

// Surfaces
int32_t GenerateDC(System& p, const std::string& path);
int32_t GenerateBufferDC(System& p, Int16 width, Int16 height, int32_t reference);
bool RemoveDC(System& p, int32_t surface);

// Settings access (the file name is bare: it lives in the Windows directory)
std::string GetIniData(System& p, const std::string& file, const std::string& section,
                       const std::string& key);
// True when the file now holds the value; a failed write leaves it as it was.
bool PutIniData(System& p, const std::string& file, const std::string& section,
                const std::string& key, const std::string& value);

// The settings file in use: the per-user one once it exists, else the Windows directory's.
void FindSettingsFile(System& p);
// Writes the key/value pairs, in order, into the settings file in use. When the Windows
// directory's file refuses the write, the per-user file is made from it and written instead.
// When nothing can be written the user is told which file and why; false then.
using SettingPairs = std::vector<std::pair<std::string, std::string>>;
bool SaveSettings(System& p, const SettingPairs& pairs);
inline constexpr const char* kSettingsSavedTitle = "Settings Not Saved";

// Utilities
bool FileInstallCheck(System& p, const std::string& path);
std::string TrimPath(System& p, const std::string& path);
struct FormGeometry {
  double left = 0, top = 0, width = 0, height = 0;  // in twips
};
void CenterForm(System& p, FormGeometry& form);
void SetTFS(System& p, const std::string& mode);
std::string GetVersion32(System& p);
int16_t HiWord(int32_t value);
int16_t LoWord(int32_t value);

}  // namespace dusk
