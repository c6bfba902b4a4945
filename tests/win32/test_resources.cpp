// duskhollow.scr carries what the control panel and the system read from it: the description
// string 1, the icon, the version record and the manifest with DPI awareness and common
// controls 6.
#include <gtest/gtest.h>

#include <string>

#include "hosts/win32/win32.h"

namespace {

class ScreenSaverFile : public ::testing::Test {
 protected:
  HMODULE scr = nullptr;
  void SetUp() override {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    dir = dir.substr(0, dir.rfind('\\') + 1);
    scr = LoadLibraryExA((dir + "duskhollow.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(scr) << "duskhollow.scr not found next to the tests";
  }
  void TearDown() override {
    if (scr) FreeLibrary(scr);
  }
  std::string Resource(LPCSTR type, LPCSTR name) {
    HRSRC r = FindResourceA(scr, name, type);
    if (!r) return "";
    HGLOBAL g = LoadResource(scr, r);
    return std::string(static_cast<const char*>(LockResource(g)), SizeofResource(scr, r));
  }
};

TEST_F(ScreenSaverFile, StringOneIsTheDescriptionTheControlPanelLists) {
  char text[128] = {};
  ASSERT_GT(LoadStringA(scr, 1, text, sizeof text), 0);
  EXPECT_STREQ(text, "Duskhollow ScreenSaver");
}

TEST_F(ScreenSaverFile, ItHasItsIconInBothSizes) {
  const std::string group = Resource(reinterpret_cast<LPCSTR>(RT_GROUP_ICON), MAKEINTRESOURCEA(100));
  ASSERT_GE(group.size(), 6u + 2 * 14);
  EXPECT_EQ(static_cast<unsigned char>(group[4]), 2) << "two images: 16 x 16 and 32 x 32";
}

TEST_F(ScreenSaverFile, TheVersionRecordDescribesTheSaver) {
  const std::string version = Resource(reinterpret_cast<LPCSTR>(RT_VERSION), MAKEINTRESOURCEA(1));
  ASSERT_FALSE(version.empty());
  // The record's strings are UTF-16; look for the description as such.
  const std::string wanted = "Duskhollow ScreenSaver";
  std::string wide;
  for (char c : wanted) wide += c, wide += '\0';
  EXPECT_NE(version.find(wide), std::string::npos);
}

TEST_F(ScreenSaverFile, TheManifestDeclaresDpiAwarenessAndCommonControls6) {
  const std::string manifest = Resource(reinterpret_cast<LPCSTR>(RT_MANIFEST), MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

}  // namespace
