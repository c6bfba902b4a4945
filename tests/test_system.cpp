// Small system utilities: file checks, path trimming, centring, task switching, the Windows
// family, sound files and the 16-bit halves of the mixer's play record.
#include <gtest/gtest.h>

#include "platform/system.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

using System = ProgramTest;

TEST_F(System, AFileCountsOnlyWhenItIsANormalFileOfThatName) {
  WriteText("Duskhollow/h_Crow2.bmp", "x");
  WriteText("Duskhollow/h_bat.bmp", "x");
  std::filesystem::create_directories(windir / "Duskhollow" / "h_owl.bmp");
  os->hiddenFiles.insert("h_bat.bmp");
  EXPECT_TRUE(FileInstallCheck(*p, "C:\\WINDOWS\\Duskhollow\\h_Crow2.bmp"));
  EXPECT_TRUE(FileInstallCheck(*p, "C:\\WINDOWS\\Duskhollow\\h_crow2.bmp"));  // case does not matter
  EXPECT_FALSE(FileInstallCheck(*p, "C:\\WINDOWS\\Duskhollow\\h_bat.bmp"));   // hidden
  EXPECT_FALSE(FileInstallCheck(*p, "C:\\WINDOWS\\Duskhollow\\h_owl.bmp"));   // a directory
  EXPECT_FALSE(FileInstallCheck(*p, "C:\\WINDOWS\\Duskhollow\\h_none.bmp"));
}

TEST_F(System, TrimPathKeepsTheLastComponent) {
  EXPECT_EQ(TrimPath(*p, "C:\\WINDOWS\\Duskhollow\\h_bat.bmp"), "h_bat.bmp");
  EXPECT_EQ(TrimPath(*p, "h_bat.bmp"), "h_bat.bmp");
  EXPECT_EQ(TrimPath(*p, ""), "");
  EXPECT_EQ(TrimPath(*p, "C:\\WINDOWS\\"), "");
}

TEST_F(System, CenterFormUsesHalvesOfTheScreenAndTheForm) {
  p->ScreenWidth = 1024;
  p->ScreenHeight = 768;
  FormGeometry form{0, 0, 7680, 4201};
  CenterForm(*p, form);
  EXPECT_EQ(form.left, (1024 * 15 - 7680) / 2.0);
  EXPECT_EQ(form.top, 768 * 15 / 2.0 - 4201 / 2.0);  // fractions pass through
  EXPECT_EQ(form.width, 7680);
}

TEST_F(System, TaskSwitchingIsBlockedOnlyOnTheWindows95FamilyWithAPassword) {
  SetTFS(*p, "disable");
  EXPECT_TRUE(os->calls.empty());  // NT, no password
  p->OsVersion = "95";
  SetTFS(*p, "disable");
  EXPECT_TRUE(os->calls.empty());  // no password
  p->UsePassword = 1;
  SetTFS(*p, "DISABLE");
  EXPECT_TRUE(os->screenSaverRunning);
  SetTFS(*p, "something else");
  EXPECT_TRUE(os->screenSaverRunning);
  SetTFS(*p, "Enable");
  EXPECT_FALSE(os->screenSaverRunning);
}

TEST_F(System, TheWindowsFamily) {
  os->platformId = 1;
  EXPECT_EQ(GetVersion32(*p), "95");
  os->platformId = 2;
  EXPECT_EQ(GetVersion32(*p), "NT");
  os->platformId = 3;
  EXPECT_EQ(GetVersion32(*p), "Unknown");
}

TEST_F(System, SoundFilesAreReadWholeAndAMissingOneIsFileNotFound) {
  WriteFile("Duskhollow/empty.wav", {});
  WriteFile("Duskhollow/three.wav", {1, 2, 3});
  EXPECT_TRUE(LoadSound(*p, "C:\\WINDOWS\\Duskhollow\\empty.wav").empty());
  EXPECT_EQ(LoadSound(*p, "C:\\WINDOWS\\Duskhollow\\three.wav"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(EndCode([&] { LoadSound(*p, "C:\\WINDOWS\\Duskhollow\\none.wav"); }), 1);
  ASSERT_EQ(os->messages.size(), 1u);
  EXPECT_NE(os->messages[0].find("Dusk- 53- System/LoadSound"), std::string::npos);
}

TEST(Words, SixteenBitHalvesOfThirtyTwoBitValues) {
  EXPECT_EQ(LoWord(65535), -1);
  EXPECT_EQ(LoWord(32768), -32768);
  EXPECT_EQ(LoWord(5), 5);
  EXPECT_EQ(HiWord(65536), 1);
  EXPECT_EQ(HiWord(131071), 1);
  EXPECT_EQ(HiWord(5), 0);
  EXPECT_EQ(HiWord(-65536), -1);
}

}  // namespace
}  // namespace dusk::testing
