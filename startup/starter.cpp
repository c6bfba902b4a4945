#include "startup/starter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/bytes.h"
#include "platform/numbers.h"
#include "platform/system.h"
#include "platform/text.h"
#include "saver/previewscreen.h"
#include "saver/screensaver.h"
#include "scene/animations.h"
#include "scene/catalogue.h"
#include "scene/settings_table.h"
#include "settings_dialog/configuration.h"
#include "startup/command_line.h"

namespace dusk {
namespace {

bool IsOn(const std::string& value) { return ReadNumber(value) > 0; }

std::string Setting(Program& p, const std::string& key) {
  return GetIniData(p, p.SettingsFile, kSettingsSection, key);
}

// A stored number (the speed), rounded. One that does not fit in 16 bits raises 6 (the saver and
// the preview cannot run with it), except in the settings dialog: there it reads as the nearest
// 16-bit value, which the speed bar shows at its slow or fast end, so that Apply can repair the file.
int16_t NumberSetting(Program& p, const std::string& text) {
  if (RunModeOf(p.CmdLine) != kModeConfigure) return RoundToInt16(ReadNumber(text));
  try {
    const double speed = RoundHalfEven(ReadNumber(text));
    return static_cast<int16_t>(std::isnan(speed) ? 32767.0 : std::clamp(speed, -32768.0, 32767.0));
  } catch (const RuntimeError&) {
    return 32767;  // beyond any number: the slow end
  }
}

}  // namespace

void Main(Program& p, const std::string& commandLine) {
  Guarded(p, label::kMain, [&] {
    p.CmdLine = Lower(Trim(commandLine));
    p.CmdSwitch = p.CmdLine.substr(0, std::min<size_t>(2, p.CmdLine.size()));
    p.DisplayPropsWnd = p.os.FindTopWindow("Display Properties");
    // Asking also marks this instance as running, so it is asked in every case.
    bool another = p.os.AnotherInstanceRunning();
    if (p.CmdSwitch == "/s" && p.DisplayPropsWnd == 0 && another) EndProcessNow(p.os, 0);
    GetDiectories(p);
    p.ScreenWidth = RoundToInt16(p.os.ScreenWidthPixels());
    p.ScreenHeight = RoundToInt16(p.os.ScreenHeightPixels());
    SetSceneLimits(p);
    p.Rnd.Seed(p.os.ClockSeconds());
    X_GetData(p);
    Properties_Creatures(p);
    switch (RunModeOf(commandLine)) {
      case kModePreview: Run_Preview(p, commandLine); break;
      case kModeConfigure: Run_Configure(p); break;
      case kModePassword: Run_Password(p, commandLine); break;
      default: Run_ScreenSaver(p);
    }
  });
}

void Run_ScreenSaver(Program& p) {
  Guarded(p, label::kRunScreenSaver, [&] {
    p.RunMode = kModeSaver;
    LoadPics4ScreenSaver(p);
    p.os.ShowCursor(false);
    p.OsVersion = GetVersion32(p);
    if (p.OsVersion == "95")
      p.UsePassword = GetRegValue(p, kHkeyCurrentUser, "Control Panel\\Desktop", "ScreenSaveUsePassword");
    SetTFS(p, "disable");
    p.screenSaver = std::make_unique<ScreenSaver>(p);
    p.screenSaver->Form_Initialize();
    p.screenSaver->Form_Load();
  });
}

void Run_Preview(Program& p, const std::string& commandLine) {
  (void)commandLine;
  Guarded(p, label::kRunPreview, [&] {
    p.RunMode = kModePreview;
    X_LoadPics4Preview(p);
    p.PreviewParent = PreviewParentOf(p.CmdLine);
    p.PreviewRect = p.os.ClientRect(p.PreviewParent);
    p.previewScreen = std::make_unique<PreviewScreen>(p);
    p.previewScreen->Form_Initialize();
    p.previewScreen->Form_Load();
    p.previewScreen->Caption = "Preview";
    p.os.EmbedPreviewWindow(*p.windows, p.PreviewParent, p.PreviewRect);
  });
}

void Run_Configure(Program& p) {
  Guarded(p, label::kRunConfigure, [&] {
    p.RunMode = kModeConfigure;
    p.configuration = std::make_unique<Configuration>(p);
    p.configuration->Form_Load();
  });
}

void Run_Password(Program& p, const std::string& commandLine) {
  Guarded(p, label::kRunPassword, [&] {
    p.RunMode = kModePassword;
    p.PasswordParent = PasswordParentOf(commandLine);
    p.os.PwdChangePassword("SCRSAVE", p.PasswordParent);
  });
}

int16_t GetRegValue(Program& p, uint32_t root, const std::string& keyPath, const std::string& name) {
  std::string text = "Not Found";
  if (auto value = p.os.QueryRegistryValue(root, keyPath, name)) {
    const size_t count = value->data.size();
    if (value->type == kRegDword && count >= 4) {
      const int32_t n = static_cast<int32_t>(ReadLe32(value->data.data()));
      char buf[24];
      std::snprintf(buf, sizeof buf, n < 0 ? "-%03lld" : "%03lld", n < 0 ? -static_cast<long long>(n) : static_cast<long long>(n));
      text = buf;
    } else {
      text.assign(value->data.begin(), value->data.end());
    }
    text = text.substr(0, count > 0 ? count - 1 : 0);
  }
  try {
    return RoundToInt16(ReadNumber(text));
  } catch (const RuntimeError&) {
    return 0;
  }
}

void X_Cleanup_And_End(Program& p) {
  Guarded(p, label::kCleanupAndEnd, [&] {
    Scene& s = p.scene;
    auto release = [&](Int32& handle) {
      if (handle > 0) RemoveDC(p, handle);
      handle = 0;
    };
    for (CreatureState* c : {&s.BackTop, &s.BackMid1, &s.BackMid2, &s.BackMid3, &s.BackBottom})
      release(c->Picture);
    release(p.PaletteSurface);
    release(p.BackBuffer);
    for (CreatureState* c : {&s.Tomb1, &s.Tomb2, &s.Tomb4}) release(c->Picture);
    for (const CreatureEntry& c : kCreatures)
      for (const SheetLoad& sheet : c.sheets)
        if (sheet.record) release(sheet.record(s).Picture);
    release(p.PreviewStrip);
    release(s.PreviewState1.Picture);
    release(s.PreviewState2.Picture);

    p.os.ShowCursor(true);
    SetTFS(p, "enable");

    for (int i = 0; i <= 11; ++i) CloseSong(p.os, SongAlias(i));
    p.ErrorStep = "00";

    if (p.RunMode == kModeSaver) {
      if (p.sound.SoundAvailable) {
        p.os.WaveMixCloseChannel(p.sound.MixSession, 0, 1);
        p.ErrorStep = "15";
        for (int i = 0; i <= 11; ++i) p.os.WaveMixFreeWave(p.sound.MixSession, p.sound.WaveHandle[i]);
        p.ErrorStep = "16";
        p.os.WaveMixCloseSession(p.sound.MixSession);
      }
    } else if (p.RunMode == kModeConfigure) {
      p.os.PlaySoundNamed("0", kSndNoDefault);
      p.ErrorStep = "14";
    }
  });
  EndProcessNow(p.os, p.exitCode);
}

void GetDiectories(Program& p) {
  Guarded(p, label::kGetDiectories, [&] {
    std::string dir = p.os.WindowsDirectory();
    if (dir.size() > 256) dir.resize(256);
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    p.WindowsDir = dir;
    p.DataDir = p.WindowsDir + kDataFolderName + "\\";
    FindSettingsFile(p);
  });
}

void X_GetData(Program& p) {
  Guarded(p, label::kGetData, [&] {
    if (!IsOn(Setting(p, kFirstRunKey))) {
      ApplySettingDefaults(p);
      return;
    }
    for (const SettingKey& k : SettingKeys()) {
      if (k.row->type == SettingType::kMark) continue;
      const std::string value = Setting(p, k.key);
      switch (k.row->type) {
        case SettingType::kSwitch:
          // A key newer than the file reads as its default.
          k.Flag(p) = VbBool(k.row->optional && Trim(value).empty() ? k.OnByDefault() : IsOn(value));
          break;
        case SettingType::kNumber: k.Number(p) = NumberSetting(p, value); break;
        case SettingType::kText: k.Text(p) = value; break;
        case SettingType::kMark: break;
      }
    }
  });
}

void LoadPics4ScreenSaver(Program& p) {
  Guarded(p, label::kLoadPics4ScreenSaver, [&] {
    Scene& s = p.scene;
    auto load = [&](CreatureState& r) { r.Picture = GenerateDC(p, p.DataDir + r.FileName); };
    auto loadIf = [&](CreatureState& r, bool condition) {
      if (condition) load(r);
    };
    p.PaletteSurface = GenerateDC(p, p.DataDir + "h_palette.bmp");
    p.BackBuffer = GenerateBufferDC(p, 800, 600, p.PaletteSurface);
    for (CreatureState* c : {&s.BackTop, &s.BackMid1, &s.BackMid2, &s.BackMid3, &s.BackBottom}) load(*c);
    for (CreatureState* c : {&s.Tomb1, &s.Tomb2, &s.Tomb4}) loadIf(*c, c->FileFound);
    // Each creature's sheets: while it is on, or (a few) whenever their files exist.
    for (const CreatureEntry& c : kCreatures)
      for (const SheetLoad& sheet : c.sheets) {
        if (!sheet.record) continue;
        CreatureState& r = sheet.record(s);
        loadIf(r, r.FileFound && (sheet.when == LoadWhen::kFileFound || c.record(s).Enabled));
      }
    RemoveDC(p, p.PaletteSurface);
    p.PaletteSurface = 0;  // released: the clean-up does not release it again
  });
}

void X_LoadPics4Preview(Program& p) {
  Guarded(p, label::kLoadPics4Preview,
          [&] { p.PreviewStrip = GenerateDC(p, p.DataDir + "h_preview.bmp"); });
}

}  // namespace dusk
