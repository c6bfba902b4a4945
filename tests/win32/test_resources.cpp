// duskhollow.scr carries what the control panel and the system read from it: the description
// string 1, the icon, the version record and the manifest with DPI awareness and common
// controls 6.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
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

TEST_F(ScreenSaverFile, ItsIconHoldsEverySizeWindowsShows) {
  const std::string group = Resource(reinterpret_cast<LPCSTR>(RT_GROUP_ICON), MAKEINTRESOURCEA(100));
  ASSERT_GE(group.size(), 6u + 6 * 14);
  ASSERT_EQ(static_cast<unsigned char>(group[4]), 6);
  std::string widths;  // one 14-byte entry an image after the 6-byte header; 0 stands for 256
  for (int i = 0; i < 6; ++i) widths += std::to_string(static_cast<unsigned char>(group[6 + 14 * i])) + " ";
  EXPECT_EQ(widths, "16 24 32 48 64 0 ");
}

// The record's strings are UTF-16; they are looked for as such.
std::string Wide(const std::string& text) {
  std::string wide;
  for (char c : text) wide += c, wide += '\0';
  return wide;
}

TEST_F(ScreenSaverFile, TheVersionRecordDescribesTheSaverAndCarriesTheBuildsVersion) {
  const std::string version = Resource(reinterpret_cast<LPCSTR>(RT_VERSION), MAKEINTRESOURCEA(1));
  ASSERT_FALSE(version.empty());
  EXPECT_NE(version.find(Wide("Duskhollow ScreenSaver")), std::string::npos);
  EXPECT_NE(version.find(Wide(DUSK_VERSION) + std::string(2, '\0')), std::string::npos) << "FileVersion";
  // The fixed part: VS_FIXEDFILEINFO after its signature, file version high and low words.
  const auto at = version.find("\xBD\x04\xEF\xFE");
  ASSERT_NE(at, std::string::npos);
  VS_FIXEDFILEINFO fixed;
  memcpy(&fixed, version.data() + at, sizeof fixed);
  char quad[64];
  snprintf(quad, sizeof quad, "%u.%u.%u.%u", HIWORD(fixed.dwFileVersionMS), LOWORD(fixed.dwFileVersionMS),
           HIWORD(fixed.dwFileVersionLS), LOWORD(fixed.dwFileVersionLS));
  EXPECT_STREQ(quad, DUSK_VERSION_QUAD);
}

TEST_F(ScreenSaverFile, TheManifestDeclaresDpiAwarenessAndCommonControls6) {
  const std::string manifest = Resource(reinterpret_cast<LPCSTR>(RT_MANIFEST), MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Duskhollow.ScreenSaver\" version=\"" DUSK_VERSION_QUAD "\""), std::string::npos);
}

}  // namespace
