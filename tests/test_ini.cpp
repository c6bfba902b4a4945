// Our INI files behave as the system's private-profile functions do, and lose nothing of a
// file they change.
#include <gtest/gtest.h>

#include "platform/ini.h"
#include "platform/system.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

TEST(IniFiles, ReadsIgnoringTheCaseOfSectionsAndKeys) {
  const std::string text = "; settings\r\n[Other]\r\nspeed=5\r\n[DUSKHOLLOW]\r\n  Speed =  70 \r\nmsg=\"quoted\"\r\nempty=\r\n";
  EXPECT_EQ(ini::Get(text, "Duskhollow", "speed"), "70");
  EXPECT_EQ(ini::Get(text, "other", "SPEED"), "5");
  EXPECT_EQ(ini::Get(text, "Duskhollow", "msg"), "quoted");
  EXPECT_EQ(ini::Get(text, "Duskhollow", "empty"), "");
  EXPECT_EQ(ini::Get(text, "Duskhollow", "missing"), "");
  EXPECT_EQ(ini::Get(text, "Nowhere", "speed"), "");
  EXPECT_EQ(ini::Get("", "Duskhollow", "speed"), "");
}

TEST(IniFiles, ReplacesInPlaceAndKeepsEveryOtherLine) {
  const std::string text =
      "; my comment\r\n[Other]\r\nspeed=5\r\n\r\n[Duskhollow]\r\nbat=1\r\nunknown=keep me\r\n\r\n[Last]\r\nx=y\r\n";
  std::string out = ini::Put(text, "duskhollow", "BAT", " 0");
  EXPECT_EQ(out, "; my comment\r\n[Other]\r\nspeed=5\r\n\r\n[Duskhollow]\r\nBAT= 0\r\nunknown=keep me\r\n\r\n[Last]\r\nx=y\r\n");
  out = ini::Put(out, "Duskhollow", "clock", " 1");  // a new key goes at the end of its section
  EXPECT_EQ(out, "; my comment\r\n[Other]\r\nspeed=5\r\n\r\n[Duskhollow]\r\nBAT= 0\r\nunknown=keep me\r\nclock= 1\r\n\r\n[Last]\r\nx=y\r\n");
  out = ini::Put(out, "New", "a", "b");  // a new section at the end of the file
  EXPECT_EQ(out.substr(out.size() - 12), "[New]\r\na=b\r\n");
  EXPECT_EQ(ini::Get(out, "Duskhollow", "clock"), "1");
}

TEST(IniFiles, CreatesAFileAndKeepsItsLineEnds) {
  EXPECT_EQ(ini::Put("", "Duskhollow", "firstrun", "1"), "[Duskhollow]\r\nfirstrun=1\r\n");
  EXPECT_EQ(ini::Put("[A]\nk=v", "A", "n", "1"), "[A]\nk=v\nn=1\n");
}

using SettingsAccess = ProgramTest;

TEST_F(SettingsAccess, ABareFileNameLivesInTheWindowsDirectory) {
  PutIniData(*p, "tarnix.ini", "Duskhollow", "speed", " 70");
  EXPECT_EQ(ReadText("tarnix.ini"), "[Duskhollow]\r\nspeed= 70\r\n");
  EXPECT_EQ(GetIniData(*p, "tarnix.ini", "Duskhollow", "speed"), "70");
  EXPECT_EQ(GetIniData(*p, "missing.ini", "Duskhollow", "speed"), "");
}

TEST_F(SettingsAccess, LongValuesComeBackCutAt127Characters) {
  const std::string longText(300, 'x');
  PutIniData(*p, "tarnix.ini", "Duskhollow", "messagetext", longText);
  EXPECT_EQ(GetIniData(*p, "tarnix.ini", "Duskhollow", "messagetext"), longText.substr(0, 127));
}

}  // namespace
}  // namespace dusk::testing
