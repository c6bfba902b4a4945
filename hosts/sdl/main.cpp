// duskhollow: the screen saver on Linux. Full screen on every display, in a window, or inside the
// X window of a screen-saver daemon, with the settings of tarnix.ini and the command line.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "hosts/kit/files.h"
#include "hosts/sdl/options.h"
#include "hosts/sdl/sdl_os.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& message, int code = 2) {
  std::fprintf(stderr, "duskhollow: %s\n", message.c_str());
  std::exit(code);
}

// The data folder: the one given, the build tree's next to the program, or the installed one.
std::string FindDataDir(const dusk::sdl::Options& o) {
  if (!o.dataDir.empty()) return fs::absolute(o.dataDir).string();
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  std::string looked;
  if (!ec) {
    const fs::path built = self.parent_path().parent_path() / "data" / "Duskhollow";
    if (fs::is_directory(built, ec)) return built.string();
    looked = built.string() + " and ";
  }
  if (fs::is_directory(DUSK_INSTALLED_DATA_DIR, ec)) return DUSK_INSTALLED_DATA_DIR;
  Fail("no data folder (looked in " + looked + DUSK_INSTALLED_DATA_DIR + "); reinstall duskhollow or give --data DIR");
}

// The settings file's text, decoded; "" when it was never saved. Only a regular file of sensible
// size is read: a pipe or a device in its place would hold the saver up for good.
std::string ReadSettings(const std::string& path) {
  std::string problem;
  const auto text = dusk::kit::ReadSettingsText(path, &problem);
  if (!text) Fail("cannot read the settings file " + path + ": " + problem);
  return *text;
}

// Signals and X errors are caught from the program's first moment, before static objects and main.
[[gnu::constructor]] void CatchEndEarly() { dusk::sdl::InstallEndHandlers(); }

}  // namespace

int main(int argc, char** argv) {
  const dusk::sdl::Options options = dusk::sdl::ParseOptions(argc, argv);
  const std::string dataDir = FindDataDir(options);
  if (!fs::is_regular_file(fs::path(dataDir) / "h_palette.bmp"))
    Fail("the data folder " + dataDir + " holds no pictures of the scene");
  const std::string settings = dusk::sdl::EffectiveSettings(ReadSettings(options.settingsFile), options.overrides);
  dusk::sdl::SdlOs os(options, dataDir, settings);
  std::string error;
  bool badWindow = false;
  if (!os.OpenVideo(error, badWindow)) {
    if (error.empty() && dusk::sdl::EndRequested()) return 0;
    Fail(error, badWindow ? 2 : 1);
  }
  return os.Run();
}
