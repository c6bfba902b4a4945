// The command line of the Linux saver: where it draws, which settings the command line overrides,
// and the options the tests use to make a run repeatable.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace dusk::sdl {

enum class Where { kFullScreen, kWindow, kXWindow };

struct Options {
  Where where = Where::kFullScreen;
  uint64_t xWindow = 0;          // with kXWindow; 0 with `root` until the root window is known
  bool root = false;             // --root without XSCREENSAVER_WINDOW: the root window
  std::string dataDir;           // --data, else found next to the program or installed
  std::string settingsFile;      // $XDG_CONFIG_HOME/duskhollow/tarnix.ini
  std::map<std::string, std::string> overrides;  // settings keys the command line sets
  bool sound = true;             // false: no wave output is opened
  // Repeatable runs (not in --help): the random generator's seed, the time of day, and the frame
  // after which the scene holds still.
  std::optional<long long> seed;
  int hour = -1, minute = 0;
  long long ticks = 0;
};

// What the command line asks for. Prints usage or version and ends (0), or prints what is wrong
// and ends (2), when it asks for no run.
Options ParseOptions(int argc, char** argv);

// The settings description XScreenSaver's dialog shows: every creature (with the settings dialog's
// captions), speed, clock, message, music and sound, with the program's defaults.
std::string XScreenSaverConfig();

// The settings file's text as the saver should read it: the file's keys, or the program's defaults
// where the file was never written, with the command line's keys over them.
std::string EffectiveSettings(const std::string& fileText, const std::map<std::string, std::string>& overrides);

}  // namespace dusk::sdl
