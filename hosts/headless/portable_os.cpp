#include "hosts/headless/portable_os.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/bytes.h"
#include "platform/ini.h"
#include "platform/runtime.h"
#include "platform/text.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace dusk {
namespace fs = std::filesystem;
namespace {

// MCI error codes the sequencer stand-in answers with.
constexpr uint32_t kMciInvalidDeviceName = 263;
constexpr uint32_t kMciFileNotFound = 275;
constexpr uint32_t kMciDuplicateAlias = 289;
constexpr uint32_t kMciInvalidFile = 296;

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

uint32_t Field32(const uint8_t (&b)[24], int offset) { return ReadLe32(b + offset); }

}  // namespace

std::optional<std::vector<uint8_t>> ReadRegularFile(const std::string& path, uint64_t limit) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  const uintmax_t size = fs::file_size(path, ec);
  if (ec || size > limit) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
  return bytes;
}

bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  fs::path target(path);
  if (fs::is_symlink(target, ec)) {
    target = fs::weakly_canonical(target, ec);
    if (ec) return false;
  }
  static std::atomic<unsigned> counter{0};
  fs::path temp = target;
  temp += ".~" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007) + "-" +
          std::to_string(counter++);
  FILE* f = std::fopen(temp.string().c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
#ifndef _WIN32
  ok = ok && fsync(fileno(f)) == 0;  // on the disk before it replaces the old file
#endif
  ok = std::fclose(f) == 0 && ok;
  if (ok) {
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
    fs::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}

PortableOs::PortableOs(std::string realWindowsDir) : realDir_(std::move(realWindowsDir)) {}

std::string PortableOs::RealPath(const std::string& programPath) const {
  std::string rest;
  fs::path root(realDir_);
  if (StartsWithNoCase(programPath, virtualWindowsDir)) rest = programPath.substr(virtualWindowsDir.size());
  else if (!realUserDataDir.empty() && !virtualUserDataDir.empty() && StartsWithNoCase(programPath, virtualUserDataDir)) {
    rest = programPath.substr(virtualUserDataDir.size());
    root = fs::path(realUserDataDir);
  } else if (programPath.find('\\') == std::string::npos && programPath.find('/') == std::string::npos)
    rest = programPath;  // a bare file name lives in the Windows directory
  else return programPath;
  std::replace(rest.begin(), rest.end(), '\\', '/');
  while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  // Names are found whatever their case, as on the system the program was made for.
  fs::path path(root);
  std::error_code ec;
  for (const auto& part : fs::path(rest)) {
    fs::path exact = path / part;
    if (!fs::exists(exact, ec) && fs::is_directory(path, ec)) {
      for (const auto& entry : fs::directory_iterator(path, ec))
        if (Lower(entry.path().filename().string()) == Lower(part.string())) {
          exact = entry.path();
          break;
        }
    }
    path = exact;
  }
  return path.string();
}

std::string PortableOs::WindowsDirectory() { return virtualWindowsDir; }

uint64_t PortableOs::FindTopWindow(const std::string& title) { return topWindows.count(title) ? 0x10010 : 0; }

LocalTime PortableOs::Now() {
  int64_t secs = (localTime.hour * 3600 + localTime.minute * 60 + localTime.second) + elapsedMs / 1000;
  secs %= 86400;
  return LocalTime{static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60)};
}

void PortableOs::SetScreenSaverRunning(bool running) {
  screenSaverRunning = running;
  Log(running ? "SetScreenSaverRunning 1" : "SetScreenSaverRunning 0");
}

void PortableOs::ShowCursor(bool show) {
  (show ? cursorShows : cursorHides)++;
  Log(show ? "ShowCursor 1" : "ShowCursor 0");
}

std::string PortableOs::FindFirstNormalFile(const std::string& path) {
  fs::path real(RealPath(path));
  std::error_code ec;
  if (!fs::is_regular_file(real, ec)) return "";
  std::string name = real.filename().string();
  if (hiddenFiles.count(Lower(name)) || name.front() == '.') return "";
  return name;
}

std::optional<std::vector<uint8_t>> PortableOs::ReadWholeFile(const std::string& path) {
  return ReadRegularFile(RealPath(path));
}

std::string PortableOs::GetProfileString(const std::string& file, const std::string& section,
                                         const std::string& key) {
  auto bytes = ReadWholeFile(file);
  if (!bytes) return "";
  std::string value = ini::Get(ini::Decode(*bytes).text, section, key);
  if (value.size() > 127) value.resize(127);
  return value;
}

bool PortableOs::Refused(const std::string& path) {
  lastError_ = "Access is denied: " + path;
  Log("refused " + path);
  return false;
}

bool PortableOs::WriteProfileString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
  if (readOnlyFiles.count(Lower(file))) return Refused(file);
  const std::string real = RealPath(file);
  std::error_code ec;
  const fs::file_status status = fs::status(real, ec);
  ini::DecodedFile old;
  bool ok = status.type() == fs::file_type::not_found;
  if (!ok && !ec) {
    // Something that is not a readable settings file (a folder, a pipe, a device, a file too
    // big to be one) is left alone.
    if (auto bytes = ReadRegularFile(real)) {
      old = ini::Decode(*bytes);
      ok = true;
    }
  }
  // A file keeps its encoding: a UTF-16 or marked UTF-8 file stays one.
  ok = ok && ReplaceFileContents(real, ini::Encode(ini::Put(old.text, section, key, value), old.encoding));
  if (!ok) lastError_ = "The file could not be written: " + file;
  Log("WriteProfileString " + key + "=" + value + (ok ? "" : " failed"));
  return ok;
}

bool PortableOs::CreateFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directories(RealPath(path), ec);
  if (!fs::is_directory(RealPath(path), ec)) return Refused(path);
  Log("CreateFolder " + path);
  return true;
}

bool PortableOs::WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (readOnlyFiles.count(Lower(path)) || !ReplaceFileContents(RealPath(path), bytes)) return Refused(path);
  Log("WriteWholeFile " + path);
  return true;
}

std::optional<RegistryValue> PortableOs::QueryRegistryValue(uint32_t, const std::string& path,
                                                            const std::string& name) {
  auto it = registry.find(path + "\\" + name);
  if (it == registry.end()) return std::nullopt;
  return it->second;
}

void PortableOs::MessageBox(const std::string& text, const std::string& title) {
  messages.push_back(title + ": " + text);
  Log("MessageBox " + title);
}

void PortableOs::EndProcess(int code) {
  Log("EndProcess " + std::to_string(code));
  throw ProcessExit{code};
}

uint32_t PortableOs::MciSendString(const std::string& command, std::string& reply) {
  if (keepRecords) mci.push_back(command);
  Log("mci " + command);
  const std::vector<std::string> w = Words(Lower(command));
  if (w.empty()) return kMciInvalidDeviceName;
  if (w[0] == "open") {
    size_t q1 = command.find('"'), q2 = command.find('"', q1 + 1);
    size_t aliasAt = Lower(command).rfind(" alias ");
    if (q1 == std::string::npos || q2 == std::string::npos || aliasAt == std::string::npos) return kMciInvalidFile;
    std::string alias = Words(Lower(command.substr(aliasAt + 7))).front();
    if (songs_.count(alias)) return kMciDuplicateAlias;
    auto bytes = ReadWholeFile(command.substr(q1 + 1, q2 - q1 - 1));
    if (!bytes) return kMciFileNotFound;
    double seconds = songSeconds ? songSeconds(*bytes) : 60.0;
    if (seconds < 0) return kMciInvalidFile;
    songs_[alias] = Song{seconds, false, 0};
    return 0;
  }
  if (w.size() < 2) return kMciInvalidDeviceName;
  auto it = songs_.find(w[1]);
  if (it == songs_.end()) return kMciInvalidDeviceName;
  Song& song = it->second;
  if (w[0] == "play") {
    int64_t from = (w.size() >= 4 && w[2] == "from") ? std::stoll(w[3]) : 0;
    song.playing = true;
    song.startedMs = elapsedMs - from;
    return 0;
  }
  if (w[0] == "status") {
    if (song.playing && elapsedMs - song.startedMs >= static_cast<int64_t>(song.seconds * 1000)) song.playing = false;
    std::string mode = song.playing ? "playing" : "stopped";
    if (reply.size() < mode.size()) reply.resize(mode.size());
    reply.replace(0, mode.size(), mode);
    if (reply.size() > mode.size() && reply[mode.size()] != ' ') reply[mode.size()] = '\0';
    return 0;
  }
  if (w[0] == "stop") {
    song.playing = false;
    return 0;
  }
  if (w[0] == "close") {
    songs_.erase(it);
    return 0;
  }
  return 0;
}

void PortableOs::PlaySoundNamed(const std::string& name, uint32_t flags) {
  if (keepRecords) soundsPlayed.push_back("name " + name + " flags " + std::to_string(flags));
  Log("sndPlaySound " + name + " " + std::to_string(flags));
}

void PortableOs::PlaySoundMemory(const std::vector<uint8_t>& wave, uint32_t flags) {
  if (keepRecords) soundsPlayed.push_back("memory " + std::to_string(wave.size()) + " bytes flags " + std::to_string(flags));
  Log("sndPlaySound memory " + std::to_string(flags));
}

uint32_t PortableOs::WaveMixInit() {
  uint32_t session = mixerAvailable ? 1 : 0;
  Mixer("WaveMixInit -> " + std::to_string(session));
  return session;
}

uint32_t PortableOs::WaveMixOpenWave(uint32_t session, const std::string& path) {
  auto bytes = ReadWholeFile(path);
  uint32_t wave = (bytes && bytes->size() >= 12 && std::equal(bytes->begin(), bytes->begin() + 4, "RIFF")) ? nextWave_++ : 0;
  Mixer("WaveMixOpenWave " + std::to_string(session) + " " + path + " -> " + std::to_string(wave));
  return wave;
}

void PortableOs::WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) {
  Mixer("WaveMixOpenChannel " + std::to_string(session) + " " + std::to_string(channel) + " " + std::to_string(flags));
}

void PortableOs::WaveMixActivate(uint32_t session, bool activate) {
  Mixer("WaveMixActivate " + std::to_string(session) + " " + (activate ? "1" : "0"));
}

void PortableOs::WaveMixPlay(const uint8_t (&params)[24]) {
  Mixer("WaveMixPlay session " + std::to_string(Field32(params, 2)) + " channel " +
        std::to_string(Field32(params, 6)) + " wave " + std::to_string(Field32(params, 10)) +
        " flags " + std::to_string(Field32(params, 18)));
}

void PortableOs::WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) {
  Mixer("WaveMixCloseChannel " + std::to_string(session) + " " + std::to_string(channel) + " " + std::to_string(flags));
}

void PortableOs::WaveMixFreeWave(uint32_t session, uint32_t wave) {
  Mixer("WaveMixFreeWave " + std::to_string(session) + " " + std::to_string(wave));
}

void PortableOs::WaveMixCloseSession(uint32_t session) { Mixer("WaveMixCloseSession " + std::to_string(session)); }

void PortableOs::PwdChangePassword(const std::string& provider, int32_t parentWindow) {
  Log("PwdChangePassword " + provider + " " + std::to_string(parentWindow));
}

int PortableOs::VerifyScreenSavePwd() {
  Log("VerifyScreenSavePwd");
  return verifyPassword();
}

Rect PortableOs::ClientRect(int64_t window) {
  auto it = windows.find(window);
  return it == windows.end() ? Rect{} : it->second;
}

void PortableOs::ShowSaverWindow(RunWindows& w) {
  runWindows = &w;
  Log("ShowSaverWindow");
}

void PortableOs::EmbedPreviewWindow(RunWindows& w, int64_t parent, const Rect&) {
  runWindows = &w;
  previewParent = parent;
  Log("EmbedPreviewWindow " + std::to_string(parent));
}

void PortableOs::ShowConfigurationWindow(RunWindows& w) {
  runWindows = &w;
  Log("ShowConfigurationWindow");
}

}  // namespace dusk
