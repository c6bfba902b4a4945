#include "hosts/sdl/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "hosts/headless/portable_os.h"
#include "platform/ini.h"
#include "scene/catalogue.h"
#include "settings_dialog/configuration.h"
#include "startup/program.h"
#include "startup/starter.h"

namespace dusk::sdl {
namespace {

const char* kUsage =
    "usage: duskhollow [options]\n"
    "A moonlit graveyard screen saver. A key or a click ends it.\n"
    "\n"
    "Where it draws (full screen on every display unless told otherwise):\n"
    "  --window            in an ordinary window, for trying it out\n"
    "  --window-id ID      into the X window ID (decimal or 0x...); takes no input\n"
    "  --root              into $XSCREENSAVER_WINDOW, else the root window; takes no input\n"
    "                      (XSCREENSAVER_WINDOW alone also means --root)\n"
    "\n"
    "Settings (override those in $XDG_CONFIG_HOME/duskhollow/tarnix.ini):\n"
    "  --speed MS          milliseconds between frames (1 to 1000; 70 is the usual pace)\n"
    "  --clock, --no-clock show the time at the top right, or not\n"
    "  --monitors, --no-monitors  the scene on every display, or on the first only\n"
    "  --proportions, --no-proportions  keep the picture's proportions (black bars), or stretch\n"
    "  --message TEXT      a message across the top (\"\" for none)\n"
    "  --creatures LIST    only these creatures, comma-separated (or all, none):\n"
    "                      %s\n"
    "  --NAME, --no-NAME   one creature on or off (for example --owl, --no-bat)\n"
    "  --no-music          no songs\n"
    "  --no-sound          no sound effects\n"
    "  --data DIR          the data folder (default: next to the program, else %s)\n"
    "  --help, --version\n"
    "\n"
    "The settings dialog, the preview in the display control panel and the Windows 95 password\n"
    "exist only on Windows.\n";

std::vector<std::string> CreatureNames() {
  std::vector<std::string> out;
  for (const CreatureEntry& c : kCreatures) out.emplace_back(c.key);
  return out;
}

bool IsCreature(const std::string& name) {
  for (const std::string& c : CreatureNames())
    if (c == name) return true;
  return false;
}

void Usage(FILE* to) {
  std::string list;
  for (const std::string& c : CreatureNames()) list += (list.empty() ? "" : ",") + c;
  std::fprintf(to, kUsage, list.c_str(), DUSK_INSTALLED_DATA_DIR);
}

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "duskhollow: %s\n(duskhollow --help lists the options)\n", message.c_str());
  std::exit(2);
}

long long Number(const std::string& option, const std::string& text, long long lo, long long hi) {
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end || errno || v < lo || v > hi)
    Fail(option + " needs a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ", not '" + text + "'");
  return v;
}

uint64_t WindowId(const std::string& from, const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
  if (text.empty() || text[0] == '-' || *end || errno || v == 0 || v > 0xFFFFFFFFull)
    Fail(from + " is not an X window id: '" + text + "'");
  return v;
}

std::string DefaultSettingsFile() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg == '/') base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
  else base = ".config";
  return base + "/duskhollow/" + kSettingsFile;
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options o;
  o.settingsFile = DefaultSettingsFile();
  bool whereGiven = false;
  auto setWhere = [&](Where w) {
    if (whereGiven && o.where != w) Fail("choose one of --window, --window-id and --root");
    whereGiven = true;
    o.where = w;
  };
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    // XScreenSaver's own spelling of options has one dash.
    if (a.size() > 2 && a[0] == '-' && a[1] != '-') a = "-" + a;
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Fail(a + " needs a value");
      return argv[++i];
    };
    const std::string lower = [&] {
      std::string s = a;
      for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return s;
    }();
    if (a == "--help" || a == "-h") {
      Usage(stdout);
      std::exit(0);
    } else if (a == "--version") {
      std::printf("duskhollow %s\n", DUSK_VERSION);
      std::exit(0);
    } else if (a == "--xscreensaver-config") {
      std::fputs(XScreenSaverConfig().c_str(), stdout);
      std::exit(0);
    } else if (a == "--window") {
      setWhere(Where::kWindow);
    } else if (a == "--window-id") {
      setWhere(Where::kXWindow);
      o.xWindow = WindowId("--window-id", value());
    } else if (a == "--root") {
      setWhere(Where::kXWindow);
      o.root = true;
    } else if (a == "--speed") {
      o.overrides["speed"] = std::to_string(Number(a, value(), 1, 1000));
    } else if (a == "--clock" || a == "--monitors" || a == "--proportions") {
      o.overrides[a.substr(2)] = "1";
    } else if (a == "--no-clock" || a == "--no-monitors" || a == "--no-proportions") {
      o.overrides[a.substr(5)] = "0";
    } else if (a == "--message") {
      o.overrides["messagetext"] = value();
    } else if (a == "--creatures") {
      std::string list = value();
      std::vector<std::string> wanted;
      if (list != "none") {
        size_t start = 0;
        while (start <= list.size()) {
          size_t comma = list.find(',', start);
          std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
          if (name == "all") {
            for (const std::string& c : CreatureNames()) wanted.push_back(c);
          } else if (!name.empty()) {
            if (!IsCreature(name)) Fail("no creature is called '" + name + "' (duskhollow --help lists them)");
            wanted.push_back(name);
          }
          if (comma == std::string::npos) break;
          start = comma + 1;
        }
      }
      for (const std::string& c : CreatureNames()) o.overrides[c] = "0";
      for (const std::string& c : wanted) o.overrides[c] = "1";
    } else if (a == "--no-music") {
      for (int n = 0; n <= 11; ++n) o.overrides["song" + std::to_string(n)] = "0";
    } else if (a == "--no-sound") {
      o.sound = false;
    } else if (a == "--data") {
      o.dataDir = value();
      if (!std::filesystem::is_directory(o.dataDir)) Fail("no data folder at " + o.dataDir);
    } else if (a == "--seed") {
      o.seed = Number(a, value(), 0, 1000000000);
    } else if (a == "--time") {
      const std::string v = value();
      int h, m;
      char tail;
      if (std::sscanf(v.c_str(), "%d:%d%c", &h, &m, &tail) != 2 || h < 0 || h > 23 || m < 0 || m > 59)
        Fail("--time needs HH:MM");
      o.hour = h;
      o.minute = m;
    } else if (a == "--ticks") {
      o.ticks = Number(a, value(), 1, 100000000);
    } else if (a.rfind("--no-", 0) == 0 && IsCreature(a.substr(5))) {
      o.overrides[a.substr(5)] = "0";
    } else if (a.rfind("--", 0) == 0 && IsCreature(a.substr(2))) {
      o.overrides[a.substr(2)] = "1";
    } else if (lower == "/s" || lower == "-s") {
      // The Windows saver switch: this is what runs anyway.
    } else if (lower.rfind("/c", 0) == 0 || lower.rfind("-c", 0) == 0) {
      Fail("the settings dialog (" + a + ") exists only on Windows; on Linux edit " + o.settingsFile +
           ", use XScreenSaver's settings, or give options (duskhollow --help)");
    } else if (lower.rfind("/p", 0) == 0 || lower.rfind("-p", 0) == 0 || lower == "/l") {
      Fail("the display control panel's preview (" + a + ") exists only on Windows; use --window-id");
    } else if (lower.rfind("/a", 0) == 0 || lower.rfind("-a", 0) == 0) {
      Fail("the Windows 95 screen saver password (" + a + ") exists only on Windows");
    } else {
      Fail("unknown option " + a);
    }
  }
  // A saver started by XScreenSaver finds its window in the environment.
  const char* env = std::getenv("XSCREENSAVER_WINDOW");
  if (env && *env && (!whereGiven || (o.where == Where::kXWindow && o.root))) {
    o.where = Where::kXWindow;
    o.xWindow = WindowId("XSCREENSAVER_WINDOW", env);
    o.root = false;
  }
  return o;
}

std::string XScreenSaverConfig() {
  PortableOs none("/nonexistent/duskhollow-defaults");
  Program p(none);
  X_GetData(p);  // the defaults
  Configuration dialog(p);
  auto xml = [](std::string s) {
    std::string out;
    for (char c : s) {
      if (c == '&') out += "&amp;";
      else if (c == '<') out += "&lt;";
      else if (c == '>') out += "&gt;";
      else if (c == '"') out += "&quot;";
      else out += c;
    }
    return out;
  };
  std::string x =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<screensaver name=\"duskhollow\" _label=\"Duskhollow\">\n"
      "  <command arg=\"--root\"/>\n"
      "  <hgroup>\n  <vgroup>\n";
  const int speed = static_cast<int16_t>(p.settings.Speed);
  x += "  <number id=\"speed\" type=\"slider\" arg=\"--speed %\" _label=\"Frame interval\" _low-label=\"Fast\" "
       "_high-label=\"Slow\" low=\"1\" high=\"" + std::to_string(dialog.speedchk.Max) + "\" default=\"" + std::to_string(speed) + "\"/>\n";
  x += std::string("  <boolean id=\"clock\" _label=\"") + xml(dialog.clockcheck.Caption) + "\" " +
       (p.settings.ClockOn ? "arg-unset=\"--no-clock\"" : "arg-set=\"--clock\"") + "/>\n";
  x += std::string("  <boolean id=\"monitors\" _label=\"") + xml(dialog.monitorscheck.Caption) + "\" " +
       (p.settings.MonitorsOn ? "arg-unset=\"--no-monitors\"" : "arg-set=\"--monitors\"") + "/>\n";
  x += std::string("  <boolean id=\"proportions\" _label=\"") + xml(dialog.proportionscheck.Caption) + "\" " +
       (p.settings.KeepProportions ? "arg-unset=\"--no-proportions\"" : "arg-set=\"--proportions\"") + "/>\n";
  x += "  <string id=\"message\" _label=\"Message\" arg=\"--message %\"/>\n";
  x += "  <boolean id=\"music\" _label=\"Music\" arg-unset=\"--no-music\"/>\n";
  x += "  <boolean id=\"sound\" _label=\"Sound effects\" arg-unset=\"--no-sound\"/>\n";
  x += "  </vgroup>\n  <vgroup>\n";
  size_t i = 0;
  for (const CreatureRow& row : dialog.Creatures) {
    if (i++ == dialog.Creatures.size() / 2) x += "  </vgroup>\n  <vgroup>\n";
    const bool on = row.Record && row.Record->Enabled;
    x += "  <boolean id=\"" + row.Key + "\" _label=\"" + xml(row.Check.Caption) + "\" " +
         (on ? "arg-unset=\"--no-" + row.Key + "\"" : "arg-set=\"--" + row.Key + "\"") + "/>\n";
  }
  x += "  </vgroup>\n  </hgroup>\n"
       "  <_description>\n"
       "A moonlit graveyard where bats, crows, an owl, skeletons, a zombie, a lost spirit, fireflies,\n"
       "a rising hand and lightning come and go, with music and sound effects.\n"
       "  </_description>\n"
       "</screensaver>\n";
  return x;
}

std::string EffectiveSettings(const std::string& fileText, const std::map<std::string, std::string>& overrides) {
  if (overrides.empty()) return fileText;
  std::string text = fileText;
  const std::string firstRun = ini::Get(text, kSettingsSection, "firstrun");
  if (std::atof(firstRun.c_str()) <= 0) {
    // Never written: the program's own defaults, as it would apply them, become the base.
    PortableOs none("/nonexistent/duskhollow-defaults");
    Program p(none);
    X_GetData(p);
    auto put = [&](const std::string& key, const std::string& value) { text = ini::Put(text, kSettingsSection, key, value); };
    put("firstrun", "1");
    for (const CreatureEntry& c : kCreatures) put(c.key, c.record(p.scene).Enabled ? "1" : "0");
    put("speed", std::to_string(static_cast<int16_t>(p.settings.Speed)));
    put("messagetext", p.settings.MessageText);
    put("clock", p.settings.ClockOn ? "1" : "0");
    put("monitors", p.settings.MonitorsOn ? "1" : "0");
    put("proportions", p.settings.KeepProportions ? "1" : "0");
    for (int n = 0; n <= 11; ++n) put("song" + std::to_string(n), p.settings.SongOn[n] ? "1" : "0");
    for (int n = 0; n <= 11; ++n) put("sound" + std::to_string(n), p.settings.SoundOn[n] ? "1" : "0");
  }
  for (const auto& [key, value] : overrides) text = ini::Put(text, kSettingsSection, key, value);
  return text;
}

}  // namespace dusk::sdl
