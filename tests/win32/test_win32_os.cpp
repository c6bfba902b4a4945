// The Win32 seam against the real system under wine: profile files in the real Windows
// directory, the registry, file attributes, the Windows family of a process, the instance guard,
// windows by title and MCI replies. Each test leaves the machine as it found it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "hosts/win32/win32.h"
#include "hosts/win32/win32_os.h"
#include "platform/system.h"
#include "startup/program.h"
#include "startup/starter.h"

namespace dusk {
namespace {

// Runs a program of the system (reg.exe) or one of ours and gives its exit code and output.
struct Run {
  DWORD code = 1;
  std::string out;
};
Run RunProgram(std::string commandLine) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  Run r;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return r;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
    return r;
  }
  CloseHandle(writeEnd);
  char buf[512];
  DWORD got;
  while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got > 0) r.out.append(buf, got);
  WaitForSingleObject(pi.hProcess, 60000);
  GetExitCodeProcess(pi.hProcess, &r.code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(readEnd);
  return r;
}

std::string Reg(const std::string& args) {
  Run r = RunProgram("reg.exe " + args);
  return r.code == 0 ? "" : "reg " + args + " failed: " + r.out;
}

std::string ThisDirectory() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.rfind('\\') + 1);
}

class Win32Seam : public ::testing::Test {
 protected:
  Win32Os os;
  Program p{os};
  Win32Seam() { os.Attach(p); }
};

// A settings file in the real Windows directory, put back as it was afterwards.
class RealSettingsFile : public Win32Seam {
 protected:
  std::string path, saved;
  bool existed = false;
  void SetUp() override {
    GetDiectories(p);
    path = p.WindowsDir + kSettingsFile;
    std::ifstream in(path, std::ios::binary);
    existed = static_cast<bool>(in);
    if (existed) saved.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    in.close();
    DeleteFileA(path.c_str());
  }
  void TearDown() override {
    DeleteFileA(path.c_str());
    if (existed) std::ofstream(path, std::ios::binary) << saved;
  }
  std::string FileText() {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

TEST_F(RealSettingsFile, TheBareNameLivesInTheWindowsDirectory) {
  EXPECT_EQ(p.WindowsDir, "C:\\windows\\");
  EXPECT_EQ(p.DataDir, "C:\\windows\\Duskhollow\\");
  PutIniData(p, kSettingsFile, kSettingsSection, "speed", " 70");
  EXPECT_NE(FileText().find("[Duskhollow]"), std::string::npos);
  // The system's writer drops the blanks around "=", its reader those around the value.
  EXPECT_NE(FileText().find("speed=70"), std::string::npos) << FileText();
  EXPECT_EQ(GetIniData(p, kSettingsFile, kSettingsSection, "speed"), "70");
}

TEST_F(RealSettingsFile, ValuesAreReadBackWhateverTheCaseOfSectionAndKey) {
  std::ofstream(path, std::ios::binary) << "[other]\r\nspeed=5\r\n[DUSKHOLLOW]\r\nFirstRun= 1\r\nSpeed= 35\r\n";
  EXPECT_EQ(GetIniData(p, kSettingsFile, kSettingsSection, "firstrun"), "1");
  EXPECT_EQ(GetIniData(p, kSettingsFile, "duskhollow", "speed"), "35");
  EXPECT_EQ(GetIniData(p, kSettingsFile, kSettingsSection, "missing"), "");
  // The whole settings read goes through the same calls.
  X_GetData(p);
  EXPECT_EQ(p.settings.Speed, 35);
}

TEST_F(RealSettingsFile, AnExistingKeyIsReplacedInPlaceAndOtherSectionsStay) {
  std::ofstream(path, std::ios::binary) << "[other]\r\nkeep=yes\r\n[Duskhollow]\r\nspeed= 70\r\nclock= 1\r\n";
  PutIniData(p, kSettingsFile, kSettingsSection, "speed", " 40");
  const std::string text = FileText();
  EXPECT_NE(text.find("keep=yes"), std::string::npos) << text;
  ASSERT_NE(text.find("speed=40"), std::string::npos) << text;
  EXPECT_LT(text.find("speed=40"), text.find("clock=1")) << text;
  EXPECT_EQ(text.find("speed=70"), std::string::npos) << text;
}

TEST_F(RealSettingsFile, ALongMessageComesBackCutTo127Characters) {
  std::ofstream(path, std::ios::binary) << "[Duskhollow]\r\nmessagetext=" << std::string(200, 'x') << "\r\n";
  EXPECT_EQ(GetIniData(p, kSettingsFile, kSettingsSection, "messagetext"), std::string(127, 'x'));
}

// Values under a key of our own in the current user's hive, removed afterwards.
class Registry : public Win32Seam {
 protected:
  const std::string key = "Software\\Duskhollow\\Win32Tests";
  void TearDown() override { Reg("delete \"HKCU\\Software\\Duskhollow\" /f"); }
};

TEST_F(Registry, ADwordWrittenByRegIsReadAsANumber) {
  ASSERT_EQ(Reg("add \"HKCU\\" + key + "\" /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f"), "");
  ASSERT_EQ(Reg("add \"HKCU\\" + key + "\" /v Big /t REG_DWORD /d 999 /f"), "");
  EXPECT_EQ(GetRegValue(p, kHkeyCurrentUser, key, "ScreenSaveUsePassword"), 1);
  EXPECT_EQ(GetRegValue(p, kHkeyCurrentUser, key, "Big"), 999);
  auto raw = os.QueryRegistryValue(kHkeyCurrentUser, key, "ScreenSaveUsePassword");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, kRegDword);
  EXPECT_EQ(raw->data, (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST_F(Registry, AStringKeepsItsTerminatorInTheByteCountAndReadsAsItsNumber) {
  ASSERT_EQ(Reg("add \"HKCU\\" + key + "\" /v Text /t REG_SZ /d 12abc /f"), "");
  auto raw = os.QueryRegistryValue(kHkeyCurrentUser, key, "Text");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->data.size(), 6u);
  EXPECT_EQ(GetRegValue(p, kHkeyCurrentUser, key, "Text"), 12);
}

TEST_F(Registry, AMissingKeyOrValueReadsAsZero) {
  EXPECT_FALSE(os.QueryRegistryValue(kHkeyCurrentUser, key, "Nothing"));
  EXPECT_EQ(GetRegValue(p, kHkeyCurrentUser, key, "Nothing"), 0);
  ASSERT_EQ(Reg("add \"HKCU\\" + key + "\" /v Other /t REG_DWORD /d 3 /f"), "");
  EXPECT_EQ(GetRegValue(p, kHkeyCurrentUser, key, "Nothing"), 0);
}

// Files in a folder of their own under the Windows directory's temp folder.
class Files : public Win32Seam {
 protected:
  std::string dir;
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir = std::string(temp) + "dusk-win32-tests\\";
    CreateDirectoryA(dir.c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* name : {"h_bat.bmp", "h_Crow2.bmp", "h_owl.bmp", "h_hand.bmp"}) {
      SetFileAttributesA((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((dir + name).c_str());
    }
    RemoveDirectoryA((dir + "h_zombie.bmp").c_str());
    RemoveDirectoryA(dir.c_str());
  }
  void Touch(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    std::ofstream(dir + name) << "BM";
    SetFileAttributesA((dir + name).c_str(), attributes);
  }
};

TEST_F(Files, OnlyANormalFileCountsAsInstalled) {
  Touch("h_bat.bmp", FILE_ATTRIBUTE_HIDDEN);
  Touch("h_owl.bmp", FILE_ATTRIBUTE_SYSTEM);
  Touch("h_hand.bmp", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  CreateDirectoryA((dir + "h_zombie.bmp").c_str(), nullptr);
  EXPECT_FALSE(FileInstallCheck(p, dir + "h_bat.bmp"));
  EXPECT_FALSE(FileInstallCheck(p, dir + "h_owl.bmp"));
  EXPECT_FALSE(FileInstallCheck(p, dir + "h_zombie.bmp"));
  EXPECT_TRUE(FileInstallCheck(p, dir + "h_hand.bmp"));
  EXPECT_FALSE(FileInstallCheck(p, dir + "h_spider.bmp"));
}

TEST_F(Files, TheNameIsComparedWithoutCase) {
  Touch("h_Crow2.bmp");
  EXPECT_EQ(os.FindFirstNormalFile(dir + "h_crow2.bmp"), "h_Crow2.bmp");
  EXPECT_TRUE(FileInstallCheck(p, dir + "h_crow2.bmp"));
}

TEST_F(Files, AWholeFileIsReadAndAMissingOneIsNothing) {
  Touch("h_bat.bmp");
  auto bytes = os.ReadWholeFile(dir + "h_bat.bmp");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "BM");
  EXPECT_FALSE(os.ReadWholeFile(dir + "h_owl.bmp"));
}

// The Windows family is fixed for a process: a probe process answers for each setting.
class WindowsFamily : public ::testing::Test {
 protected:
  const std::string appKey = "HKCU\\Software\\Wine\\AppDefaults\\" DUSK_VERSION_PROBE;
  void TearDown() override { Reg("delete \"" + appKey + "\" /f"); }
  std::string Probe() {
    std::string out = RunProgram("\"" + ThisDirectory() + DUSK_VERSION_PROBE "\"").out;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
  }
};

TEST_F(WindowsFamily, Windows98IsThe95FamilyAndTheDefaultIsNT) {
  EXPECT_EQ(Probe(), "NT");
  ASSERT_EQ(Reg("add \"" + appKey + "\" /v Version /t REG_SZ /d win98 /f"), "");
  EXPECT_EQ(Probe(), "95");
  ASSERT_EQ(Reg("delete \"" + appKey + "\" /f"), "");
  EXPECT_EQ(Probe(), "NT");
}

TEST_F(Win32Seam, TheFirstInstanceIsAloneAndMarksItselfRunning) {
  EXPECT_FALSE(os.AnotherInstanceRunning());
  Win32Os second;
  EXPECT_TRUE(second.AnotherInstanceRunning());
}

TEST_F(Win32Seam, TheDisplayPropertiesWindowIsFoundByItsTitle) {
  EXPECT_EQ(os.FindTopWindow("Display Properties"), 0u);
  HWND w = CreateWindowExA(0, "STATIC", "Display Properties", WS_OVERLAPPED, 0, 0, 152, 112, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(w);
  EXPECT_EQ(os.FindTopWindow("Display Properties"), reinterpret_cast<uintptr_t>(w));
  const Rect r = os.ClientRect(static_cast<int64_t>(reinterpret_cast<intptr_t>(w)));
  EXPECT_GT(r.right, 0);
  DestroyWindow(w);
  EXPECT_EQ(os.FindTopWindow("Display Properties"), 0u);
  EXPECT_EQ(os.ClientRect(0).right, 0);
}

TEST_F(Win32Seam, AnMciReplyFillsTheStartOfTheBufferAndLeavesTheRest) {
  std::string reply(255, ' ');
  // An alias that was never opened answers with an error and an empty text.
  EXPECT_NE(os.MciSendString("status song7 mode", reply), 0u);
  ASSERT_EQ(reply.size(), 255u);
  EXPECT_EQ(reply[0], '\0');
  EXPECT_EQ(reply.substr(1), std::string(254, ' '));
  std::string empty;
  EXPECT_EQ(os.MciSendString("sysinfo sequencer quantity", empty), 0u);
  EXPECT_FALSE(empty.empty());
  EXPECT_EQ(empty.find('\0'), std::string::npos);
}

TEST_F(Win32Seam, TheScreenIsMeasuredInPixelsAndTwipsFollowTheDpi) {
  EXPECT_EQ(os.ScreenWidthPixels(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(os.ScreenHeightPixels(), 0);
  HDC dc = GetDC(nullptr);
  EXPECT_DOUBLE_EQ(p.TwipsPerPixelX, 1440.0 / GetDeviceCaps(dc, LOGPIXELSX));
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(os.TimeDesignator(false), "AM");
  EXPECT_EQ(os.TimeDesignator(true), "PM");
}

}  // namespace
}  // namespace dusk
