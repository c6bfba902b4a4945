#include "hosts/headless/portable_os.h"

#include <algorithm>
#include <filesystem>

#include "hosts/kit/files.h"
#include "hosts/kit/mci.h"
#include "platform/bytes.h"
#include "platform/runtime.h"
#include "platform/text.h"

namespace dusk {
namespace fs = std::filesystem;
namespace {

uint32_t Field32(const uint8_t (&b)[24], int offset) { return ReadLe32(b + offset); }

}  // namespace

PortableOs::PortableOs(std::string realWindowsDir) : realDir_(std::move(realWindowsDir)) {}

std::string PortableOs::RealPath(const std::string& programPath) const {
  std::string real = kit::MapVirtualPath(programPath, virtualWindowsDir, realDir_);
  if (real.empty()) real = kit::MapVirtualPath(programPath, virtualUserDataDir, realUserDataDir);
  if (!real.empty()) return real;
  // A bare file name lives in the Windows directory.
  if (programPath.find('\\') == std::string::npos && programPath.find('/') == std::string::npos)
    return kit::FindIgnoringCase(realDir_, programPath);
  return programPath;
}

std::string PortableOs::WindowsDirectory() { return virtualWindowsDir; }

uint64_t PortableOs::FindTopWindow(const std::string& title) { return topWindows.count(title) ? 0x10010 : 0; }

LocalTime PortableOs::Now() { return kit::SimulatedClock{clockSeconds, localTime}.Now(elapsedMs); }

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
  return kit::ReadRegularFile(RealPath(path));
}

std::string PortableOs::GetProfileString(const std::string& file, const std::string& section,
                                         const std::string& key) {
  return kit::GetProfileValue(RealPath(file), section, key);
}

bool PortableOs::Refused(const std::string& path) {
  lastError_ = "Access is denied: " + path;
  Log("refused " + path);
  return false;
}

bool PortableOs::WriteProfileString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
  if (readOnlyFiles.count(Lower(file))) return Refused(file);
  const bool ok = kit::PutProfileValue(RealPath(file), section, key, value);
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
  if (readOnlyFiles.count(Lower(path)) || !kit::ReplaceFileContents(RealPath(path), bytes)) return Refused(path);
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
  return songs_.Send(
      command, reply, elapsedMs, [this](const std::string& file) { return ReadWholeFile(file); },
      [this](const std::vector<uint8_t>& bytes) { return songSeconds ? songSeconds(bytes) : 60.0; });
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
