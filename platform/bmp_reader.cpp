#include "platform/bmp_reader.h"

#include "platform/bytes.h"

namespace dusk {
std::optional<Bitmap> DecodeBmp(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const uint32_t pixelOffset = ReadLe32(data + 10);
  const uint8_t* info = data + 14;
  const uint32_t infoSize = ReadLe32(info);
  if (infoSize < 12 || infoSize > size - 14) return std::nullopt;

  int64_t width, height;
  uint32_t bpp, compression = 0, colorsUsed = 0;
  size_t paletteEntrySize;
  if (infoSize == 12) {  // the old core header
    width = ReadLe16(info + 4);
    height = static_cast<int16_t>(ReadLe16(info + 6));
    bpp = ReadLe16(info + 10);
    paletteEntrySize = 3;
  } else {
    if (infoSize < 40) return std::nullopt;
    width = static_cast<int32_t>(ReadLe32(info + 4));
    height = static_cast<int32_t>(ReadLe32(info + 8));
    if (ReadLe16(info + 12) != 1) return std::nullopt;  // planes
    bpp = ReadLe16(info + 14);
    compression = ReadLe32(info + 16);
    colorsUsed = ReadLe32(info + 32);
    paletteEntrySize = 4;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      width * height > kMaxPixels)
    return std::nullopt;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return std::nullopt;

  // 32-bit pictures may declare the usual masks explicitly; any other layout is refused.
  uint32_t rMask = 0xFF0000, gMask = 0xFF00, bMask = 0xFF;
  if (compression == 3 && bpp == 32) {
    // The masks stand inside a larger header, or right after a 40-byte one.
    if (infoSize < 52 && 14 + 40 + 12 > size) return std::nullopt;
    rMask = ReadLe32(info + 40);
    gMask = ReadLe32(info + 44);
    bMask = ReadLe32(info + 48);
    if (rMask != 0xFF0000 || gMask != 0xFF00 || bMask != 0xFF) return std::nullopt;
  } else if (compression != 0) {
    return std::nullopt;
  }

  Bitmap bmp;
  bmp.width = static_cast<int32_t>(width);
  bmp.height = static_cast<int32_t>(height);
  bmp.bitsPerPixel = static_cast<int>(bpp);

  if (bpp <= 8) {
    size_t entries = colorsUsed != 0 ? colorsUsed : (1u << bpp);
    if (entries > (1u << bpp)) entries = 1u << bpp;
    size_t paletteStart = 14 + infoSize;
    if (compression == 3) paletteStart += 12;
    if (paletteStart > size || entries * paletteEntrySize > size - paletteStart) return std::nullopt;
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* e = data + paletteStart + i * paletteEntrySize;
      bmp.colorTable.push_back((e[2] << 16) | (e[1] << 8) | e[0]);
    }
  }

  const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  if (pixelOffset > size || stride * static_cast<size_t>(height) > size - pixelOffset)
    return std::nullopt;

  bmp.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int32_t row = 0; row < bmp.height; ++row) {
    const uint8_t* src = data + pixelOffset + stride * static_cast<size_t>(row);
    uint32_t* dst = bmp.Row(topDown ? row : bmp.height - 1 - row);
    switch (bpp) {
      case 32:
        for (int32_t x = 0; x < bmp.width; ++x) dst[x] = ReadLe32(src + 4 * x) & 0xFFFFFF;
        break;
      case 24:
        for (int32_t x = 0; x < bmp.width; ++x) {
          const uint8_t* p = src + 3 * x;
          dst[x] = (p[2] << 16) | (p[1] << 8) | p[0];
        }
        break;
      default: {
        const uint32_t perByte = 8 / bpp, mask = (1u << bpp) - 1;
        for (int32_t x = 0; x < bmp.width; ++x) {
          uint32_t byte = src[x / perByte];
          uint32_t shift = 8 - bpp * (x % perByte + 1);
          uint32_t index = (byte >> shift) & mask;
          dst[x] = index < bmp.colorTable.size() ? bmp.colorTable[index] : 0;
        }
      }
    }
  }
  return bmp;
}

}  // namespace dusk
