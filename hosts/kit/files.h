// Files as a host without Windows reads and writes them: safely (a pipe or a device is never
// opened for reading, nothing is read past a size bound), settings files decoded as the system
// decodes them, and program paths of the virtual Windows directory found on the real disk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/seam.h"

namespace dusk::kit {

// No data file is read whole past this size: the largest picture is a few megabytes.
inline constexpr uint64_t kMaxReadableFile = 64ull << 20;

// A regular file's bytes in one sized read; nothing for a missing file, a folder, a pipe or a
// device (which could block the program for good or never end), or a file over `limit`. Where
// nothing comes back, `problem` (when given) says why, in a few words.
std::optional<std::vector<uint8_t>> ReadRegularFile(const std::string& path, uint64_t limit = kMaxReadableFile,
                                                    std::string* problem = nullptr);

// Gives the file these bytes whole or not at all: they go to a new file beside it (every write,
// the flush and the close checked), which then replaces it. On failure the old file is as it
// was and the answer is false. A symbolic link stays and its target gets the bytes. The new file
// is named "<name>.~<process number>-<count>" and locked while written; such files that writers
// killed mid-write left behind (unlocked, and their process gone or an hour old) are removed first.
bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& bytes);

// A settings file's text for the core's INI code: a UTF-8 mark dropped, UTF-16 (either order)
// made UTF-8. "" when there is no file at all (the program's defaults); nothing, with the
// problem, when there is one that cannot be read.
std::optional<std::string> ReadSettingsText(const std::string& path, std::string* problem = nullptr);

// The value of a key in a settings file on the disk, cut to 127 characters as the system's
// profile functions cut it; "" when the file, the section or the key is missing.
std::string GetProfileValue(const std::string& realPath, const std::string& section, const std::string& key);
// Sets the key in the file; the file keeps its encoding (UTF-16 or a marked UTF-8 stays so) and
// is replaced whole or not at all. A folder, pipe, device or over-large file is left alone (false).
bool PutProfileValue(const std::string& realPath, const std::string& section, const std::string& key,
                     const std::string& value);

// The real path of `programPath` when it lies in `virtualDir` (a program path such as
// "C:\WINDOWS", any case) that stands for `realDir`; "" when it lies elsewhere. Every name on the
// way is found whatever its case, as on the system the program was made for.
std::string MapVirtualPath(const std::string& programPath, const std::string& virtualDir, const std::string& realDir);
// `rest` (a relative path, either slash) below `root`, each part found whatever its case.
std::string FindIgnoringCase(const std::string& root, std::string rest);

// A repeatable clock: the readings a run starts from, moved on by the milliseconds it has run.
struct SimulatedClock {
  double startSeconds = 43200;  // what the random generator is seeded with
  LocalTime start{21, 5, 0};    // the time of day at the start of the run
  double ClockSeconds(int64_t elapsedMs) const { return startSeconds + elapsedMs / 1000.0; }
  LocalTime Now(int64_t elapsedMs) const;
};

}  // namespace dusk::kit
