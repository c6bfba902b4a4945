#include "wavemix/file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace wavemix::detail {

#ifdef _WIN32

std::optional<std::vector<uint8_t>> ReadWaveFile(const char* path, uint64_t limit) {
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::vector<uint8_t>> out;
  LARGE_INTEGER size{};
  if (GetFileType(h) == FILE_TYPE_DISK && GetFileSizeEx(h, &size) && size.QuadPart >= 0 &&
      static_cast<uint64_t>(size.QuadPart) <= limit) {
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (bytes.empty() || (ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size()))
      out = std::move(bytes);
  }
  CloseHandle(h);
  return out;
}

#else

std::optional<std::vector<uint8_t>> ReadWaveFile(const char* path, uint64_t limit) {
  // Opened without waiting for a writer, then asked what it is: what was checked is what is read.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::optional<std::vector<uint8_t>> out;
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= limit) {
    std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    if (got == bytes.size()) out = std::move(bytes);
  }
  close(fd);
  return out;
}

#endif

}  // namespace wavemix::detail
