// The saver in a web page: the page calls these functions; the program's frames, songs and end
// go back to the page's script (site/saver.js).
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/kit/files.h"
#include "hosts/kit/song_levels.h"
#include "hosts/web/settings_text.h"
#include "hosts/web/web_os.h"
#include "platform/runtime.h"
#include "startup/program.h"
#include "startup/starter.h"
#include "wavemix/wavemix.h"

namespace dusk::web {
namespace {

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (unsigned char ch : s) {
    if (ch == '"' || ch == '\\') out += '\\', out += static_cast<char>(ch);
    else if (ch < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\u%04x", ch);
      out += esc;
    } else out += static_cast<char>(ch);
  }
  return out + "\"";
}

// The page: pixels as RGBA bytes for the canvas, labels as JSON for its 2D context's text.
class BrowserPage final : public Page {
 public:
  void Present(const WindowFrame& frame, const std::vector<Rect>& rects) override {
    const Bitmap& c = *frame.canvas;
    rgba_.resize(static_cast<size_t>(c.width) * c.height);
    std::vector<int32_t> boxes;
    for (const Rect& r : rects) {
      const int32_t l = std::max(0, r.left), t = std::max(0, r.top);
      const int32_t rt = std::min(c.width, r.right), b = std::min(c.height, r.bottom);
      if (l >= rt || t >= b) continue;
      for (int32_t y = t; y < b; ++y) {
        const uint32_t* src = c.Row(y);
        uint32_t* dst = rgba_.data() + static_cast<size_t>(y) * c.width;
        for (int32_t x = l; x < rt; ++x) {
          const uint32_t p = src[x];  // 0x00RRGGBB to the bytes R, G, B, A
          dst[x] = 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        }
      }
      boxes.insert(boxes.end(), {l, t, rt - l, b - t});
    }
    std::string labels = "[";
    for (const LabelLayout& l : frame.labels) {
      if (labels.size() > 1) labels += ",";
      labels += "{\"text\":" + Json(l.text) + ",\"box\":[" + std::to_string(l.box.left) + "," +
                std::to_string(l.box.top) + "," + std::to_string(l.box.right) + "," + std::to_string(l.box.bottom) +
                "],\"font\":" + std::to_string(l.fontPixels) + ",\"color\":" + std::to_string(l.textColor) +
                ",\"back\":" + std::to_string(l.backColor) + ",\"left\":" + (l.align == Alignment::kLeft ? "true" : "false") +
                "}";
    }
    labels += "]";
    EM_ASM({ Module.duskPresent($0, $1, $2, $3, $4, UTF8ToString($5)); }, rgba_.data(), c.width, c.height,
           boxes.data(), static_cast<int>(boxes.size() / 4), labels.c_str());
  }
  // The site's songs are TimGM6mb renders (make_site.sh): each is played at its gain for that font.
  void SongPlay(const std::string& file, uint32_t fromMs) override {
    const double gain = std::pow(10.0, kit::SongGainDb("TimGM6mb.sf2", kit::SongSlot(file)) / 20);
    EM_ASM({ Module.duskSongPlay(UTF8ToString($0), $1, $2); }, file.c_str(), fromMs, gain);
  }
  void SongStop(const std::string& file) override {
    EM_ASM({ Module.duskSongStop(UTF8ToString($0)); }, file.c_str());
  }
  void Ended(int code, const std::string& message) override {
    EM_ASM({ Module.duskEnded($0, UTF8ToString($1)); }, code, message.c_str());
  }

 private:
  std::vector<uint32_t> rgba_;
};

// The wave mixer's output: the page pulls its frames in blocks and hands them to Web Audio.
wavemix::FrameSource* g_effects = nullptr;
class WebAudioSink final : public wavemix::OutputSink {
 public:
  bool Open(wavemix::FrameSource& source) override {
    source_ = &source;
    return true;
  }
  bool Start() override {
    g_effects = source_;
    return source_ != nullptr;
  }
  void Stop() override { g_effects = nullptr; }
  void Close() override {
    Stop();
    source_ = nullptr;
  }

 private:
  wavemix::FrameSource* source_ = nullptr;
};

BrowserPage g_page;
std::unique_ptr<WebOs> g_os;
std::unique_ptr<Program> g_program;
std::string g_text;  // the last text handed to the page
std::string g_checked;  // the text of the last settings file found good

// Runs a step of the program; the run ends when the program ends itself.
template <class F>
void Guarded(F&& step) {
  try {
    step();
  } catch (const ProcessExit&) {
    g_program.reset();
  }
}

}  // namespace
}  // namespace dusk::web

using namespace dusk;
using namespace dusk::web;

extern "C" {

// Starts the saver at the canvas's size in device pixels and the screen's dots per inch (96 times
// the page's device pixel ratio), which size the labels; `seed` >= 0 makes the run repeatable and,
// with `ticks`, shows the frame the headless host makes with --seed, --ticks and --dpi. 0 when it runs.
EMSCRIPTEN_KEEPALIVE int web_start(int width, int height, int dpi, double seed, int ticks) {
  g_program.reset();
  g_os.reset();
  std::string problem;
  const auto text = kit::ReadSettingsText(kSettingsPath, &problem);
  std::optional<long long> s;
  if (seed >= 0) s = static_cast<long long>(seed);
  g_os = std::make_unique<WebOs>(g_page, width, height, s, text.value_or(""));
  g_program = std::make_unique<Program>(*g_os);
  g_program->TwipsPerPixelX = g_program->TwipsPerPixelY = 1440.0 / std::clamp(dpi, 48, 480);
  g_os->SetProgram(g_program.get());
  wavemix::SetDefaultSinkFactory([] { return std::make_unique<WebAudioSink>(); });
  Guarded([&] {
    Main(*g_program, "/s");
    if (s && ticks > 0) g_os->RunTicks(ticks);
    else g_os->SendWhole();
  });
  return g_program && g_os->Windows() ? 0 : 1;
}

// Why the last run ended, when an error ended it.
EMSCRIPTEN_KEEPALIVE const char* web_message() { return (g_text = g_os ? g_os->lastMessage : "").c_str(); }

// Fires what is due `nowMs` after the start; the ms until the next timer (-1: the run is over).
EMSCRIPTEN_KEEPALIVE double web_pump(double nowMs) {
  if (!g_program) return -1;
  int64_t next = -1;
  Guarded([&] { next = g_os->Pump(static_cast<int64_t>(nowMs)); });
  return g_program ? static_cast<double>(next) : -1;
}

// 0 a click, 2 a key down (with its code and shift state), 4 close.
EMSCRIPTEN_KEEPALIVE void web_input(int kind, int code, int shift) {
  if (!g_program) return;
  Guarded([&] { g_os->Input(static_cast<WindowInput>(kind), static_cast<int16_t>(code), static_cast<int16_t>(shift)); });
}

EMSCRIPTEN_KEEPALIVE void web_resize(int width, int height) {
  if (!g_program) return;
  Guarded([&] { g_os->Resize(width, height); });
}

// Ends the run as the user's close does: music stopped, the mixer closed.
EMSCRIPTEN_KEEPALIVE void web_stop() {
  if (!g_program) return;
  Guarded([&] {
    g_os->Input(WindowInput::kClose);
    if (g_program) X_Cleanup_And_End(*g_program);
  });
  g_program.reset();
}

// Stereo 16-bit frames of the effects into `out`; silence when none play.
EMSCRIPTEN_KEEPALIVE void web_audio_render(int16_t* out, int frames) {
  if (g_effects) g_effects->RenderFrames(out, static_cast<size_t>(frames));
  else std::fill(out, out + frames * 2, int16_t{0});
}
EMSCRIPTEN_KEEPALIVE int web_audio_rate() { return static_cast<int>(wavemix::kDefaultSampleRate); }

// The settings panel's questions, answered from the settings table (see settings_text.h).
EMSCRIPTEN_KEEPALIVE const char* web_settings_table() { return (g_text = SettingsTable()).c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_settings_values(const char* ini) { return (g_text = SettingsValues(ini)).c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_settings_file(const char* values) { return (g_text = SettingsFile(values)).c_str(); }
// A file the user loads: "" when it is good (its text then in web_checked_text()), else what is
// wrong with it.
EMSCRIPTEN_KEEPALIVE const char* web_settings_check(const uint8_t* bytes, int size) {
  g_text = CheckSettingsFile(std::vector<uint8_t>(bytes, bytes + size), g_checked);
  return g_text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* web_checked_text() { return g_checked.c_str(); }

}  // extern "C"
