// duskhollow-headless: runs the program for a command line against a simulated screen and a
// deterministic clock, writing frames as PNG files and the state of every frame as JSON lines.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "hosts/headless/app/dump.h"
#include "hosts/headless/app/render.h"
#include "hosts/headless/portable_os.h"
#include "hosts/kit/midi.h"
#include "hosts/kit/ticks.h"
#include "saver/previewscreen.h"
#include "saver/screensaver.h"
#include "scene/catalogue.h"
#include "scene/settings_table.h"
#include "startup/starter.h"

namespace dusk::headless {
namespace {

struct Options {
  std::string windir = DUSK_DEFAULT_WINDIR;
  int width = 800, height = 600;
  int dpi = 96;
  std::vector<Rect> monitors;  // the other monitors
  long long ticks = 0;
  long long seed = -1;
  int hour = 21, minute = 5;
  std::string framesDir;
  long long every = 1;
  std::string dumpFile;
  bool dumpPixels = false;
  bool close = true;
  int platform = 2;
  bool sound = true;
  std::string commandLine = "/s";
};

const char* kUsage =
    "usage: duskhollow-headless [options] [command line]\n"
    "  --windir DIR        the Windows directory (tarnix.ini; data in DIR/Duskhollow)\n"
    "  --screen WxH        screen size (default 800x600)\n"
    "  --dpi N             the screen's dots per inch, which size the labels (default 96)\n"
    "  --monitors LIST     other monitors beside the primary: WxH+X+Y[,WxH+X+Y...]\n"
    "                      (X, Y may be negative); --frames then also writes each one's\n"
    "                      window as frame-NNNNNN-mK.png (K = 2, 3, ...)\n"
    "  --ticks N           frames to run (the clock advances Speed ms per frame)\n"
    "  --seed N            replaces the clock readings the random generator is seeded with\n"
    "  --time HH:MM        local time for the clock\n"
    "  --frames DIR        write what the screen shows as frame-NNNNNN.png\n"
    "  --every K           with --frames: every K-th frame (default 1)\n"
    "  --dump-state FILE   JSON lines: start-up, then one line per frame\n"
    "  --dump-pixels       include the canvas pixels in the dump\n"
    "  --platform 95|NT    the Windows family to report (default NT)\n"
    "  --no-sound          no wave output can be opened\n"
    "  --no-close          end without closing the window (no clean-up line)\n"
    "The command line defaults to /s.\n"
    "\n"
    "  --write-settings FILE [KEY=VALUE...]\n"
    "                      write a settings file, every key in the order the settings dialog\n"
    "                      writes them: every switch off (one older files may lack: its default),\n"
    "                      the rest at its default, then the values given (a later one wins)\n"
    "  --list-creatures    the creatures' settings keys, one a line\n";

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "duskhollow-headless: %s\n%s", message.c_str(), kUsage);
  std::exit(2);
}

long long Number(const std::string& option, const char* text, long long lo, long long hi) {
  char* end = nullptr;
  long long v = std::strtoll(text, &end, 10);
  if (!*text || *end || v < lo || v > hi) Fail(option + " needs a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
  return v;
}

// A settings file (CRLF lines, the program's section) from the settings table, in Apply's order.
[[noreturn]] void WriteSettings(const std::string& file, const std::vector<std::string>& pairs) {
  std::vector<std::pair<std::string, std::string>> lines;
  for (const SettingKey& k : SettingKeys()) {
    const bool off = k.row->type == SettingType::kSwitch && !k.row->optional;
    lines.emplace_back(k.key, off ? k.Written(0) : k.DefaultText());
  }
  for (const std::string& pair : pairs) {
    const size_t eq = pair.find('=');
    const std::string key = pair.substr(0, eq);
    auto line = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == key; });
    if (eq == std::string::npos || line == lines.end()) Fail("--write-settings: no setting is called '" + key + "'");
    line->second = pair.substr(eq + 1);
  }
  std::ofstream out(file, std::ios::binary);
  out << "[" << kSettingsSection << "]\r\n";
  for (const auto& [key, value] : lines) out << key << "=" << value << "\r\n";
  out.close();
  if (!out) Fail("cannot write " + file);
  std::exit(0);
}

Options Parse(int argc, char** argv) {
  Options o;
  std::vector<std::string> rest;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Fail(a + " needs a value");
      return argv[++i];
    };
    if (a == "--windir") o.windir = value();
    else if (a == "--screen") {
      std::string v = value();
      size_t x = v.find('x');
      if (x == std::string::npos) Fail("--screen needs WxH, for example 1024x768");
      o.width = static_cast<int>(Number(a, v.substr(0, x).c_str(), 1, 16384));
      o.height = static_cast<int>(Number(a, v.substr(x + 1).c_str(), 1, 16384));
    } else if (a == "--dpi") {
      o.dpi = static_cast<int>(Number(a, value(), 48, 480));
    } else if (a == "--monitors") {
      std::string v = value();
      size_t start = 0;
      while (start <= v.size()) {
        size_t comma = v.find(',', start);
        const std::string one = v.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int w, h, x, y;
        char tail;
        if (std::sscanf(one.c_str(), "%dx%d%d%d%c", &w, &h, &x, &y, &tail) != 4 || w < 1 || h < 1 || w > 16384 ||
            h > 16384)
          Fail("--monitors needs WxH+X+Y[,...], for example 1024x768-1024+0");
        o.monitors.push_back(Rect{x, y, x + w, y + h});
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (a == "--ticks") o.ticks = Number(a, value(), 0, 100000000);
    else if (a == "--seed") o.seed = Number(a, value(), 0, 1000000000);
    else if (a == "--time") {
      const auto t = kit::ParseTimeOfDay(value());
      if (!t) Fail("--time needs HH:MM");
      o.hour = t->hour;
      o.minute = t->minute;
    } else if (a == "--frames") o.framesDir = value();
    else if (a == "--every") o.every = Number(a, value(), 1, 100000000);
    else if (a == "--dump-state") o.dumpFile = value();
    else if (a == "--dump-pixels") o.dumpPixels = true;
    else if (a == "--no-close") o.close = false;
    else if (a == "--no-sound") o.sound = false;
    else if (a == "--platform") {
      std::string v = value();
      if (v == "95") o.platform = 1;
      else if (v == "NT") o.platform = 2;
      else Fail("--platform takes 95 or NT");
    } else if (a == "--write-settings") {
      const std::string file = value();
      WriteSettings(file, std::vector<std::string>(argv + i + 1, argv + argc));
    } else if (a == "--list-creatures") {
      for (const CreatureEntry& c : kCreatures) std::printf("%s\n", c.key);
      std::exit(0);
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (a.rfind("--", 0) == 0) Fail("unknown option " + a);
    else rest.push_back(a);
  }
  if (!rest.empty()) {
    o.commandLine.clear();
    for (size_t i = 0; i < rest.size(); ++i) o.commandLine += (i ? " " : "") + rest[i];
  }
  if (!std::filesystem::is_directory(o.windir)) Fail("no such Windows directory: " + o.windir);
  return o;
}

std::string Base64(const std::vector<uint8_t>& bytes) {
  static const char* t = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t v = bytes[i] << 16;
    if (i + 1 < bytes.size()) v |= bytes[i + 1] << 8;
    if (i + 2 < bytes.size()) v |= bytes[i + 2];
    out += t[(v >> 18) & 63];
    out += t[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? t[(v >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? t[v & 63] : '=';
  }
  return out;
}

class Run {
 public:
  Run(const Options& o) : o_(o), os_(o.windir), p_(os_) {
    os_.screenWidth = o.width;
    os_.screenHeight = o.height;
    p_.TwipsPerPixelX = p_.TwipsPerPixelY = 1440.0 / o.dpi;
    os_.otherMonitors = o.monitors;
    os_.platformId = o.platform;
    os_.mixerAvailable = o.sound;
    os_.localTime = LocalTime{o.hour, o.minute, 0};
    if (o.seed >= 0) os_.clockSeconds = static_cast<double>(o.seed);
    os_.songSeconds = [](const std::vector<uint8_t>& bytes) { return kit::MidiFileSeconds(bytes); };
    // Records of calls, songs, the mixer and effects are kept only for a dump, which empties them
    // line by line: an all-night run without one keeps none.
    os_.keepRecords = !o.dumpFile.empty();
    if (!o.dumpFile.empty()) {
      p_.sound.RecordEffects = true;
      dump_.open(o.dumpFile);
      if (!dump_) Fail("cannot write " + o.dumpFile);
    }
    if (!o.framesDir.empty()) std::filesystem::create_directories(o.framesDir);
  }

  int Go() {
    try {
      Main(p_, o_.commandLine);
      StartLine();
      if (p_.screenSaver) Saver();
      else if (p_.previewScreen) Preview();
      if (o_.close) Close();
    } catch (const ProcessExit& e) {
      EndLine();
      for (const std::string& m : os_.messages) std::fprintf(stderr, "%s\n", m.c_str());
      return e.code;
    }
    for (const std::string& m : os_.messages) std::fprintf(stderr, "%s\n", m.c_str());
    return 0;
  }

 private:
  const Options& o_;
  PortableOs os_;
  Program p_;
  std::ofstream dump_;
  long long tick_ = 0;
  bool started_ = false;

  void Emit(JsonLine& j) {
    j.Strings("mci", os_.mci).Numbers("effects", p_.sound.effectsPlayed).Strings("mixer", os_.mixer);
    os_.mci.clear();
    os_.mixer.clear();
    os_.calls.clear();
    os_.soundsPlayed.clear();
    p_.sound.effectsPlayed.clear();
    if (dump_) dump_ << j.Text() << "\n";
  }

  void SaverLabels(JsonLine& j) {
    const LabelControl* labels[] = {&p_.screenSaver->ScreenLabel, &p_.screenSaver->ClockLabel};
    const char* names[] = {"ScreenLabel", "ClockLabel"};
    j.Raw("labels", LabelsJson(labels, names, 2));
  }

  void StartLine() {
    started_ = true;
    JsonLine j;
    j.Field("tick", 0).Field("RunMode", p_.RunMode);
    SettingsFields(j, p_);
    j.Field("ScreenWidth", p_.ScreenWidth).Field("ScreenHeight", p_.ScreenHeight);
    j.Raw("records", RecordsJson(p_));
    if (p_.screenSaver) SaverLabels(j);
    Emit(j);
  }

  void EndLine() {
    if (!started_) return;
    JsonLine j;
    j.Field("tick", tick_).Field("event", "end").Field("ErrorStep", p_.ErrorStep);
    Emit(j);
  }

  void Saver() {
    RunWindows& windows = *p_.windows;
    // The frame timer first: it wins a tie. Every period fires at the time it was due.
    kit::TickScheduler timers(windows.Timers(), true);
    timers.Sync(os_.elapsedMs);
    const int32_t interval = windows.Timers().front()->Interval;
    const int64_t step = interval > 0 ? interval : 70;
    for (tick_ = 1; tick_ <= o_.ticks; ++tick_) {
      const int64_t until = os_.elapsedMs + step;
      // Every timer due in this step, in the order they fall due.
      while (const auto fired = timers.Take(until)) {
        os_.elapsedMs = fired->due;
        windows.TimerFired(fired->timer);
        timers.Sync(os_.elapsedMs);
      }
      os_.elapsedMs = until;
      FrameLine();
    }
    tick_ = o_.ticks;
  }

  // What the screen shows now, every `every` frames, when frames are asked for.
  void WriteFrame(const WindowFrame& frame, int window = 1) {
    if (o_.framesDir.empty() || !frame.canvas || tick_ % o_.every != 0) return;
    char name[40];
    if (window == 1) std::snprintf(name, sizeof name, "frame-%06lld.png", tick_);
    else std::snprintf(name, sizeof name, "frame-%06lld-m%d.png", tick_, window);
    if (!WritePng(frame, (std::filesystem::path(o_.framesDir) / name).string()))
      Fail("cannot write frames into " + o_.framesDir);
  }

  void FrameLine() {
    RunWindows& windows = *p_.windows;
    for (size_t i = 0; i < windows.WindowCount(); ++i) WriteFrame(windows.Frame(i), static_cast<int>(i) + 1);
    const Bitmap* canvas = windows.Frame(0).canvas;
    if (!dump_) return;
    const Scene& sc = p_.scene;
    JsonLine j;
    j.Field("tick", tick_).Field("LongTick", sc.LongTick).Field("ShortTick", sc.ShortTick);
    j.Field("MediumTick", sc.MediumTick).Raw("records", RecordsJson(p_));
    SaverLabels(j);
    if (o_.dumpPixels && canvas) {
      std::vector<uint8_t> rgb;
      rgb.reserve(canvas->pixels.size() * 3);
      for (uint32_t px : canvas->pixels) {
        rgb.push_back(px >> 16);
        rgb.push_back((px >> 8) & 0xFF);
        rgb.push_back(px & 0xFF);
      }
      j.Field("pixels", Base64(rgb));
    }
    Emit(j);
  }

  void Preview() {
    PreviewScreen& w = *p_.previewScreen;
    for (tick_ = 1; tick_ <= o_.ticks; ++tick_) {
      os_.elapsedMs += w.previewtimer.Interval;
      if (w.previewtimer.Enabled) w.previewtimer_Timer();
      WriteFrame(p_.windows->Frame(0));
      JsonLine j;
      j.Field("tick", tick_).Field("PreviewFrame", w.PreviewFrame).Field("PreviewX", w.PreviewX);
      j.Field("PreviewY", w.PreviewY);
      Emit(j);
    }
    tick_ = o_.ticks;
  }

  // The user comes back: a key closes the saver; the preview's window is taken away.
  void Close() {
    if (p_.screenSaver) p_.windows->Input(WindowInput::kKeyPress, 32);
    else if (p_.previewScreen) p_.windows->Input(WindowInput::kDestroyed);
  }
};

}  // namespace
}  // namespace dusk::headless

int main(int argc, char** argv) {
  const dusk::headless::Options options = dusk::headless::Parse(argc, argv);
  dusk::headless::Run run(options);
  return run.Go();
}
