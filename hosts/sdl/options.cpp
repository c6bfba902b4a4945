#include "hosts/sdl/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "hosts/kit/ticks.h"
#include "platform/ini.h"
#include "platform/system.h"
#include "scene/catalogue.h"
#include "scene/settings_table.h"

namespace dusk::sdl {
namespace {

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "duskhollow: %s\n(duskhollow --help lists the options)\n", message.c_str());
  std::exit(2);
}

// One option as --help and the man page describe it.
struct OptionDoc {
  std::vector<std::string> names;  // "--clock", "--no-clock"
  std::string value;               // the value's name, "" for none
  std::string help;
  std::string more = {};           // a second line of help
  std::vector<std::string> list = {};  // a list after the help (the creatures)
};

struct OptionSection {
  const char* heading;
  std::vector<OptionDoc> options;
};

// The options of the settings table, in its order.
std::vector<OptionDoc> SettingOptions() {
  std::vector<OptionDoc> out;
  for (size_t i = 0; i < kSettingRowCount; ++i) {
    const SettingRow& r = kSettingRows[i];
    const std::string name = r.option ? std::string("--") + r.option : "";
    switch (r.style) {
      case OptionStyle::kNone: break;
      case OptionStyle::kOnOff: out.push_back({{name, "--no-" + std::string(r.option)}, "", r.help}); break;
      case OptionStyle::kAllOff: out.push_back({{name}, "", r.help}); break;
      case OptionStyle::kValue: {
        std::string help = r.help;
        if (r.type == SettingType::kNumber)
          help += " (" + std::to_string(r.optionLow) + " to " + std::to_string(r.optionHigh) + "; " +
                  std::to_string(r.numberDefault) + " is the usual pace)";
        out.push_back({{name}, r.optionValue, help});
        break;
      }
      case OptionStyle::kEachOnOff:
        out.push_back({{name}, r.optionValue, std::string(r.help) + ":", "", {}});
        for (const CreatureEntry& c : kCreatures) out.back().list.push_back(c.key);
        out.push_back({{"--NAME", "--no-NAME"}, "", "one creature on or off (for example --owl, --no-bat)"});
        break;
    }
  }
  return out;
}

std::vector<OptionSection> OptionSections() {
  std::vector<OptionDoc> settings = SettingOptions();
  settings.push_back({{"--no-sound"}, "", "no sound effects"});
  settings.push_back({{"--data"}, "DIR", std::string("the data folder (default: next to the program, else ") +
                                             DUSK_INSTALLED_DATA_DIR + ")"});
  settings.push_back({{"--help", "--version"}, "", "this help, or the version"});
  return {
      {"Where it draws (full screen on every display unless told otherwise):",
       {{{"--window"}, "", "in an ordinary window, for trying it out"},
        {{"--window-id"}, "ID", "into the X window ID (decimal or 0x...); takes no input"},
        {{"--root"}, "", "into $XSCREENSAVER_WINDOW, else the root window; takes no input",
         "(XSCREENSAVER_WINDOW alone also means --root)"}}},
      {"Settings (override those in $XDG_CONFIG_HOME/duskhollow/tarnix.ini):", settings},
  };
}

std::string Joined(const std::vector<std::string>& names, const std::string& separator) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : separator) + n;
  return out;
}

void Usage(FILE* to) {
  std::string text =
      "usage: duskhollow [options]\n"
      "A moonlit graveyard screen saver. A key or a click ends it.\n";
  for (const OptionSection& section : OptionSections()) {
    text += std::string("\n") + section.heading + "\n";
    for (const OptionDoc& o : section.options) {
      std::string flags = "  " + Joined(o.names, ", ") + (o.value.empty() ? "" : " " + o.value);
      if (!o.help.empty()) flags += flags.size() < 22 ? std::string(22 - flags.size(), ' ') : std::string("  ");
      text += flags + o.help + "\n";
      if (!o.more.empty()) text += std::string(22, ' ') + o.more + "\n";
      if (!o.list.empty()) text += std::string(22, ' ') + Joined(o.list, ",") + "\n";
    }
  }
  text +=
      "\n"
      "The settings dialog, the preview in the display control panel and the Windows 95 password\n"
      "exist only on Windows.\n";
  std::fputs(text.c_str(), to);
}

// Text for troff: dashes and backslashes escaped.
std::string Roff(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '-') out += "\\-";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

std::string Sentence(std::string s) {
  if (s.empty()) return s;
  s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
  if (s.back() == ':') s.pop_back();
  return s + ".";
}

// The man page: the template with its marks filled from the options and the settings table.
std::string ManPage(const std::string& templateFile) {
  std::ifstream in(templateFile, std::ios::binary);
  if (!in) Fail("cannot read the man page template " + templateFile);
  std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string synopsis, options;
  for (const OptionSection& section : OptionSections()) {
    std::vector<std::string> group;
    for (const OptionDoc& o : section.options) {
      std::vector<std::string> names;
      for (const std::string& n : o.names) {
        const size_t name = n.find("NAME");
        names.push_back(name == std::string::npos ? "\\fB" + Roff(n) + "\\fR"
                                                  : "\\fB" + Roff(n.substr(0, name)) + "\\fI" + "NAME\\fR");
      }
      const std::string value = o.value.empty() ? "" : " \\fI" + o.value + "\\fR";
      group.push_back(Joined(names, " | ") + value);
      options += ".TP\n" + Joined(names, ", ") + value + "\n";
      std::string help = o.help;
      if (!o.more.empty()) help += " " + o.more;
      if (!o.list.empty()) help += " " + Joined(o.list, ", ");
      help = Sentence(help);
      if (!help.empty()) options += Roff(help) + "\n";
    }
    for (const std::string& g : group) synopsis += "[" + g + "]\n";
  }
  std::string keys;
  for (size_t i = 0; i < kSettingRowCount; ++i) {
    const SettingRow& r = kSettingRows[i];
    keys += keys.empty() ? "" : ", ";
    if (r.creatures) keys += "one key per creature";
    else if (r.count > 1) keys += "\\fB" + std::string(r.key) + "0\\fR..\\fB" + r.key + std::to_string(r.count - 1) + "\\fR";
    else keys += "\\fB" + std::string(r.key) + "\\fR";
  }
  auto fill = [&](const std::string& mark, const std::string& text) {
    for (size_t at; (at = page.find(mark)) != std::string::npos;) page.replace(at, mark.size(), text);
  };
  fill("@VERSION@", DUSK_VERSION);
  fill("@SYNOPSIS@\n", synopsis);
  fill("@OPTIONS@\n", options);
  fill("@KEYS@", keys);
  fill("@DATADIR@", DUSK_INSTALLED_DATA_DIR);
  return page;
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

const CreatureEntry* Creature(const std::string& name) { return FindCreature(name.c_str()); }

// A setting's option: sets its keys in `overrides` and takes its value with `value`; false when
// `a` is no setting's option.
template <class Value>
bool SettingOption(const std::string& a, Value&& value, std::map<std::string, std::string>& overrides) {
  for (size_t i = 0; i < kSettingRowCount; ++i) {
    const SettingRow& r = kSettingRows[i];
    if (!r.option) continue;
    const std::string name = std::string("--") + r.option;
    switch (r.style) {
      case OptionStyle::kNone: break;
      case OptionStyle::kOnOff:
        if (a == name || a == "--no-" + std::string(r.option)) {
          overrides[r.key] = a == name ? "1" : "0";
          return true;
        }
        break;
      case OptionStyle::kValue:
        if (a == name) {
          overrides[r.key] = r.type == SettingType::kNumber
                                 ? std::to_string(Number(a, value(), r.optionLow, r.optionHigh))
                                 : std::string(value());
          return true;
        }
        break;
      case OptionStyle::kAllOff:
        if (a == name) {
          for (const SettingKey& k : SettingKeys())
            if (k.row == &r) overrides[k.key] = "0";
          return true;
        }
        break;
      case OptionStyle::kEachOnOff:
        if (a == name) {
          const std::string list = value();
          std::vector<std::string> wanted;
          size_t start = 0;
          while (list != "none" && start <= list.size()) {
            const size_t comma = list.find(',', start);
            const std::string one = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (one == "all") {
              for (const CreatureEntry& c : kCreatures) wanted.push_back(c.key);
            } else if (!one.empty()) {
              if (!Creature(one)) Fail("no creature is called '" + one + "' (duskhollow --help lists them)");
              wanted.push_back(one);
            }
            if (comma == std::string::npos) break;
            start = comma + 1;
          }
          for (const CreatureEntry& c : kCreatures) overrides[c.key] = "0";
          for (const std::string& c : wanted) overrides[c] = "1";
          return true;
        }
        if (a.rfind("--no-", 0) == 0 && Creature(a.substr(5))) {
          overrides[a.substr(5)] = "0";
          return true;
        }
        if (a.rfind("--", 0) == 0 && Creature(a.substr(2))) {
          overrides[a.substr(2)] = "1";
          return true;
        }
        break;
    }
  }
  return false;
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
    } else if (a == "--man-page") {  // from its template, for the build
      std::fputs(ManPage(value()).c_str(), stdout);
      std::exit(0);
    } else if (a == "--window") {
      setWhere(Where::kWindow);
    } else if (a == "--window-id") {
      setWhere(Where::kXWindow);
      o.xWindow = WindowId("--window-id", value());
    } else if (a == "--root") {
      setWhere(Where::kXWindow);
      o.root = true;
    } else if (SettingOption(a, value, o.overrides)) {
      // a setting
    } else if (a == "--no-sound") {
      o.sound = false;
    } else if (a == "--data") {
      o.dataDir = value();
      if (!std::filesystem::is_directory(o.dataDir)) Fail("no data folder at " + o.dataDir);
    } else if (a == "--seed") {
      o.seed = Number(a, value(), 0, 1000000000);
    } else if (a == "--time") {
      const auto t = kit::ParseTimeOfDay(value());
      if (!t) Fail("--time needs HH:MM");
      o.hour = t->hour;
      o.minute = t->minute;
    } else if (a == "--ticks") {
      o.ticks = Number(a, value(), 1, 100000000);
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
  // A switch's box: ticked by default, it offers the option that turns it off, else the one that turns it on.
  auto boolean = [&](const std::string& id, const std::string& label, bool on, const std::string& option) {
    return "  <boolean id=\"" + id + "\" _label=\"" + xml(label) + "\" " +
           (on ? "arg-unset=\"--no-" + option + "\"" : "arg-set=\"--" + option + "\"") + "/>\n";
  };
  std::string x =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<screensaver name=\"duskhollow\" _label=\"Duskhollow\">\n"
      "  <command arg=\"--root\"/>\n"
      "  <hgroup>\n  <vgroup>\n";
  const SettingRow* creatures = nullptr;
  for (size_t i = 0; i < kSettingRowCount; ++i) {
    const SettingRow& r = kSettingRows[i];
    const SettingKey& first = *FindSetting(r.creatures ? kCreatures[0].key : r.count > 1 ? r.key + std::string("0") : r.key);
    const std::string label = r.label ? r.label : first.Caption();
    switch (r.style) {
      case OptionStyle::kNone: break;
      case OptionStyle::kOnOff: x += boolean(r.key, label, first.OnByDefault(), r.option); break;
      case OptionStyle::kAllOff:
        x += "  <boolean id=\"" + std::string(r.option).substr(3) + "\" _label=\"" + xml(label) +
             "\" arg-unset=\"--" + r.option + "\"/>\n";
        break;
      case OptionStyle::kValue:
        if (r.type == SettingType::kNumber)
          x += "  <number id=\"" + std::string(r.key) + "\" type=\"slider\" arg=\"--" + r.option + " %\" _label=\"" +
               xml(label) + "\" _low-label=\"Fast\" _high-label=\"Slow\" low=\"" + std::to_string(r.low) +
               "\" high=\"" + std::to_string(r.high) + "\" default=\"" + std::to_string(r.numberDefault) + "\"/>\n";
        else
          x += "  <string id=\"" + std::string(r.option) + "\" _label=\"" + xml(label) + "\" arg=\"--" + r.option +
               " %\"/>\n";
        break;
      case OptionStyle::kEachOnOff: creatures = &r; break;
    }
  }
  x += "  <boolean id=\"sound\" _label=\"Sound effects\" arg-unset=\"--no-sound\"/>\n";
  x += "  </vgroup>\n  <vgroup>\n";
  size_t i = 0;
  for (const SettingKey& k : SettingKeys()) {
    if (k.row != creatures) continue;
    if (i++ == static_cast<size_t>(creatures->count) / 2) x += "  </vgroup>\n  <vgroup>\n";
    x += boolean(k.key, k.Caption(), k.OnByDefault(), k.key);
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
  const std::string firstRun = ini::Get(text, kSettingsSection, kFirstRunKey);
  if (std::atof(firstRun.c_str()) <= 0) {
    // Never written: the program's own defaults, as Apply would write them, become the base.
    for (const SettingKey& k : SettingKeys()) text = ini::Put(text, kSettingsSection, k.key, k.DefaultText());
  }
  for (const auto& [key, value] : overrides) text = ini::Put(text, kSettingsSection, key, value);
  return text;
}

}  // namespace dusk::sdl
