// Start-up: the settings file, the command line and its run modes, the registry, the error box
// and the one orderly way out.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/labels.h"
#include "platform/system.h"
#include "saver/previewscreen.h"
#include "startup/starter.h"
#include "scene/catalogue.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

using Startup = ProgramTest;

std::string Ini(const std::string& body) { return "[Duskhollow]\r\n" + body; }

TEST_F(Startup, WithoutASettingsFileTheDefaultsApplyAndNothingIsWritten) {
  X_GetData(*p);
  Scene& s = p->scene;
  for (CreatureState* on : {&s.Skeleton1, &s.Crow1, &s.Crow2, &s.Watchman, &s.Zombie, &s.BloodDrip,
                            &s.Rats[1], &s.GraveDigger, &s.Lightning[1], &s.Flower, &s.Owl, &s.Bats[1]})
    EXPECT_EQ(on->Enabled, kTrue);
  for (CreatureState* off : {&s.Pumpkin, &s.Dove, &s.FireFlies[1], &s.Hand, &s.Medallion, &s.Scorpion,
                             &s.Skeleton2, &s.Spider})
    EXPECT_EQ(off->Enabled, kFalse);
  EXPECT_EQ(p->settings.Speed, 70);
  for (int i = 0; i <= 11; ++i) {
    EXPECT_EQ(p->settings.SongOn[i], i == 0 ? kTrue : kFalse) << i;
    EXPECT_EQ(p->settings.SoundOn[i], (i == 3 || i == 5) ? kFalse : kTrue) << i;
  }
  EXPECT_EQ(p->settings.ClockOn, kFalse);
  EXPECT_EQ(p->settings.MessageText, "");
  EXPECT_FALSE(std::filesystem::exists(windir / "tarnix.ini"));
}

TEST_F(Startup, FirstRunAloneSwitchesEverythingOff) {
  WriteText("tarnix.ini", Ini("firstrun=1\r\n"));
  X_GetData(*p);
  for (const CreatureEntry& c : kCreatures) EXPECT_EQ(c.record(p->scene).Enabled, kFalse) << c.key;
  EXPECT_EQ(p->settings.Speed, 0);
  for (int i = 0; i <= 11; ++i) {
    EXPECT_EQ(p->settings.SongOn[i], kFalse);
    EXPECT_EQ(p->settings.SoundOn[i], kFalse);
  }
  EXPECT_EQ(p->settings.ClockOn, kFalse);
}

TEST_F(Startup, ACreatureIsOnWhenItsValueReadsAboveZero) {
  const std::pair<const char*, bool> cases[] = {{"1", true},  {" 1", true}, {"2", true},  {"0.5", true},
                                                {"1abc", true}, {"0", false}, {"-1", false}, {"abc", false},
                                                {"", false}};
  for (auto [value, on] : cases) {
    NewProcess();
    WriteText("tarnix.ini", Ini("firstrun=1\r\nowl=" + std::string(value) + "\r\n"));
    X_GetData(*p);
    EXPECT_EQ(p->scene.Owl.Enabled, on ? kTrue : kFalse) << "owl=" << value;
  }
}

TEST_F(Startup, SpeedIsRoundedHalvesToEven) {
  const std::pair<const char*, int> cases[] = {{"70", 70}, {" 70", 70}, {"70.5", 70}, {"71.5", 72}, {"&H20", 32}};
  for (auto [value, speed] : cases) {
    NewProcess();
    WriteText("tarnix.ini", Ini("firstrun=1\r\nspeed=" + std::string(value) + "\r\n"));
    X_GetData(*p);
    EXPECT_EQ(p->settings.Speed, speed) << value;
  }
}

TEST_F(Startup, ASpeedBeyondSixteenBitsIsReportedAndEndsTheProgram) {
  // The saver and the preview (not the settings dialog, which repairs it).
  for (const char* line : {"/s", "/p 1234"}) {
    NewProcess();
    WriteText("tarnix.ini", Ini("firstrun=1\r\nspeed=40000\r\n"));
    int code = RunMain(line);
    EXPECT_EQ(code, 1) << line;
    ASSERT_EQ(os->messages.size(), 1u) << line;
    EXPECT_NE(os->messages[0].find("Error Code: Dusk- 6- Starter/X_GetData"), std::string::npos) << line;
  }
}

TEST_F(Startup, SettingsAreReadInFullAndAMessageIsCutAt127Characters) {
  std::string message(200, 'm');
  WriteText("tarnix.ini", "[Other]\r\nspeed=5\r\n" +
                              Ini("FirstRun=1\r\nSPEED=25\r\nmessagetext=" + message +
                                  "\r\nsong2=1\r\nsong11= 1\r\nsound9=1\r\nclock=1\r\nzombie=1\r\n"));
  X_GetData(*p);
  EXPECT_EQ(p->settings.Speed, 25);  // names ignore case; other sections are not read
  EXPECT_EQ(p->settings.MessageText, message.substr(0, 127));
  EXPECT_EQ(p->settings.SongOn[2], kTrue);
  EXPECT_EQ(p->settings.SongOn[11], kTrue);
  EXPECT_EQ(p->settings.SongOn[0], kFalse);
  EXPECT_EQ(p->settings.SoundOn[9], kTrue);
  EXPECT_EQ(p->settings.ClockOn, kTrue);
  EXPECT_EQ(p->scene.Zombie.Enabled, kTrue);
}

TEST_F(Startup, DirectoriesEndInOneBackslash) {
  os->virtualWindowsDir = "C:\\";
  GetDiectories(*p);
  EXPECT_EQ(p->WindowsDir, "C:\\");
  EXPECT_EQ(p->DataDir, "C:\\Duskhollow\\");
  os->virtualWindowsDir = "C:\\WINDOWS";
  GetDiectories(*p);
  EXPECT_EQ(p->WindowsDir, "C:\\WINDOWS\\");
  EXPECT_EQ(p->DataDir, "C:\\WINDOWS\\Duskhollow\\");
}

struct DispatchCase {
  const char* commandLine;
  int16_t mode;
  int64_t window;
};

TEST_F(Startup, TheFirstSwitchFoundChoosesTheRunMode) {
  const DispatchCase cases[] = {{"", kModeSaver, 0},           {"/s", kModeSaver, 0},
                                {"/S", kModeSaver, 0},         {"  /s  ", kModeSaver, 0},
                                {"/P 1234", kModePreview, 1234}, {"/p:1234", kModePreview, 1234},
                                {"x /p 1234", kModePreview, 1234}, {"/c /p", kModePreview, 0},
                                {"/c:1234", kModeConfigure, 0}, {"/a 1234", kModePassword, 1234}};
  for (const DispatchCase& c : cases) {
    NewProcess();
    os->windows[1234] = Rect{0, 0, 152, 112};
    RunMain(c.commandLine);
    EXPECT_EQ(p->RunMode, c.mode) << "'" << c.commandLine << "'";
    if (c.mode == kModePreview) {
      EXPECT_EQ(p->PreviewParent, c.window) << c.commandLine;
    }
    if (c.mode == kModePassword) {
      EXPECT_EQ(p->PasswordParent, c.window);
    }
  }
}

TEST_F(Startup, PasswordChangeGoesToTheSystemWithItsWindow) {
  EXPECT_EQ(RunMain("/a 1234"), -1);  // Main returns; the host then ends the process
  EXPECT_NE(std::find(os->calls.begin(), os->calls.end(), "PwdChangePassword SCRSAVE 1234"), os->calls.end());
}

TEST_F(Startup, PasswordChangeWithoutAWindowNumberIsATypeMismatch) {
  EXPECT_EQ(RunMain("/a"), 1);
  ASSERT_EQ(os->messages.size(), 1u);
  EXPECT_EQ(os->messages[0].rfind("ScreenSaver Error: Error Code: Dusk- 13- Starter/Run_Password\r\r", 0), 0u);
}

TEST_F(Startup, ASecondSaverEndsAtOnceUnlessTheDisplayPropertiesAreOpen) {
  os->anotherInstance = true;
  EXPECT_EQ(RunMain("/s"), 0);
  EXPECT_EQ(p->RunMode, kModeNone);
  EXPECT_TRUE(os->mci.empty());  // no clean-up ran

  NewProcess();
  os->anotherInstance = true;
  os->topWindows.insert("Display Properties");
  EXPECT_EQ(RunMain("/s"), -1);
  EXPECT_EQ(p->RunMode, kModeSaver);

  NewProcess();
  os->anotherInstance = true;
  EXPECT_EQ(RunMain("/c"), -1);  // only the full-screen saver is single
  EXPECT_EQ(p->RunMode, kModeConfigure);
}

TEST_F(Startup, PreviewWithoutAWindowNumberHasNoParentAndAnEmptyRectangle) {
  RunMain("/p");
  EXPECT_EQ(p->PreviewParent, 0);
  EXPECT_EQ(p->PreviewRect.right, 0);
  EXPECT_EQ(p->PreviewRect.bottom, 0);
}

TEST_F(Startup, RegistryValuesAreReadAsNumbers) {
  const std::string path = "Control Panel\\Desktop";
  auto dword = [](uint32_t v) {
    return RegistryValue{kRegDword, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
  };
  os->registry[path + "\\A"] = dword(1);
  os->registry[path + "\\B"] = RegistryValue{1, {'1', 0}};
  os->registry[path + "\\C"] = dword(1234);  // three digits survive the cut
  os->registry[path + "\\D"] = RegistryValue{1, {'7', '2', 'x', 0}};
  EXPECT_EQ(GetRegValue(*p, kHkeyCurrentUser, path, "A"), 1);
  EXPECT_EQ(GetRegValue(*p, kHkeyCurrentUser, path, "B"), 1);
  EXPECT_EQ(GetRegValue(*p, kHkeyCurrentUser, path, "C"), 123);
  EXPECT_EQ(GetRegValue(*p, kHkeyCurrentUser, path, "D"), 72);
  EXPECT_EQ(GetRegValue(*p, kHkeyCurrentUser, path, "Missing"), 0);
}

TEST_F(Startup, ThePasswordSettingIsReadOnlyOnTheWindows95Family) {
  auto one = RegistryValue{kRegDword, {1, 0, 0, 0}};
  os->registry["Control Panel\\Desktop\\ScreenSaveUsePassword"] = one;
  RunMain("/s");
  EXPECT_EQ(p->OsVersion, "NT");
  EXPECT_EQ(p->UsePassword, 0);
  EXPECT_FALSE(os->screenSaverRunning);

  NewProcess();
  os->platformId = 1;
  os->registry["Control Panel\\Desktop\\ScreenSaveUsePassword"] = one;
  RunMain("/s");
  EXPECT_EQ(p->OsVersion, "95");
  EXPECT_EQ(p->UsePassword, 1);
  EXPECT_TRUE(os->screenSaverRunning);  // task switching is blocked while the saver runs
}

TEST_F(Startup, TheCleanUpReleasesStopsClosesAndEndsInOrder) {
  WriteAllPictures();
  WriteFile("Duskhollow/h_song0.Mid", {'M', 'T', 'h', 'd'});
  WriteFile("Duskhollow/h_sound0.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
  os->platformId = 1;
  os->registry["Control Panel\\Desktop\\ScreenSaveUsePassword"] = RegistryValue{kRegDword, {1, 0, 0, 0}};
  ASSERT_EQ(RunMain("/s"), -1);
  const size_t surfacesBefore = p->surfaces.LiveCount();
  EXPECT_GT(surfacesBefore, 20u);
  os->calls.clear();
  EXPECT_EQ(EndCode([&] { X_Cleanup_And_End(*p); }), 0);
  EXPECT_EQ(p->surfaces.LiveCount(), 1u);  // only the window's own canvas is left
  std::vector<std::string> expected = {"ShowCursor 1", "SetScreenSaverRunning 0",
                                       "mci status song0 mode", "mci stop song0",
                                       "mci status song0 mode", "mci close song0"};
  for (int i = 1; i <= 11; ++i) {
    expected.push_back("mci status song" + std::to_string(i) + " mode");
    expected.push_back("mci status song" + std::to_string(i) + " mode");
  }
  expected.push_back("mixer WaveMixCloseChannel 1 0 1");
  expected.push_back("mixer WaveMixFreeWave 1 1");
  for (int i = 1; i <= 11; ++i) expected.push_back("mixer WaveMixFreeWave 1 0");
  expected.push_back("mixer WaveMixCloseSession 1");
  expected.push_back("EndProcess 0");
  EXPECT_EQ(os->calls, expected);
  EXPECT_EQ(p->ErrorStep, "16");
}

TEST_F(Startup, TheCleanUpBeforeAnyModeStillShowsTheCursorAndRunsTheSongLoop) {
  EXPECT_EQ(EndCode([&] { X_Cleanup_And_End(*p); }), 0);
  ASSERT_GE(os->calls.size(), 26u);
  EXPECT_EQ(os->calls[0], "ShowCursor 1");
  EXPECT_EQ(os->calls[1], "mci status song0 mode");
  EXPECT_EQ(os->calls.back(), "EndProcess 0");
  EXPECT_EQ(p->ErrorStep, "00");
}

TEST_F(Startup, AFailureInsideTheCleanUpIsReportedOnceAndEndsDirectly) {
  p->RunMode = kModeSaver;
  p->sound.SoundAvailable = kTrue;
  p->sound.MixSession = 1;
  p->scene.BackTop.Picture = 5;  // a handle that was never made: releasing it fails quietly
  EXPECT_EQ(EndCode([&] { ErrorReport(*p, label::kCleanupAndEnd, kErrOverflow); }), 1);
  EXPECT_EQ(os->messages.size(), 1u);
  EXPECT_EQ(std::count(os->calls.begin(), os->calls.end(), "mci status song0 mode"), 0);
}

TEST(ErrorMessages, TheCodeLineAndTheRequestToReportIt) {
  std::string text = ErrorMessage(6, "13", "Animations\\Anim_Bat");
  EXPECT_EQ(text.rfind("Error Code: Dusk- 6-13 Animations\\Anim_Bat\r\rCongratulations, you have found a bug", 0), 0u);
  EXPECT_NE(text.find(std::string("at ") + kSupportAddress + " , we will send you a free copy"), std::string::npos);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(ErrorMessage(-5, "", "Starter/Main").rfind("Error Code: Dusk--5- Starter/Main\r\r", 0), 0u);
}

TEST_F(Startup, AnErrorInTheSaverShowsTheCursorAndLowersTheWindowFirst) {
  p->RunMode = kModeSaver;
  p->ErrorStep = "13";
  EXPECT_EQ(EndCode([&] { Guarded(*p, label::kAnimBat, [] { Raise(kErrOverflow); }); }), 1);
  ASSERT_GE(os->calls.size(), 3u);
  EXPECT_EQ(os->calls[0], "ShowCursor 1");
  EXPECT_EQ(os->calls[1], "LowerSaverWindow");
  EXPECT_EQ(os->calls[2], "MessageBox ScreenSaver Error");
  EXPECT_EQ(os->messages[0].rfind("ScreenSaver Error: Error Code: Dusk- 6-13 Animations\\Anim_Bat", 0), 0u);
}

TEST(Labels, SixtyThreeDistinctLabels) {
  std::vector<std::string> all(std::begin(label::kAll), std::end(label::kAll));
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::unique(all.begin(), all.end()), all.end());
  for (const std::string& l : all) {
    bool animations = l.rfind("Animations\\", 0) == 0;
    EXPECT_EQ(l.find(animations ? '/' : '\\'), std::string::npos) << l;
  }
}

}  // namespace
}  // namespace dusk::testing
