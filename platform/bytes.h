// Little-endian fields as the file formats, the registry and the mixer's records store them.
#pragma once

#include <cstdint>
#include <vector>

namespace dusk {

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void WriteLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void WriteLe32(uint8_t* p, uint32_t v) {
  WriteLe16(p, static_cast<uint16_t>(v & 0xFFFF));
  WriteLe16(p + 2, static_cast<uint16_t>(v >> 16));
}

inline void AppendLe16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendLe32(std::vector<uint8_t>& out, uint32_t v) {
  AppendLe16(out, static_cast<uint16_t>(v & 0xFFFF));
  AppendLe16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace dusk
