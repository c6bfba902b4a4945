// One running instance of the program: the global state of every module, owned in one place and
// created by the host, so that each test can start from a fresh one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/numbers.h"
#include "platform/runtime.h"
#include "platform/seam.h"
#include "platform/surface.h"
#include "scene/records.h"

namespace dusk {

class ScreenSaver;
class PreviewScreen;
class Configuration;

// Run modes
constexpr int16_t kModeNone = 0, kModeSaver = 1, kModeConfigure = 2, kModePassword = 3, kModePreview = 4;

struct Settings {
  Int16 Speed;  // frame interval in milliseconds
  std::string MessageText;
  FixedArray<int16_t, 0, 11> SongOn;
  FixedArray<int16_t, 0, 11> SoundOn;
  int16_t ClockOn = kFalse;
};

// The saver's wave-mixer state, read by the creature routines and by the clean-up.
struct SoundState {
  uint32_t MixSession = 0;
  int16_t SoundAvailable = kFalse;
  FixedArray<uint32_t, 0, 11> WaveHandle;
  FixedArray<FixedArray<Int16, 0, 11>, 0, 11> PlayParams;  // twelve 16-bit fields = 24 bytes each
  Int16 NextEffect;
  Int16 CurrentSong;
  std::string MciReply;
  uint32_t MciResult = 0;
};

struct Program {
  explicit Program(Os& os);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Os& os;

  // Starter
  Int16 RunMode;
  std::string CmdLine, CmdSwitch;
  uint64_t DisplayPropsWnd = 0;
  Int16 ScreenWidth, ScreenHeight;
  Int16 SceneLeftLimit, SceneRightLimit, SceneTopLimit, SceneFarLimit;
  int64_t PreviewParent = 0;
  Rect PreviewRect;
  Int32 PasswordParent;
  std::string OsVersion;
  Int16 UsePassword;
  RandomGenerator Rnd;

  // Settings file and data folder
  std::string WindowsDir, DataDir;
  Settings settings;

  // Error reporting
  std::string ErrorStep;
  int exitCode = 0;  // what the process ends with: 1 once an error was reported

  // Twips per pixel of the screen (15 at 96 dots per inch), set by the host
  double TwipsPerPixelX = 15, TwipsPerPixelY = 15;

  // Surfaces of start-up
  Surfaces surfaces;
  Int32 PaletteSurface, BackBuffer, PreviewStrip;

  // Animations
  Scene scene;

  // Sounds of the saver
  SoundState sound;
  std::vector<int> effectsPlayed;  // effect numbers played, in order, for hosts that record them

  // The window of the run mode, once loaded
  std::unique_ptr<ScreenSaver> screenSaver;
  std::unique_ptr<PreviewScreen> previewScreen;
  std::unique_ptr<Configuration> configuration;
};

inline constexpr const char* kSettingsFile = "tarnix.ini";
inline constexpr const char* kSettingsSection = "Duskhollow";
inline constexpr const char* kDataFolderName = "Duskhollow";

}  // namespace dusk
