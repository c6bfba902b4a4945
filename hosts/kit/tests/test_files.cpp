// Reading what the user or the system put where a file should be: never blocking, never endless.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "hosts/kit/files.h"

namespace dusk::kit {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() / ("dusk-kit-" + std::to_string(getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return (dir / name).string();
  }
};

TEST_F(Files, OnlyRegularFilesWithinTheBoundAreRead) {
  const std::string plain = Write("a.bin", "abcdef");
  EXPECT_EQ(ReadRegularFile(plain), (std::vector<uint8_t>{'a', 'b', 'c', 'd', 'e', 'f'}));
  std::string why;
  EXPECT_FALSE(ReadRegularFile(plain, 5, &why));
  EXPECT_EQ(why, "it is larger than 5 bytes");
  EXPECT_FALSE(ReadRegularFile(dir.string(), kMaxReadableFile, &why));
  EXPECT_EQ(why, "it is a directory");
  EXPECT_FALSE(ReadRegularFile((dir / "none").string(), kMaxReadableFile, &why));
  EXPECT_EQ(why, "there is no such file");

  // A link to an endless device, and a pipe nobody writes to: refused at once.
  fs::create_symlink("/dev/zero", dir / "zero.ini");
  ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
  for (const char* name : {"zero.ini", "fifo.ini"}) {
    EXPECT_FALSE(ReadRegularFile((dir / name).string(), kMaxReadableFile, &why)) << name;
    EXPECT_EQ(why, "it is not a regular file") << name;
    EXPECT_FALSE(ReadSettingsText((dir / name).string())) << name;
  }
}

TEST_F(Files, SettingsTextIsDecodedAsTheSystemDecodesIt) {
  EXPECT_EQ(ReadSettingsText((dir / "never-saved.ini").string()), "");
  // UTF-16 with its mark, "[s]\r\nk=é\r\n".
  const std::string utf16("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22);
  EXPECT_EQ(ReadSettingsText(Write("wide.ini", utf16)), "[s]\r\nk=\xC3\xA9\r\n");
  EXPECT_EQ(ReadSettingsText(Write("marked.ini", "\xEF\xBB\xBF[s]\rk=1\r")), "[s]\rk=1\r");
  // A value is cut where the system's profile functions cut it; a write keeps the encoding.
  const std::string wide = (dir / "wide.ini").string();
  EXPECT_EQ(GetProfileValue(wide, "S", "K"), "\xC3\xA9");
  ASSERT_TRUE(PutProfileValue(wide, "s", "long", std::string(200, 'x')));
  EXPECT_EQ(GetProfileValue(wide, "s", "long"), std::string(127, 'x'));
  EXPECT_EQ(ReadRegularFile(wide)->at(0), 0xFF);
  EXPECT_FALSE(PutProfileValue(dir.string(), "s", "k", "v"));  // a folder in its place stays
}

TEST_F(Files, AWriteRemovesWhatKilledWritersLeftAndNothingElse) {
  const std::string ini = Write("tarnix.ini", "[s]\r\nk=1\r\n");
  const auto age = [&](const std::string& name, std::chrono::minutes minutes) {
    Write(name, "[s]\r\n");
    fs::last_write_time(dir / name, fs::file_time_type::clock::now() - minutes);
  };
  const std::string live = std::to_string(getppid()), gone = "918273645";  // above any process number
  age("tarnix.ini.~" + gone + "-0", std::chrono::minutes(1));   // its writer ended
  age("tarnix.ini.~" + live + "-1", std::chrono::minutes(90));  // nobody writes that long
  age("tarnix.ini.~" + live + "-2", std::chrono::minutes(1));   // its writer may still write it
  for (const char* foreign :
       {"other.ini.~918273645-0", "tarnix.ini.~notes", "tarnix.ini.~1-2.bak", "tarnix.ini.~-2"})
    age(foreign, std::chrono::minutes(90));
  fs::create_directory(dir / ("tarnix.ini.~" + gone + "-3"));
  age("tarnix.ini.~" + gone + "-4", std::chrono::minutes(90));  // its writer, elsewhere, holds it
  const int held = open((dir / ("tarnix.ini.~" + gone + "-4")).c_str(), O_RDWR);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  ASSERT_TRUE(PutProfileValue(ini, "s", "k", "2"));
  close(held);
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) left.insert(entry.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"tarnix.ini", "tarnix.ini.~" + live + "-2", "other.ini.~918273645-0",
                                         "tarnix.ini.~notes", "tarnix.ini.~1-2.bak", "tarnix.ini.~-2",
                                         "tarnix.ini.~" + gone + "-3", "tarnix.ini.~" + gone + "-4"}));
  EXPECT_EQ(GetProfileValue(ini, "s", "k"), "2");
}

TEST_F(Files, ProgramPathsOfTheVirtualFolderAreFoundWhateverTheirCase) {
  fs::create_directories(dir / "Duskhollow");
  Write("Duskhollow/h_Song0.Mid", "x");
  EXPECT_EQ(MapVirtualPath("c:\\windows\\DUSKHOLLOW\\H_SONG0.MID", "C:\\WINDOWS", dir.string()),
            (dir / "Duskhollow" / "h_Song0.Mid").string());
  EXPECT_EQ(MapVirtualPath("D:\\elsewhere\\x", "C:\\WINDOWS", dir.string()), "");
  // A name not there yet keeps the case it was asked in.
  EXPECT_EQ(MapVirtualPath("C:\\WINDOWS\\New.ini", "C:\\WINDOWS", dir.string()), (dir / "New.ini").string());
}

}  // namespace
}  // namespace dusk::kit
