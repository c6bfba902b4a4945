// Our INI files behave as the system's private-profile functions do, and lose nothing of a
// file they change.
#include <gtest/gtest.h>

#include <cstdlib>
#ifdef __linux__
#include <unistd.h>
#endif

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

TEST(IniFiles, ReadAndWriteMarkedUtf8Utf16AndCrOnlyFilesAsTheSystemDoes) {
  const std::string text = "[Duskhollow]\rspeed=40\rclock=1\r";
  EXPECT_EQ(ini::Get(text, "Duskhollow", "clock"), "1");
  EXPECT_EQ(ini::Put(text, "Duskhollow", "bat", "1"), "[Duskhollow]\rspeed=40\rclock=1\rbat=1\r");

  const std::vector<uint8_t> marked = {0xEF, 0xBB, 0xBF, '[', 'A', ']', '\n', 'k', '=', 'v', '\n'};
  ini::DecodedFile f = ini::Decode(marked);
  EXPECT_EQ(f.encoding, ini::Encoding::kUtf8Mark);
  EXPECT_EQ(ini::Get(f.text, "A", "k"), "v");
  EXPECT_EQ(ini::Encode(f.text, f.encoding), marked);

  // "[A]\r\nk=\u00e9\U0001F319\r\n" in UTF-16, both byte orders: read as UTF-8, written back the same.
  const std::u16string wide = u"[A]\r\nk=\u00e9\U0001F319\r\n";
  for (bool le : {true, false}) {
    std::vector<uint8_t> bytes = le ? std::vector<uint8_t>{0xFF, 0xFE} : std::vector<uint8_t>{0xFE, 0xFF};
    for (char16_t c : wide) {
      bytes.push_back(static_cast<uint8_t>(le ? c & 0xFF : c >> 8));
      bytes.push_back(static_cast<uint8_t>(le ? c >> 8 : c & 0xFF));
    }
    f = ini::Decode(bytes);
    EXPECT_EQ(f.encoding, le ? ini::Encoding::kUtf16Le : ini::Encoding::kUtf16Be);
    EXPECT_EQ(ini::Get(f.text, "a", "K"), "\xC3\xA9\xF0\x9F\x8C\x99");
    EXPECT_EQ(ini::Encode(f.text, f.encoding), bytes);
  }
  EXPECT_EQ(ini::Encode("\xE9", ini::Encoding::kUtf16Le), (std::vector<uint8_t>{0xFF, 0xFE, 0xE9, 0x00}));
}

using SettingsAccess = ProgramTest;

TEST_F(SettingsAccess, AUtf16FileIsReadAndStaysUtf16WithOneSection) {
  const std::u16string wide = u"[Duskhollow]\r\nfirstrun=1\r\nspeed=40\r\n";
  std::vector<uint8_t> bytes{0xFF, 0xFE};
  for (char16_t c : wide) bytes.push_back(c & 0xFF), bytes.push_back(c >> 8);
  WriteFile("tarnix.ini", bytes);
  EXPECT_EQ(GetIniData(*p, "tarnix.ini", "Duskhollow", "speed"), "40");
  EXPECT_TRUE(PutIniData(*p, "tarnix.ini", "Duskhollow", "speed", " 70"));
  const std::string written = ReadText("tarnix.ini");
  const auto decoded = ini::Decode(std::vector<uint8_t>(written.begin(), written.end()));
  EXPECT_EQ(decoded.encoding, ini::Encoding::kUtf16Le);
  EXPECT_EQ(decoded.text, "[Duskhollow]\r\nfirstrun=1\r\nspeed= 70\r\n");
}

TEST_F(SettingsAccess, AUtf16FileKeepsEveryCodeUnitOfOtherSectionsThroughAWrite) {
  // Lone surrogates (no character stands for them) and an odd last byte: another program's
  // business, given back as they were; reading one gives U+FFFD.
  for (bool le : {true, false}) {
    const auto utf16 = [le](std::u16string units) {
      std::string bytes;
      for (char16_t c : units)
        bytes += {static_cast<char>(le ? c & 0xFF : c >> 8), static_cast<char>(le ? c >> 8 : c & 0xFF)};
      return bytes;
    };
    const std::string head = utf16(u"\uFEFF[Foreign]\r\nodd=a\xD800" u"b\xDFFF\r\n");
    const std::string tail = utf16(u"[Tail]\r\nz=\xDBFF\xDBFF") + "\x7F";
    WriteText("tarnix.ini", head + utf16(u"[Duskhollow]\r\nspeed=40\r\n") + tail);
    EXPECT_EQ(GetIniData(*p, "tarnix.ini", "Foreign", "odd"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    EXPECT_TRUE(PutIniData(*p, "tarnix.ini", "Duskhollow", "speed", " 70"));
    EXPECT_EQ(ReadText("tarnix.ini"), head + utf16(u"[Duskhollow]\r\nspeed= 70\r\n") + tail);
    // A new section after a last line without its end: the odd byte stays the last.
    WriteText("tarnix.ini", head + tail);
    EXPECT_TRUE(PutIniData(*p, "tarnix.ini", "Duskhollow", "speed", " 70"));
    EXPECT_EQ(ReadText("tarnix.ini"),
              head + utf16(u"[Tail]\r\nz=\xDBFF\xDBFF\r\n[Duskhollow]\r\nspeed= 70\r\n") + "\x7F");
  }
}

TEST_F(SettingsAccess, AWriteThatCannotFinishLeavesTheOldFileAndSaysSo) {
  // A folder where the file should be: not read, not replaced.
  std::filesystem::create_directories(windir / "folder.ini");
  EXPECT_FALSE(PutIniData(*p, "folder.ini", "Duskhollow", "speed", " 70"));
  EXPECT_TRUE(std::filesystem::is_directory(windir / "folder.ini"));

#ifdef __linux__
  // A full file system: a tiny one mounted for this test (as root; skipped otherwise).
  if (geteuid() != 0) GTEST_SKIP() << "not root: no tmpfs to fill";
  const std::filesystem::path mnt = windir / "full";
  std::filesystem::create_directories(mnt);
  if (std::system(("mount -t tmpfs -o size=16k tmpfs '" + mnt.string() + "' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "mount refused";
  struct Unmount {
    std::string dir;
    ~Unmount() { (void)!std::system(("umount '" + dir + "'").c_str()); }
  } unmount{mnt.string()};
  std::string old = "; mine\r\n[Foreign]\r\nkeep=me\r\n[Duskhollow]\r\n";
  for (int i = 0; i < 38; ++i) old += "key" + std::to_string(i) + "= " + std::to_string(i) + "\r\n";
  WriteText("full/tarnix.ini", old);
  {  // fill what is left
    std::ofstream filler(mnt / "filler", std::ios::binary);
    const std::string block(1024, 'x');
    for (int i = 0; i < 64 && filler; ++i) filler << block << std::flush;
  }
  EXPECT_FALSE(PutIniData(*p, (mnt / "tarnix.ini").string(), "Duskhollow", "messagetext", std::string(120, 'm')));
  EXPECT_EQ(ReadText("full/tarnix.ini"), old);
  size_t entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(mnt)) entries += e.is_regular_file();
  EXPECT_EQ(entries, 2u);  // no temporary file left behind
  std::filesystem::remove(mnt / "filler");
  EXPECT_TRUE(PutIniData(*p, (mnt / "tarnix.ini").string(), "Duskhollow", "messagetext", "room again"));
  EXPECT_EQ(GetIniData(*p, (mnt / "tarnix.ini").string(), "Duskhollow", "key37"), "37");
  EXPECT_EQ(GetIniData(*p, (mnt / "tarnix.ini").string(), "Foreign", "keep"), "me");
#endif
}

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
  // Characters, not bytes, and never half of one; a character beyond the basic plane counts two.
  std::string cyrillic;
  for (int i = 0; i < 130; ++i) cyrillic += "\xD0\x96";
  PutIniData(*p, "tarnix.ini", "Duskhollow", "messagetext", cyrillic);
  EXPECT_EQ(GetIniData(*p, "tarnix.ini", "Duskhollow", "messagetext"), cyrillic.substr(0, 254));
  EXPECT_EQ(ini::CutValue(std::string(125, 'x') + "\xF0\x9F\x91\xBB" "ab"), std::string(125, 'x') + "\xF0\x9F\x91\xBB");
  EXPECT_EQ(ini::CutValue(std::string(126, 'x') + "\xF0\x9F\x91\xBB"), std::string(126, 'x'));
}

}  // namespace
}  // namespace dusk::testing
