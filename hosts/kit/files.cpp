#include "hosts/kit/files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include "platform/ini.h"
#include "platform/text.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <process.h>
#endif

namespace dusk::kit {
namespace fs = std::filesystem;
namespace {

std::optional<std::vector<uint8_t>> Refuse(std::string* problem, std::string why) {
  if (problem) *problem = std::move(why);
  return std::nullopt;
}

std::string TooLarge(uint64_t limit) { return "it is larger than " + std::to_string(limit) + " bytes"; }

long long ThisProcess() {
#ifndef _WIN32
  return getpid();
#else
  return _getpid();
#endif
}

// A new file is written as "<name>.~<process number>-<count>" beside the file it replaces, and
// is held locked while it is written (the lock ends with its writer, however that ends). One
// nobody holds is a dead writer's when its process is gone, or, whatever its number says (numbers
// are reused), when it is older than any write takes.
constexpr auto kAbandonedAfter = std::chrono::hours(1);

// The process number in the name of a temporary file of ours for `base`, or -1.
long long WriterOf(const std::string& name, const std::string& base) {
  const std::string mark = base + ".~";
  if (name.size() <= mark.size() || name.compare(0, mark.size(), mark) != 0) return -1;
  const std::string rest = name.substr(mark.size());
  const size_t dash = rest.find('-');
  const auto digits = [](const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (dash == std::string::npos || !digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1))) return -1;
  return dash > 12 ? std::numeric_limits<long long>::max() : std::stoll(rest.substr(0, dash));
}

bool ProcessRuns(long long pid) {
#ifndef _WIN32
  if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
  (void)pid;
  return true;  // not asked here: the age alone tells
#endif
}

// Whether a writer holds the file (here or in another process namespace, where its number means
// nothing). Windows: never asked, the age alone tells.
bool HeldByAWriter(const fs::path& path) {
#ifndef _WIN32
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return true;  // not ours to judge
  const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0;
  close(fd);
  return held;
#else
  (void)path;
  return false;
#endif
}

// Removes what writers killed before they could finish left beside `target`: only files of our
// naming, only ones no live writer may still be writing.
void RemoveAbandonedTemporaries(const fs::path& target) {
  std::error_code ec;
  const std::string base = target.filename().string();
  const auto now = fs::file_time_type::clock::now();
  std::vector<fs::path> abandoned;
  fs::directory_iterator it(target.has_parent_path() ? target.parent_path() : fs::path("."), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const long long writer = WriterOf(it->path().filename().string(), base);
    if (writer < 0 || it->symlink_status(ec).type() != fs::file_type::regular) continue;
    const auto written = fs::last_write_time(it->path(), ec);
    if (ec) continue;
    if ((now - written > kAbandonedAfter || !ProcessRuns(writer)) && !HeldByAWriter(it->path()))
      abandoned.push_back(it->path());
  }
  for (const fs::path& path : abandoned) fs::remove(path, ec);
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadRegularFile(const std::string& path, uint64_t limit, std::string* problem) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return Refuse(problem, "there is no such file");
  if (status.type() == fs::file_type::directory) return Refuse(problem, "it is a directory");
#ifndef _WIN32
  // Opened without waiting (a pipe would wait for a writer), then asked what it is: what was
  // checked is what is read, even should the name be given to another file in between.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Refuse(problem, std::strerror(errno));
  struct stat st {};
  std::optional<std::vector<uint8_t>> out;
  if (fstat(fd, &st) != 0) Refuse(problem, std::strerror(errno));
  else if (!S_ISREG(st.st_mode)) Refuse(problem, S_ISDIR(st.st_mode) ? "it is a directory" : "it is not a regular file");
  else if (static_cast<uint64_t>(st.st_size) > limit) Refuse(problem, TooLarge(limit));
  else {
    std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    if (got == bytes.size()) out = std::move(bytes);
    else Refuse(problem, "it changed while it was read");
  }
  close(fd);
  return out;
#else
  if (!fs::is_regular_file(status)) return Refuse(problem, "it is not a regular file");
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) return Refuse(problem, ec.message());
  if (size > limit) return Refuse(problem, TooLarge(limit));
  std::ifstream in(path, std::ios::binary);
  if (!in) return Refuse(problem, "it cannot be opened");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    return Refuse(problem, "it could not be read");
  return bytes;
#endif
}

bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  fs::path target(path);
  if (fs::is_symlink(target, ec)) {
    target = fs::weakly_canonical(target, ec);
    if (ec) return false;
  }
  RemoveAbandonedTemporaries(target);
  static std::atomic<unsigned> counter{0};
  fs::path temp;
  FILE* f = nullptr;
  for (int attempt = 0; !f && attempt < 100; ++attempt) {
    temp = target;
    temp += ".~" + std::to_string(ThisProcess()) + "-" + std::to_string(counter++);
#ifndef _WIN32
    f = std::fopen(temp.string().c_str(), "wbx");  // never into a file that is there already
    if (!f && errno != EEXIST) return false;
    if (f) (void)flock(fileno(f), LOCK_EX);  // where locks work: a sign that it is being written
#else
    f = std::fopen(temp.string().c_str(), "wb");
    if (!f) return false;
#endif
  }
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
#ifndef _WIN32
  ok = ok && fsync(fileno(f)) == 0;  // on the disk before it replaces the old file
#endif
  ok = std::fclose(f) == 0 && ok;
  if (ok) {
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
    fs::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}

std::optional<std::string> ReadSettingsText(const std::string& path, std::string* problem) {
  std::error_code ec;
  if (fs::status(path, ec).type() == fs::file_type::not_found) return std::string();  // never saved
  auto bytes = ReadRegularFile(path, kMaxReadableFile, problem);
  if (!bytes) return std::nullopt;
  return ini::Readable(ini::Decode(*bytes));
}

std::string GetProfileValue(const std::string& realPath, const std::string& section, const std::string& key) {
  auto bytes = ReadRegularFile(realPath);
  if (!bytes) return "";
  return ini::CutValue(ini::Get(ini::Readable(ini::Decode(*bytes)), section, key));
}

bool PutProfileValue(const std::string& realPath, const std::string& section, const std::string& key,
                     const std::string& value) {
  std::error_code ec;
  const fs::file_status status = fs::status(realPath, ec);
  ini::DecodedFile old;
  bool ok = status.type() == fs::file_type::not_found;
  if (!ok && !ec) {
    // Something that is not a readable settings file (a folder, a pipe, a device, a file too
    // big to be one) is left alone.
    if (auto bytes = ReadRegularFile(realPath)) {
      old = ini::Decode(*bytes);
      ok = true;
    }
  }
  return ok &&
         ReplaceFileContents(realPath, ini::Encode(ini::Put(old.text, section, key, value), old.encoding, old.rest));
}

std::string FindIgnoringCase(const std::string& root, std::string rest) {
  std::replace(rest.begin(), rest.end(), '\\', '/');
  while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  fs::path path(root);
  std::error_code ec;
  for (const auto& part : fs::path(rest)) {
    fs::path exact = path / part;
    if (!fs::exists(exact, ec) && fs::is_directory(path, ec)) {
      for (const auto& entry : fs::directory_iterator(path, ec))
        if (Lower(entry.path().filename().string()) == Lower(part.string())) {
          exact = entry.path();
          break;
        }
    }
    path = exact;
  }
  return path.string();
}

std::string MapVirtualPath(const std::string& programPath, const std::string& virtualDir, const std::string& realDir) {
  if (virtualDir.empty() || realDir.empty() || !StartsWithNoCase(programPath, virtualDir)) return "";
  return FindIgnoringCase(realDir, programPath.substr(virtualDir.size()));
}

LocalTime SimulatedClock::Now(int64_t elapsedMs) const {
  int64_t secs = (start.hour * 3600 + start.minute * 60 + start.second) + elapsedMs / 1000;
  secs %= 86400;
  return LocalTime{static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60)};
}

}  // namespace dusk::kit
