#include "hosts/sdl/sdl_os.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

#include <sys/time.h>
#include <unistd.h>

#include "hosts/kit/labels.h"
#include "hosts/kit/mci.h"
#include "hosts/sdl/message_box.h"
#include "platform/ini.h"
#include "platform/labels.h"
#include "platform/runtime.h"
#include "platform/text.h"
#include "platform/system.h"
#include "startup/starter.h"

// Last: the X headers define short macro names.
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace dusk::sdl {
namespace {

std::atomic<int> g_signal{0};

// Once told to end, the saver has this long to do it cleanly; a start-up or a file that holds it
// up longer (a slow disk, a hung network share) does not keep it alive past it.
constexpr long kEndWithinUs = 800000;

void OnLate(int) { _exit(0); }

void OnSignal(int sig) {
  if (g_signal.exchange(sig)) return;
  itimerval t{};
  t.it_value.tv_usec = kEndWithinUs;
  setitimer(ITIMER_REAL, &t, nullptr);
}

// The daemon may take its window away at any moment, before it ends the saver or together with
// it: from then on every X request about it fails. Such errors end the saver as if told to; an
// X error of any other kind is reported and ends it too, never through Xlib's default handler,
// which exits with 1 at once. Installed before the first X call, it stays to the last one.
uint64_t g_xWindow = 0;
std::atomic<bool> g_xWindowGone{false};
int OnXError(Display* d, XErrorEvent* e) {
  if (g_xWindowGone) return 0;
  if (e->error_code == BadWindow || e->error_code == BadDrawable || (g_xWindow && e->resourceid == g_xWindow)) {
    if (g_xWindow) {
      g_xWindowGone = true;
      g_signal = SIGTERM;
      return 0;
    }
  }
  char text[160] = "";
  XGetErrorText(d, e->error_code, text, sizeof text);
  std::fprintf(stderr, "duskhollow: X error: %s (request %d)\n", text, e->request_code);
  g_signal = SIGTERM;
  return 0;
}

// The longest the loop sleeps, so that a signal is acted on promptly whatever the speed setting.
constexpr int kMaxWaitMs = 20;

int XErrorIgnored(Display*, XErrorEvent*) { return 0; }

// The size of an X window, asked on a connection of our own so that a bad id costs nothing.
bool XWindowSize(uint64_t id, int& w, int& h, std::string& error) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    error = "cannot open the X display";
    return false;
  }
  auto old = XSetErrorHandler(XErrorIgnored);
  XWindowAttributes a{};
  const Status ok = XGetWindowAttributes(d, static_cast<Window>(id), &a);
  XCloseDisplay(d);
  XSetErrorHandler(old);
  if (!ok) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(id));
    error = std::string("there is no X window ") + hex;
    return false;
  }
  w = a.width;
  h = a.height;
  return true;
}

uint64_t XRootWindow() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 0;
  const uint64_t root = DefaultRootWindow(d);
  XCloseDisplay(d);
  return root;
}

// The video drivers to try, in order: the one a test or the user names in SDL_VIDEODRIVER, else
// a real display's: Wayland's when a compositor is named (the saver then runs natively, not
// through XWayland), then X's. None, with the reason, when neither is named: SDL would otherwise
// fall back to a display nobody sees.
std::vector<std::string> VideoDrivers(bool xWindow, std::string& error) {
  const char* named = SDL_getenv("SDL_VIDEODRIVER");
  if (named && *named) return {named};
  std::vector<std::string> out;
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  const char* x = SDL_getenv("DISPLAY");
  if (!xWindow && wayland && *wayland) out.push_back("wayland");
  if (x && *x) out.push_back("x11");
  if (out.empty())
    error = xWindow ? "no X display to find the window on: DISPLAY is not set"
                    : "no display to show the saver on: neither DISPLAY nor WAYLAND_DISPLAY is set";
  return out;
}

}  // namespace

void InstallEndHandlers() {
  std::signal(SIGALRM, OnLate);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);
  XSetErrorHandler(OnXError);
}

bool EndRequested() { return g_signal != 0; }

std::string FindSoundFont() {
  if (const char* env = std::getenv("DUSKHOLLOW_SOUNDFONT")) return std::filesystem::exists(env) ? env : "";
  for (const char* f : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                        "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(f, ec)) return f;
  }
  return "";
}

SdlOs::SdlOs(const Options& options, std::string dataDir, std::string settingsText)
    : o_(options), dataDir_(std::move(dataDir)), settingsText_(std::move(settingsText)) {
  if (o_.seed) clock_.startSeconds = static_cast<double>(*o_.seed);
  if (o_.hour >= 0) clock_.start = LocalTime{o_.hour, o_.minute, 0};
}

SdlOs::~SdlOs() {
  CloseOutputs();
  audio_.Close();
  sequencer_.reset();
  // With the daemon's window gone, closing the video would only bring errors about it (after SDL
  // has put Xlib's exiting handler back); the connection closes with the process.
  if (videoUp_ && !g_xWindowGone) SDL_Quit();
}

bool SdlOs::OpenVideo(std::string& error, bool& badWindow) {
  badWindow = false;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Several full-screen windows must not minimise each other, and the system may still power
  // the screens down while the saver runs.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (o_.where == Where::kXWindow) {
    xWindow_ = o_.xWindow;
    if (!SDL_getenv("DISPLAY") || !*SDL_getenv("DISPLAY")) {
      error = "no X display to find the window on: DISPLAY is not set";
      return false;
    }
    if (!xWindow_) xWindow_ = XRootWindow();
    if (!xWindow_ || !XWindowSize(xWindow_, screenW_, screenH_, error)) {
      if (error.empty()) error = std::string("cannot open the X display ") + SDL_getenv("DISPLAY");
      badWindow = xWindow_ && error.rfind("there is no X window", 0) == 0;
      return false;
    }
    g_xWindow = xWindow_;
  }
  const std::vector<std::string> drivers = VideoDrivers(o_.where == Where::kXWindow, error);
  for (const std::string& driver : drivers) {
    // The frame is made in software: on X the window's own shared-memory pixels take it with one
    // copy (through a GL texture it would cost a software renderer a large share of a core).
    // SDL's Wayland driver has no window pixels of its own: there it needs its GL-backed surface.
    if (driver == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    else SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    SDL_setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      const char* name = SDL_getenv(driver == "wayland" ? "WAYLAND_DISPLAY" : "DISPLAY");
      const std::string what = driver == "wayland" ? "the Wayland display " : driver == "x11" ? "the X display " : "the display ";
      error += (error.empty() ? "cannot open " : "; nor ") + what + (name && driver != "offscreen" ? name : "") +
               " (" + SDL_GetError() + ")";
      continue;
    }
    videoUp_ = true;
    // Only a display someone sees: SDL's offscreen and dummy drivers only when named.
    const char* current = SDL_GetCurrentVideoDriver();
    keepsPixels_ = driver == "x11";
    if (current && driver == current) break;
    error = "cannot open the display (" + driver + "): SDL chose " + (current ? current : "none");
    return false;
  }
  if (!videoUp_) return false;
  error.clear();
  if (g_signal) return false;  // told to end while the display opened: no error
  videoUp_ = true;
  if (o_.where == Where::kFullScreen) {
    const int n = SDL_GetNumVideoDisplays();
    for (int i = 0; i < n; ++i) {
      SDL_Rect r;
      if (SDL_GetDisplayBounds(i, &r) == 0 && r.w > 0 && r.h > 0) displays_.push_back(r);
    }
    if (displays_.empty()) {
      error = std::string("no display to show the saver on: ") + SDL_GetError();
      return false;
    }
    // The program lays its scene out for the first (primary) display.
    screenW_ = displays_[0].w;
    screenH_ = displays_[0].h;
  }
  return true;
}

int SdlOs::Run() {
  Program p(*this);
  p_ = &p;
  startTicks_ = SDL_GetTicks64();
  int code = 0;
  try {
    Main(p, "/s");
    if (run_) Loop();
    X_Cleanup_And_End(p);
  } catch (const ProcessExit& e) {
    code = e.code;
  }
  // The sound stops first; the windows go after it.
  audio_.Close();
  CloseOutputs();
  p_ = nullptr;
  return code;
}

int64_t SdlOs::MsSinceStart() const { return static_cast<int64_t>(SDL_GetTicks64() - startTicks_); }

// A repeatable run schedules its timers on the times they were due, as the headless host does;
// a normal one on the real clock.
int64_t SdlOs::TimerClock() const { return o_.seed ? elapsedMs_ : MsSinceStart(); }

double SdlOs::ClockSeconds() {
  if (o_.seed) return clock_.ClockSeconds(elapsedMs_);  // the seed, then the scheduled time of the frame
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm t{};
  localtime_r(&ts.tv_sec, &t);
  return t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec + ts.tv_nsec / 1e9;
}

LocalTime SdlOs::Now() {
  if (o_.hour >= 0) return clock_.Now(elapsedMs_);
  const time_t now = time(nullptr);
  tm t{};
  localtime_r(&now, &t);
  return LocalTime{t.tm_hour, t.tm_min, t.tm_sec};
}

void SdlOs::ShowCursor(bool show) {
  if (o_.where != Where::kXWindow && videoUp_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

std::string SdlOs::HostPath(const std::string& programPath) const {
  if (EqualNoCase(programPath, kSettingsFile)) return o_.settingsFile;
  const std::string data = kit::MapVirtualPath(programPath, std::string(kWindowsDir) + "\\" + kDataFolderName, dataDir_);
  if (!data.empty()) return data;
  const std::string settingsDir = std::filesystem::path(o_.settingsFile).parent_path().string();
  const std::string other = kit::MapVirtualPath(programPath, kWindowsDir, settingsDir);
  if (!other.empty()) return other;
  if (programPath.find('\\') == std::string::npos && programPath.find('/') == std::string::npos)
    return kit::FindIgnoringCase(settingsDir, programPath);  // a bare name lives in the Windows directory
  return programPath;
}

std::string SdlOs::FindFirstNormalFile(const std::string& path) {
  const std::filesystem::path real(HostPath(path));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(real, ec)) return "";
  const std::string name = real.filename().string();
  return name.front() == '.' ? "" : name;  // a dot file is a hidden one here
}

std::optional<std::vector<uint8_t>> SdlOs::ReadWholeFile(const std::string& path) {
  return kit::ReadRegularFile(HostPath(path));
}

bool SdlOs::CreateFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(HostPath(path), ec);
  if (std::filesystem::is_directory(HostPath(path), ec)) return true;
  lastError_ = "Access is denied: " + path;
  return false;
}

bool SdlOs::WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (kit::ReplaceFileContents(HostPath(path), bytes)) return true;
  lastError_ = "Access is denied: " + path;
  return false;
}

std::string SdlOs::GetProfileString(const std::string& file, const std::string& section, const std::string& key) {
  if (!EqualNoCase(file, kSettingsFile)) return kit::GetProfileValue(HostPath(file), section, key);
  // The settings file as read at the start, with the command line's keys over it.
  return ini::CutValue(ini::Get(settingsText_, section, key));
}

bool SdlOs::WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value) {
  if (kit::PutProfileValue(HostPath(file), section, key, value)) return true;
  lastError_ = "The file could not be written: " + file;
  return false;
}

void SdlOs::EndProcess(int code) { throw ProcessExit{code}; }

void SdlOs::MessageBox(const std::string& text, const std::string& title) {
  ending_ = true;  // the run is over once an error is shown: no more frames or input behind it
  std::string t = text;
  for (size_t at; (at = t.find('\r')) != std::string::npos;) t[at] = '\n';
  std::fprintf(stderr, "%s: %s\n", title.c_str(), t.c_str());
  // A saver inside a daemon's window has nowhere to show a box: the daemon owns the screen.
  // SDL's box needs the X server's core fonts; where they are missing the saver draws its own.
  if (videoUp_ && o_.where != Where::kXWindow &&
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), t.c_str(), nullptr) != 0)
    ShowOwnMessageBox(title, t, g_signal);
}

void SdlOs::LowerSaverWindow() {
  // The message that follows must not be hidden behind the full-screen windows.
  if (o_.where == Where::kFullScreen)
    for (Output& out : outputs_) SDL_HideWindow(out.window);
}

// --- songs and effects ---

uint32_t SdlOs::MciSendString(const std::string& command, std::string& reply) {
  if (!sequencer_) {
    // Nothing was opened yet: only an open starts the synthesiser (and the audio device).
    const kit::MciCommand c = kit::ParseMciCommand(command);
    if (c.stringError) return c.stringError;
    if (c.verb != kit::MciCommand::Verb::kOpen) return kit::mci::kInvalidDeviceName;
    sequencer_ = std::make_unique<MciSequencer>(AudioOut::kRate, [this](const std::string& path) { return ReadWholeFile(path); });
    const std::string font = FindSoundFont();
    if (font.empty())
      std::fprintf(stderr, "duskhollow: no General MIDI soundfont, the songs stay silent (the effects play): "
                           "install timgm6mb-soundfont or fluid-soundfont-gm, or set DUSKHOLLOW_SOUNDFONT\n");
    else if (audio_.Open() && sequencer_->LoadSoundFont(font)) audio_.SetMusic(sequencer_.get());
  }
  return sequencer_->Send(command, reply);
}

uint32_t SdlOs::WaveMixInit() {
  if (!o_.sound) return 0;  // as on a system without a sound card
  wavemix::SetDefaultSinkFactory([this] { return audio_.MakeEffectsSink(); });
  return wavemix::WaveMixInit();
}
uint32_t SdlOs::WaveMixOpenWave(uint32_t session, const std::string& path) {
  return wavemix::WaveMixOpenWave(session, HostPath(path).c_str(), 0, 0);
}
void SdlOs::WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) {
  wavemix::WaveMixOpenChannel(session, channel, flags);
}
void SdlOs::WaveMixActivate(uint32_t session, bool activate) { wavemix::WaveMixActivate(session, activate ? 1 : 0); }
void SdlOs::WaveMixPlay(const uint8_t (&params)[24]) { wavemix::WaveMixPlay(params); }
void SdlOs::WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) {
  wavemix::WaveMixCloseChannel(session, channel, flags);
}
void SdlOs::WaveMixFreeWave(uint32_t session, uint32_t wave) { wavemix::WaveMixFreeWave(session, wave); }
void SdlOs::WaveMixCloseSession(uint32_t session) { wavemix::WaveMixCloseSession(session); }

// --- the windows ---

std::vector<Rect> SdlOs::OtherMonitors() {
  std::vector<Rect> out;
  for (size_t i = 1; i < displays_.size(); ++i) {
    const SDL_Rect& r = displays_[i];
    out.push_back(Rect{r.x, r.y, r.x + r.w, r.y + r.h});
  }
  return out;
}

void SdlOs::ShowSaverWindow(RunWindows& windows) {
  run_ = &windows;
  ticks_.emplace(windows.Timers(), o_.seed.has_value());
  auto fail = [&](const char* what) {
    if (!g_xWindowGone && !g_signal) std::fprintf(stderr, "duskhollow: %s: %s\n", what, SDL_GetError());
    X_Cleanup_And_End(*p_);
  };
  if (o_.where == Where::kXWindow) {
    SDL_Window* w = SDL_CreateWindowFrom(reinterpret_cast<const void*>(static_cast<uintptr_t>(xWindow_)));
    if (!w) fail("cannot draw into the X window");
    outputs_.push_back(Output{w});
    // Told when the window is uncovered or resized; its input stays with the daemon.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(w, &info) && info.subsystem == SDL_SYSWM_X11)
      XSelectInput(info.info.x11.display, info.info.x11.window, ExposureMask | StructureNotifyMask);
  } else if (o_.where == Where::kWindow) {
    SDL_Window* w = SDL_CreateWindow("Duskhollow", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, screenW_, screenH_,
                                     SDL_WINDOW_RESIZABLE);
    if (!w) fail("cannot open a window");
    outputs_.push_back(Output{w});
  } else {
    // One full-screen window per display, in the order the program numbers its windows.
    for (size_t i = 0; i < displays_.size() && i < windows.WindowCount(); ++i) {
      const SDL_Rect& r = displays_[i];
      SDL_Window* w = SDL_CreateWindow("Duskhollow", r.x, r.y, r.w, r.h,
                                       SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP |
                                           SDL_WINDOW_SKIP_TASKBAR);
      if (!w) fail("cannot open a full-screen window");
      outputs_.push_back(Output{w});
    }
    SDL_RaiseWindow(outputs_.front().window);
  }
  SyncTimers(TimerClock());
  RefreshWindow();
}

void SdlOs::CloseOutputs() {
  for (Output& out : outputs_) {
    if (out.staging) cairo_surface_destroy(out.staging);
    if (out.window && !g_xWindowGone) SDL_DestroyWindow(out.window);  // a gone one is asked nothing
  }
  outputs_.clear();
}

void SdlOs::RefreshWindow() {
  for (size_t i = 0; i < outputs_.size(); ++i) Present(i);
}

void SdlOs::Present(size_t window, bool whole) {
  if (!run_ || window >= outputs_.size() || g_xWindowGone) return;
  Output& out = outputs_[window];
  SDL_Surface* dst = SDL_GetWindowSurface(out.window);
  if (!dst || dst->w <= 0 || dst->h <= 0) return;
  const int W = dst->w, H = dst->h;
  // A window of another size than its canvas (resized by the user or the daemon) is laid out
  // anew by the program.
  const WindowFrame* frame = &run_->Frame(window);
  if (frame->canvas && (frame->canvas->width != W || frame->canvas->height != H)) {
    run_->Resized(window, W, H);
    frame = &run_->Frame(window);
    whole = true;
  }
  const Bitmap* src = frame->canvas;
  if (!src || src->width != W || src->height != H) return;
  if (!out.staging || cairo_image_surface_get_width(out.staging) != W || cairo_image_surface_get_height(out.staging) != H) {
    if (out.staging) cairo_surface_destroy(out.staging);
    out.staging = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
    whole = true;
  }
  // After the first frame only what the frame changed is sent, where the window keeps its pixels
  // (X's shared memory); a GL-backed surface (Wayland's) is sent whole each time.
  whole = whole || out.whole || !keepsPixels_;
  out.whole = false;
  const std::vector<Rect> rects = whole ? std::vector<Rect>{Rect{0, 0, W, H}} : frame->changed;
  std::vector<SDL_Rect> sent;
  for (const Rect& r : rects) sent.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
  if (sent.empty()) return;
  // Canvas, then labels, into the staging picture; then the same rectangles to the window.
  cairo_surface_flush(out.staging);
  unsigned char* data = cairo_image_surface_get_data(out.staging);
  const int stride = cairo_image_surface_get_stride(out.staging);
  for (const SDL_Rect& r : sent)
    for (int y = r.y; y < r.y + r.h; ++y)
      std::memcpy(data + static_cast<size_t>(y) * stride + static_cast<size_t>(r.x) * 4, src->Row(y) + r.x,
                  static_cast<size_t>(r.w) * 4);
  cairo_surface_mark_dirty(out.staging);
  cairo_t* cr = cairo_create(out.staging);
  kit::DrawLabels(cr, frame->labels);
  cairo_destroy(cr);
  cairo_surface_flush(out.staging);
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(data, W, H, 32, stride, SDL_PIXELFORMAT_RGB888);
  if (!picture) return;
  SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);
  for (SDL_Rect r : sent) {
    SDL_Rect to = r;
    SDL_BlitSurface(picture, &r, dst, &to);
  }
  SDL_FreeSurface(picture);
  SDL_UpdateWindowSurfaceRects(out.window, sent.data(), static_cast<int>(sent.size()));
}

// --- the loop ---

template <class F>
void SdlOs::Forward(F&& event) {
  if (ending_) return;
  try {
    event();
  } catch (const RuntimeError& e) {
    // Handlers report under their own labels; this is the last resort for one that escaped.
    ErrorReport(*p_, label::kMain, e.number);
  }
  SyncTimers(TimerClock());
}

void SdlOs::SyncTimers(int64_t now) {
  if (ticks_) ticks_->Sync(now);
}

void SdlOs::Loop() {
  if (!ticks_) return;  // the window never showed
  // The frame timer is listed first: it wins a tie. After --ticks frames the scene holds still.
  if (o_.ticks) ticks_->Limit(0, o_.ticks);
  while (true) {
    if (g_signal) {
      // Ended by the system: the same clean-up as a key, music stopped and audio closed.
      Forward([&] { run_->Input(WindowInput::kClose); });
      X_Cleanup_And_End(*p_);
    }
    const int64_t now = MsSinceStart();
    int64_t next = now + kMaxWaitMs;
    if (const auto due = ticks_->NextDue()) next = std::min(next, *due);
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, static_cast<int>(std::clamp<int64_t>(next - now, 0, kMaxWaitMs)))) {
      Handle(e);
      while (SDL_PollEvent(&e)) Handle(e);
    }
    if (g_signal) continue;
    const auto fired = ticks_->Take(MsSinceStart());
    if (!fired) continue;
    elapsedMs_ = fired->due;  // a repeatable run sees the scheduled time, as the headless host does
    Forward([&] { run_->TimerFired(fired->timer); });
    if (fired->timer == 0 && o_.ticks && fired->count == o_.ticks) {
      std::printf("ticks %lld\n", fired->count);
      std::fflush(stdout);
    }
  }
}

void SdlOs::Handle(const SDL_Event& e) {
  const bool input = o_.where != Where::kXWindow;
  switch (e.type) {
    case SDL_QUIT:
      Forward([&] { run_->Input(WindowInput::kClose); });
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) Forward([&] { run_->Input(WindowInput::kClose); });
      else if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        for (size_t i = 0; i < outputs_.size(); ++i)
          if (SDL_GetWindowID(outputs_[i].window) == e.window.windowID) Present(i, true);
      break;
    case SDL_KEYDOWN:
      if (input) {
        const SDL_Keymod mod = static_cast<SDL_Keymod>(e.key.keysym.mod);
        const int16_t shift = static_cast<int16_t>(((mod & KMOD_SHIFT) ? 1 : 0) | ((mod & KMOD_CTRL) ? 2 : 0) | ((mod & KMOD_ALT) ? 4 : 0));
        const SDL_Keycode k = e.key.keysym.sym;
        const int16_t code = static_cast<int16_t>(k < 128 ? std::toupper(static_cast<int>(k)) : 0);
        Forward([&] { run_->Input(WindowInput::kKeyDown, code, shift); });
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (input) {
        if (e.button.clicks >= 2) Forward([&] { run_->Input(WindowInput::kDoubleClick); });
        else Forward([&] { run_->Input(WindowInput::kClick); });
      }
      break;
  }
}

}  // namespace dusk::sdl
