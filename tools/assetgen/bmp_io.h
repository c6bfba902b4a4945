// A plain 24-bit picture in memory and the Windows BMP files that hold it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// Pixels are 0x00RRGGBB, top row first.
struct Image {
  int w = 0, h = 0;
  std::vector<uint32_t> px;

  Image() = default;
  Image(int width, int height, uint32_t fill = 0)
      : w(width), h(height), px(static_cast<size_t>(width) * height, fill) {}
  uint32_t& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
  uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

// 24-bit, bottom-up, BITMAPINFOHEADER, rows padded to 4 bytes.
bool WriteBmp24(const std::string& path, const Image& img);
// Reads an uncompressed 24-bit or 32-bit BMP (bottom-up or top-down); false on anything else.
bool ReadBmp(const std::string& path, Image& img);

// The part of `src` at (x, y) of size w x h; pixels outside `src` come out black.
Image Crop(const Image& src, int x, int y, int w, int h);
// Copies `src` into `dst` at (x, y), clipped.
void Paste(Image& dst, const Image& src, int x, int y);

}  // namespace assetgen
