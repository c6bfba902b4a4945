#include "platform/system.h"

#include <cstdlib>

#include "platform/bmp_reader.h"
#include "platform/ini.h"
#include "platform/numbers.h"
#include "platform/text.h"

namespace dusk {

std::string ErrorMessage(int number, const std::string& step, const std::string& label) {
  return "Error Code: Dusk-" + NumberText(number) + "-" + step + " " + label + "\r\r" +
         "Congratulations, you have found a bug in our software. If you report the above Error "
         "Code to us at " +
         kSupportAddress +
         " , we will send you a free copy of this screensaver once the bug is corrected ($9.95 "
         "Value). Please be sure to include the entire Error Code shown above. Thank you, and we "
         "hope to hear from you soon.";
}

void ErrorReport(System& p, const char* label, int number) {
  p.exitCode = 1;
  if (p.RunMode == kModeSaver) {
    p.os.ShowCursor(true);
    p.os.LowerSaverWindow();
  }
  p.os.MessageBox(ErrorMessage(number, p.ErrorStep, label), kErrorTitle);
  // A failure inside the clean-up ends the process without starting the clean-up again.
  if (std::string(label) != label::kCleanupAndEnd) EndRun(p);
  EndProcessNow(p.os, p.exitCode);
}

void EndRun(System& p) {
  if (p.cleanupAndEnd) p.cleanupAndEnd(p);
  EndProcessNow(p.os, p.exitCode);
}

int32_t GenerateDC(System& p, const std::string& path) {
  return Guarded(p, label::kGenerateDC, [&]() -> int32_t {
    auto bytes = p.os.ReadWholeFile(path);
    if (!bytes) return 0;
    auto bmp = DecodeBmp(bytes->data(), bytes->size());
    if (!bmp) return 0;
    return p.surfaces.Add(std::move(*bmp));
  });
}

int32_t GenerateBufferDC(System& p, Int16 width, Int16 height, int32_t reference) {
  int32_t handle = Guarded(p, label::kGenerateBufferDC,
                           [&] { return p.surfaces.AddBlank(width, height, reference); });
  if (handle <= 0) EndRun(p);  // no back buffer: the program ends without a message
  return handle;
}

bool RemoveDC(System& p, int32_t surface) {
  return Guarded(p, label::kRemoveDC, [&] { return surface > 0 && p.surfaces.Remove(surface); });
}

std::string GetIniData(System& p, const std::string& file, const std::string& section,
                       const std::string& key) {
  return Guarded(p, label::kGetIniData, [&] {
    return ini::CutValue(p.os.GetProfileString(file, section, key));
  });
}

bool PutIniData(System& p, const std::string& file, const std::string& section,
                const std::string& key, const std::string& value) {
  return Guarded(p, label::kPutIniData, [&] { return p.os.WriteProfileString(file, section, key, value); });
}

void FindSettingsFile(System& p) {
  p.SettingsFile = kSettingsFile;
  p.UserSettingsFile.clear();
  std::string folder = p.os.UserDataDirectory();
  if (folder.empty()) return;
  if (folder.back() != '\\') folder += '\\';
  p.UserSettingsFile = folder + kDataFolderName + "\\" + kSettingsFile;
  if (!p.os.FindFirstNormalFile(p.UserSettingsFile).empty()) p.SettingsFile = p.UserSettingsFile;
}

bool SaveSettings(System& p, const SettingPairs& pairs) {
  auto writeAll = [&](const std::string& file) {
    for (const auto& [key, value] : pairs)
      if (!p.os.WriteProfileString(file, kSettingsSection, key, value)) return false;
    return true;
  };
  std::string problems;
  auto refused = [&](const std::string& file) {
    problems += "\r" + file + "\r" + p.os.LastErrorText() + "\r";
  };
  if (p.SettingsFile == kSettingsFile) {
    if (writeAll(kSettingsFile)) return true;
    refused(p.WindowsDir + kSettingsFile);
    if (!p.UserSettingsFile.empty()) {
      // The user's own copy starts as the Windows directory's file, so that nothing in it is lost.
      const std::string folder = p.UserSettingsFile.substr(0, p.UserSettingsFile.rfind('\\'));
      auto bytes = p.os.ReadWholeFile(p.WindowsDir + kSettingsFile);
      if (p.os.CreateFolder(folder) && p.os.WriteWholeFile(p.UserSettingsFile, bytes ? *bytes : std::vector<uint8_t>{}) &&
          writeAll(p.UserSettingsFile)) {
        p.SettingsFile = p.UserSettingsFile;
        return true;
      }
      refused(p.UserSettingsFile);
    }
  } else {
    if (writeAll(p.SettingsFile)) return true;
    refused(p.SettingsFile);
  }
  p.os.MessageBox("Your settings could not be saved.\r" + problems, kSettingsSavedTitle);
  return false;
}

bool FileInstallCheck(System& p, const std::string& path) {
  return Guarded(p, label::kFileInstallCheck, [&] {
    std::string found = p.os.FindFirstNormalFile(path);
    std::string wanted = TrimPath(p, path);
    return !found.empty() && Lower(found) == Lower(wanted);
  });
}

std::string TrimPath(System& p, const std::string& path) {
  return Guarded(p, label::kTrimPath, [&] {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
  });
}

void CenterForm(System& p, FormGeometry& form) {
  Guarded(p, label::kCenterForm, [&] {
    double screenW = p.ScreenWidth * p.TwipsPerPixelX, screenH = p.ScreenHeight * p.TwipsPerPixelY;
    form.left = screenW / 2 - form.width / 2;
    form.top = screenH / 2 - form.height / 2;
  });
}

void SetTFS(System& p, const std::string& mode) {
  Guarded(p, label::kSetTFS, [&] {
    if (p.OsVersion != "95" || p.UsePassword != 1) return;
    std::string m = Lower(mode);
    if (m == "disable") p.os.SetScreenSaverRunning(true);
    else if (m == "enable") p.os.SetScreenSaverRunning(false);
  });
}

std::string GetVersion32(System& p) {
  return Guarded(p, label::kGetVersion32, [&]() -> std::string {
    switch (p.os.PlatformId()) {
      case 1: return "95";
      case 2: return "NT";
      default: return "Unknown";
    }
  });
}

void EndProcessNow(Os& os, int code) {
  os.EndProcess(code);
  std::abort();
}

int16_t HiWord(int32_t value) { return Int16(value / 65536); }

int16_t LoWord(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF)); }

}  // namespace dusk
