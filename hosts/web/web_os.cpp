#include "hosts/web/web_os.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

#include "hosts/kit/mci.h"
#include "hosts/kit/midi.h"
#include "platform/ini.h"
#include "platform/labels.h"
#include "platform/runtime.h"
#include "platform/text.h"
#include "wavemix/wavemix.h"

namespace dusk::web {

WebOs::WebOs(Page& page, int width, int height, std::optional<long long> seed, std::string settingsText)
    : page_(page), width_(width), height_(height), repeatable_(seed.has_value()), settingsText_(std::move(settingsText)) {
  if (seed) clock_.startSeconds = static_cast<double>(*seed);
  // The page knows a song by its data file's bare name.
  auto name = [this](const kit::ClockedSongs::Song& song) {
    return std::filesystem::path(HostPath(song.file)).filename().string();
  };
  songs_.started = [this, name](const kit::ClockedSongs::Song& song, uint32_t fromMs) {
    page_.SongPlay(name(song), fromMs);
  };
  songs_.stopped = [this, name](const kit::ClockedSongs::Song& song) { page_.SongStop(name(song)); };
}

double WebOs::ClockSeconds() {
  if (repeatable_) return clock_.ClockSeconds(elapsedMs_);
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm t{};
  localtime_r(&ts.tv_sec, &t);
  return t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec + ts.tv_nsec / 1e9;
}

LocalTime WebOs::Now() {
  if (repeatable_) return clock_.Now(elapsedMs_);
  const time_t now = time(nullptr);
  tm t{};
  localtime_r(&now, &t);
  return LocalTime{t.tm_hour, t.tm_min, t.tm_sec};
}

// --- files and settings ---

std::string WebOs::HostPath(const std::string& programPath) const {
  if (EqualNoCase(programPath, kSettingsFile)) return kSettingsPath;
  const std::string data = kit::MapVirtualPath(programPath, std::string(kWindowsDir) + "\\" + kDataFolderName, kDataDir);
  if (!data.empty()) return data;
  const std::string settingsDir = std::filesystem::path(kSettingsPath).parent_path().string();
  const std::string other = kit::MapVirtualPath(programPath, kWindowsDir, settingsDir);
  if (!other.empty()) return other;
  if (programPath.find('\\') == std::string::npos && programPath.find('/') == std::string::npos)
    return kit::FindIgnoringCase(settingsDir, programPath);
  return programPath;
}

std::string WebOs::FindFirstNormalFile(const std::string& path) {
  const std::filesystem::path real(HostPath(path));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(real, ec)) return "";
  return real.filename().string();
}

std::optional<std::vector<uint8_t>> WebOs::ReadWholeFile(const std::string& path) {
  return kit::ReadRegularFile(HostPath(path));
}

bool WebOs::CreateFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(HostPath(path), ec);
  if (std::filesystem::is_directory(HostPath(path), ec)) return true;
  lastError_ = "Access is denied: " + path;
  return false;
}

bool WebOs::WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (kit::ReplaceFileContents(HostPath(path), bytes)) return true;
  lastError_ = "Access is denied: " + path;
  return false;
}

std::string WebOs::GetProfileString(const std::string& file, const std::string& section, const std::string& key) {
  if (!EqualNoCase(file, kSettingsFile)) return kit::GetProfileValue(HostPath(file), section, key);
  return ini::CutValue(ini::Get(settingsText_, section, key));  // the settings as the run started
}

bool WebOs::WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value) {
  if (kit::PutProfileValue(HostPath(file), section, key, value)) return true;
  lastError_ = "The file could not be written: " + file;
  return false;
}

void WebOs::MessageBox(const std::string& text, const std::string& title) {
  ending_ = true;  // the run is over once an error is shown
  std::string t = text;
  for (size_t at; (at = t.find('\r')) != std::string::npos;) t[at] = '\n';
  lastMessage = title + ": " + t;
}

void WebOs::EndProcess(int code) {
  ending_ = true;
  songs_.StopAll();
  page_.Ended(code, lastMessage);
  throw ProcessExit{code};
}

// --- songs: timed by the program's clock (as the headless host times them), heard from the page ---

uint32_t WebOs::MciSendString(const std::string& command, std::string& reply) {
  // At the time of the timer that fired last.
  return songs_.Send(
      command, reply, elapsedMs_, [this](const std::string& file) { return ReadWholeFile(file); },
      [](const std::vector<uint8_t>& bytes) { return kit::MidiFileSeconds(bytes); });
}

// --- effects: the wave mixer, its sink set by the page ---

uint32_t WebOs::WaveMixInit() { return wavemix::WaveMixInit(); }
uint32_t WebOs::WaveMixOpenWave(uint32_t session, const std::string& path) {
  return wavemix::WaveMixOpenWave(session, HostPath(path).c_str(), 0, 0);
}
void WebOs::WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) {
  wavemix::WaveMixOpenChannel(session, channel, flags);
}
void WebOs::WaveMixActivate(uint32_t session, bool activate) { wavemix::WaveMixActivate(session, activate ? 1 : 0); }
void WebOs::WaveMixPlay(const uint8_t (&params)[24]) { wavemix::WaveMixPlay(params); }
void WebOs::WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) {
  wavemix::WaveMixCloseChannel(session, channel, flags);
}
void WebOs::WaveMixFreeWave(uint32_t session, uint32_t wave) { wavemix::WaveMixFreeWave(session, wave); }
void WebOs::WaveMixCloseSession(uint32_t session) { wavemix::WaveMixCloseSession(session); }

// --- the window and its timers ---

void WebOs::ShowSaverWindow(RunWindows& windows) {
  run_ = &windows;
  ticks_.emplace(windows.Timers(), repeatable_);
  ticks_->Sync(elapsedMs_);
  whole_ = true;
}

template <class F>
void WebOs::Forward(F&& event) {
  if (ending_ || !run_) return;
  try {
    event();
  } catch (const RuntimeError& e) {
    if (program_) ErrorReport(*program_, label::kMain, e.number);
  }
  if (ticks_) ticks_->Sync(elapsedMs_);
}

int64_t WebOs::Pump(int64_t nowMs) {
  if (!ticks_ || ending_) return -1;
  bool any = false;
  while (const auto fired = ticks_->Take(nowMs)) {
    elapsedMs_ = fired->due;
    Forward([&] { run_->TimerFired(fired->timer); });
    any = true;
    if (ending_) return -1;
  }
  elapsedMs_ = nowMs;
  if (any) Present(false);
  const auto due = ticks_->NextDue();
  return due ? std::max<int64_t>(0, *due - nowMs) : -1;
}

void WebOs::RunTicks(long long ticks) {
  if (!ticks_ || !run_) return;
  // As the headless host makes them: each frame interval, every timer due in it in order.
  const int32_t interval = run_->Timers().front()->Interval;
  const int64_t step = interval > 0 ? interval : 70;
  for (long long tick = 1; tick <= ticks && !ending_; ++tick) {
    const int64_t until = elapsedMs_ + step;
    while (const auto fired = ticks_->Take(until)) {
      elapsedMs_ = fired->due;
      Forward([&] { run_->TimerFired(fired->timer); });
      if (ending_) return;
    }
    elapsedMs_ = until;
  }
  Present(true);
}

void WebOs::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  if (!run_ || ending_) return;
  Forward([&] { run_->Resized(0, width, height); });
  Present(true);
}

void WebOs::Input(WindowInput kind, int16_t code, int16_t shift) {
  Forward([&] { run_->Input(kind, code, shift); });
}

void WebOs::SendWhole() { Present(true); }

void WebOs::Present(bool whole) {
  if (!run_ || ending_) return;
  const WindowFrame& frame = run_->Frame(0);
  if (!frame.canvas) return;
  whole = whole || whole_;
  whole_ = false;
  const Bitmap& c = *frame.canvas;
  page_.Present(frame, whole ? std::vector<Rect>{Rect{0, 0, c.width, c.height}} : frame.changed);
}

}  // namespace dusk::web
