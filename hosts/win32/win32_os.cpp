// The machine's services through the real calls: directories, screen, windows by title, the
// instance guard, time, version, files, profile files, registry, MCI, sounds, the wave mixer and
// the password functions of the Windows 95 family.
#include "hosts/win32/win32_os.h"

#include <cstring>

#include "hosts/win32/win32.h"
#include <shlobj.h>

#include "hosts/win32/win32.h"
#include "startup/program.h"
#include "wavemix/wavemix.h"

namespace dusk {
namespace {

// A registry root as the system knows it: the predefined keys are sign-extended 32-bit values.
HKEY RootKey(uint32_t root) { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root))); }

constexpr const char* kInstanceMutex = "Duskhollow.ScreenSaver.Running";
constexpr DWORD kRegistryBuffer = 2048;
constexpr DWORD kProfileBuffer = 128;  // values come back cut to 127 characters
// No data file is read whole past this size: the largest picture is a few megabytes.
constexpr LONGLONG kMaxReadableFile = 64ll << 20;

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

// A library of the system, from the system folder alone: never a file of that name beside the
// program or in the current folder. Systems that do not know the search flag get the full path.
HMODULE LoadSystemLibrary(const char* name) {
  if (HMODULE h = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return h;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  char dir[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryA((std::string(dir, n) + "\\" + name).c_str());
}

}  // namespace

Win32Os::Win32Os() = default;

Win32Os::~Win32Os() {
  if (instanceMutex_) CloseHandle(instanceMutex_);
  if (passwordDll_) FreeLibrary(passwordDll_);
}

std::string Win32Os::WindowsDirectory() {
  wchar_t buf[MAX_PATH + 1] = {};
  UINT n = GetWindowsDirectoryW(buf, MAX_PATH + 1);
  return n > 0 && n <= MAX_PATH ? Utf8(buf, static_cast<int>(n)) : std::string();
}

int Win32Os::ScreenWidthPixels() { return GetSystemMetrics(SM_CXSCREEN); }
int Win32Os::ScreenHeightPixels() { return GetSystemMetrics(SM_CYSCREEN); }

std::vector<Rect> Win32Os::OtherMonitors() {
  std::vector<Rect> found;
  auto each = [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
      const RECT& r = info.rcMonitor;
      reinterpret_cast<std::vector<Rect>*>(data)->push_back(Rect{r.left, r.top, r.right, r.bottom});
    }
    return TRUE;
  };
  EnumDisplayMonitors(nullptr, nullptr, each, reinterpret_cast<LPARAM>(&found));
  return found;
}

uint64_t Win32Os::FindTopWindow(const std::string& title) {
  return reinterpret_cast<uintptr_t>(FindWindowA(nullptr, title.c_str()));
}

bool Win32Os::AnotherInstanceRunning() {
  // The mutex stays held for the life of the process: it is this instance's mark.
  if (!instanceMutex_) {
    instanceMutex_ = CreateMutexA(nullptr, FALSE, kInstanceMutex);
    return instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
  }
  return false;
}

double Win32Os::ClockSeconds() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

LocalTime Win32Os::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wHour, t.wMinute, t.wSecond};
}

std::string Win32Os::TimeDesignator(bool afternoon) {
  char buf[16] = {};
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, afternoon ? LOCALE_S2359 : LOCALE_S1159, buf, sizeof buf);
  if (n <= 1) return afternoon ? "PM" : "AM";
  return std::string(buf);
}

int Win32Os::PlatformId() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
  static_assert(sizeof(OSVERSIONINFOA) == 148);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExA(&info)) return 0;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return static_cast<int>(info.dwPlatformId);
}

void Win32Os::SetScreenSaverRunning(bool running) {
  UINT previous = 0;  // the previous state comes back here and is not used
  SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

void Win32Os::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

std::string Win32Os::FindFirstNormalFile(const std::string& path) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(Wide(path).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return "";
  std::string name;
  constexpr DWORD kNotNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  do {
    if ((found.dwFileAttributes & kNotNormal) == 0) {
      name = Utf8(found.cFileName);
      break;
    }
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return name;
}

std::optional<std::vector<uint8_t>> Win32Os::ReadWholeFile(const std::string& path) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<uint8_t> bytes;
  LARGE_INTEGER size;
  // Files on a disk only (not a pipe or a device, which could block for good), of a sane size.
  bool ok = GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) && size.QuadPart <= kMaxReadableFile;
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                           got == bytes.size());
  }
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return bytes;
}

std::string Win32Os::UserDataDirectory() {
  wchar_t buf[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf))) return "";
  return Utf8(buf);
}

bool Win32Os::Refused() {
  lastError_ = GetLastError();
  return false;
}

bool Win32Os::CreateFolder(const std::string& path) {
  const std::wstring w = Wide(path);
  if (CreateDirectoryW(w.c_str(), nullptr)) return true;
  Refused();
  const DWORD attributes = GetFileAttributesW(w.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Os::WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Refused();
  DWORD put = 0;
  const bool ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
                                    put == bytes.size());
  if (!ok) Refused();
  CloseHandle(h);
  return ok;
}

std::string Win32Os::LastErrorText() {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, lastError_, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string s = n ? Utf8(text, static_cast<int>(n)) : std::string();
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s.empty() ? "Error " + std::to_string(lastError_) : s;
}

// A bare file name lives in the Windows directory, as the system's profile functions place it.
std::string Win32Os::GetProfileString(const std::string& file, const std::string& section,
                                      const std::string& key) {
  wchar_t buf[kProfileBuffer] = {};
  DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", buf, kProfileBuffer,
                                     Wide(file).c_str());
  return Utf8(buf, static_cast<int>(n));
}

bool Win32Os::WriteProfileString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& value) {
  if (WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(), Wide(file).c_str()))
    return true;
  return Refused();
}

std::optional<RegistryValue> Win32Os::QueryRegistryValue(uint32_t root, const std::string& path,
                                                         const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyA(RootKey(root), path.c_str(), &key) != ERROR_SUCCESS) return std::nullopt;
  RegistryValue value;
  value.data.resize(kRegistryBuffer);
  DWORD type = 0, count = kRegistryBuffer;
  LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, value.data.data(), &count);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  value.type = type;
  value.data.resize(count);
  return value;
}

void Win32Os::EndProcess(int code) { ExitProcess(static_cast<UINT>(code)); }

uint32_t Win32Os::MciSendString(const std::string& command, std::string& reply) {
  // The reply lands in a fixed buffer as in the program's own text: what the system writes
  // replaces its beginning, the rest of the buffer stays as it was.
  const size_t size = reply.size() < 256 ? 256 : reply.size() + 1;
  std::vector<char> buf(size, '\0');
  std::memcpy(buf.data(), reply.data(), reply.size());
  MCIERROR rc = mciSendStringA(command.c_str(), buf.data(), static_cast<UINT>(size - 1), nullptr);
  if (reply.empty()) reply.assign(buf.data());
  else reply.assign(buf.data(), reply.size());
  return rc;
}

void Win32Os::PlaySoundNamed(const std::string& name, uint32_t flags) { sndPlaySoundA(name.c_str(), flags); }

void Win32Os::PlaySoundMemory(const std::vector<uint8_t>& wave, uint32_t flags) {
  // An asynchronous sound plays from our copy, kept until the next one has replaced it.
  std::vector<uint8_t> next = wave;
  sndPlaySoundA(reinterpret_cast<const char*>(next.data()), flags);
  playingSound_.swap(next);
}

uint32_t Win32Os::WaveMixInit() { return wavemix::WaveMixInit(); }
uint32_t Win32Os::WaveMixOpenWave(uint32_t session, const std::string& path) {
  return wavemix::WaveMixOpenWave(session, path.c_str(), 0, 0);
}
void Win32Os::WaveMixOpenChannel(uint32_t session, int32_t channel, uint32_t flags) {
  wavemix::WaveMixOpenChannel(session, channel, flags);
}
void Win32Os::WaveMixActivate(uint32_t session, bool activate) { wavemix::WaveMixActivate(session, activate ? 1 : 0); }
void Win32Os::WaveMixPlay(const uint8_t (&params)[24]) { wavemix::WaveMixPlay(params); }
void Win32Os::WaveMixCloseChannel(uint32_t session, int32_t channel, uint32_t flags) {
  wavemix::WaveMixCloseChannel(session, channel, flags);
}
void Win32Os::WaveMixFreeWave(uint32_t session, uint32_t wave) { wavemix::WaveMixFreeWave(session, wave); }
void Win32Os::WaveMixCloseSession(uint32_t session) { wavemix::WaveMixCloseSession(session); }

void Win32Os::PwdChangePassword(const std::string& provider, int32_t parentWindow) {
  // Bound when used, so that a system without it still starts; its result is not looked at.
  using Fn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
  HMODULE mpr = LoadSystemLibrary("mpr.dll");
  if (!mpr) return;
  if (auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA"))))
    fn(provider.c_str(), reinterpret_cast<HWND>(static_cast<intptr_t>(parentWindow)), 0, nullptr);
  FreeLibrary(mpr);
}

int Win32Os::VerifyScreenSavePwd() {
  // Bound on first use and kept. Without "password.cpl" there is nothing that could verify a
  // password, and the saver lets the user out rather than locking the screen for good.
  using Fn = BOOL(WINAPI*)(HWND);
  if (!passwordDllTried_) {
    passwordDllTried_ = true;
    passwordDll_ = LoadSystemLibrary("password.cpl");
  }
  Fn fn = passwordDll_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(passwordDll_, "VerifyScreenSavePwd")))
                       : nullptr;
  if (!fn) return 1;
  return fn(saverWnd_) ? 1 : 0;
}

Rect Win32Os::ClientRect(int64_t window) {
  RECT rc;
  HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(window));
  if (!hwnd || !GetClientRect(hwnd, &rc)) return Rect{};
  return Rect{rc.left, rc.top, rc.right, rc.bottom};
}

}  // namespace dusk
