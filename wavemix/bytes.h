// Little-endian fields as RIFF files store them. Internal to wavemix.
#pragma once

#include <cstdint>

namespace wavemix::detail {

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace wavemix::detail
