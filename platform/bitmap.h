// A software bitmap: what a picture file holds once read, and what every surface draws into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dusk {

// The largest picture or buffer made: larger ones are refused.
inline constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;
inline constexpr int32_t kMaxSide = 32768;

// A rectangle of pixels: left and top inside, right and bottom just outside.
struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

// Pixels are 0x00RRGGBB whatever the file held; the file's format is remembered beside them.
struct Bitmap {
  int32_t width = 0;
  int32_t height = 0;
  int bitsPerPixel = 32;
  std::vector<uint32_t> colorTable;  // the file's colour table, where it had one
  std::vector<uint32_t> pixels;      // row after row, top row first

  uint32_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * width; }
  const uint32_t* Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

}  // namespace dusk
