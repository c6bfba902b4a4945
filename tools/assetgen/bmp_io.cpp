#include "bmp_io.h"

#include <cstdio>
#include <cstring>

#include "platform/bytes.h"

namespace assetgen {

bool WriteBmp24(const std::string& path, const Image& img) {
  const uint32_t stride = (static_cast<uint32_t>(img.w) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * img.h;
  std::vector<uint8_t> b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  dusk::AppendLe32(b, 54 + dataSize);
  dusk::AppendLe32(b, 0);
  dusk::AppendLe32(b, 54);
  dusk::AppendLe32(b, 40);  // BITMAPINFOHEADER
  dusk::AppendLe32(b, img.w);
  dusk::AppendLe32(b, img.h);  // positive: bottom-up
  dusk::AppendLe16(b, 1);
  dusk::AppendLe16(b, 24);
  dusk::AppendLe32(b, 0);  // BI_RGB
  dusk::AppendLe32(b, dataSize);
  dusk::AppendLe32(b, 2835);  // 72 dpi
  dusk::AppendLe32(b, 2835);
  dusk::AppendLe32(b, 0);
  dusk::AppendLe32(b, 0);
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      uint32_t p = img.at(x, y);
      b.push_back(p & 0xFF);
      b.push_back((p >> 8) & 0xFF);
      b.push_back((p >> 16) & 0xFF);
    }
    for (uint32_t pad = img.w * 3; pad < stride; ++pad) b.push_back(0);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}

bool ReadBmp(const std::string& path, Image& img) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> b;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) b.insert(b.end(), chunk, chunk + n);
  std::fclose(f);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t offset = dusk::ReadLe32(&b[10]);
  const int w = static_cast<int32_t>(dusk::ReadLe32(&b[18]));
  const int hRaw = static_cast<int32_t>(dusk::ReadLe32(&b[22]));
  const int bpp = dusk::ReadLe16(&b[28]);
  const uint32_t compression = dusk::ReadLe32(&b[30]);
  if (w <= 0 || hRaw == 0 || (bpp != 24 && bpp != 32) || compression != 0) return false;
  const int h = hRaw < 0 ? -hRaw : hRaw;
  const size_t stride = (static_cast<size_t>(w) * (bpp / 8) + 3) & ~size_t{3};
  if (offset + stride * h > b.size()) return false;
  img = Image(w, h);
  for (int row = 0; row < h; ++row) {
    const uint8_t* p = &b[offset + stride * row];
    const int y = hRaw > 0 ? h - 1 - row : row;
    for (int x = 0; x < w; ++x, p += bpp / 8) img.at(x, y) = p[0] | (p[1] << 8) | (p[2] << 16);
  }
  return true;
}

Image Crop(const Image& src, int x, int y, int w, int h) {
  Image out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (src.inside(x + i, y + j)) out.at(i, j) = src.at(x + i, y + j);
  return out;
}

void Paste(Image& dst, const Image& src, int x, int y) {
  for (int j = 0; j < src.h; ++j)
    for (int i = 0; i < src.w; ++i)
      if (dst.inside(x + i, y + j)) dst.at(x + i, y + j) = src.at(i, j);
}

}  // namespace assetgen
