// A wave file's bytes, read safely. Internal to wavemix.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace wavemix::detail {

// Files larger than this are not wave effects; refusing them bounds what a bad path costs.
inline constexpr uint64_t kMaxWaveFileBytes = uint64_t{64} << 20;

// The bytes of a regular file of at most `limit` bytes, in one sized read; nothing for anything
// else. A pipe or a device is never read (a pipe nobody writes to would hold the caller, and with
// it the program, for good), nor waited on while opening.
std::optional<std::vector<uint8_t>> ReadWaveFile(const char* path, uint64_t limit = kMaxWaveFileBytes);

}  // namespace wavemix::detail
