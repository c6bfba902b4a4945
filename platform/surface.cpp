#include "platform/surface.h"

#include <algorithm>
#include <cstring>

namespace dusk {

int32_t Surfaces::Add(Bitmap bitmap) {
  slots_.push_back(std::make_unique<Bitmap>(std::move(bitmap)));
  return static_cast<int32_t>(slots_.size());
}

int32_t Surfaces::AddBlank(int32_t width, int32_t height, int32_t reference) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<int64_t>(width) * height > kMaxPixels)
    return 0;
  Bitmap b;
  b.width = width;
  b.height = height;
  if (const Bitmap* ref = Find(reference)) {
    b.bitsPerPixel = ref->bitsPerPixel;
    b.colorTable = ref->colorTable;
  }
  b.pixels.assign(static_cast<size_t>(width) * height, 0);
  return Add(std::move(b));
}

bool Surfaces::Remove(int32_t handle) {
  if (!Find(handle)) return false;
  slots_[handle - 1].reset();
  return true;
}

Bitmap* Surfaces::Find(int32_t handle) {
  if (handle <= 0 || static_cast<size_t>(handle) > slots_.size()) return nullptr;
  return slots_[handle - 1].get();
}

const Bitmap* Surfaces::Find(int32_t handle) const {
  return const_cast<Surfaces*>(this)->Find(handle);
}

size_t Surfaces::LiveCount() const {
  return static_cast<size_t>(std::count_if(slots_.begin(), slots_.end(), [](auto& s) { return s != nullptr; }));
}

void Surfaces::BitBlt(int32_t dst, int32_t x, int32_t y, int32_t w, int32_t h, int32_t src,
                      int32_t sx, int32_t sy, Rop rop) {
  Bitmap* d = Find(dst);
  if (!d || w <= 0 || h <= 0) return;
  // Work in 64 bits so that far-off positions cannot wrap around.
  int64_t x0 = x, y0 = y, x1 = int64_t{x} + w, y1 = int64_t{y} + h;
  int64_t offX = int64_t{sx} - x, offY = int64_t{sy} - y;  // source = destination + offset
  x0 = std::max<int64_t>(x0, 0);
  y0 = std::max<int64_t>(y0, 0);
  x1 = std::min<int64_t>(x1, d->width);
  y1 = std::min<int64_t>(y1, d->height);
  if (rop == Rop::kBlackness) {
    if (x0 >= x1 || y0 >= y1) return;
    pixelsWritten_ += static_cast<uint64_t>((x1 - x0) * (y1 - y0));
    for (int64_t row = y0; row < y1; ++row)
      std::fill(d->Row(static_cast<int32_t>(row)) + x0, d->Row(static_cast<int32_t>(row)) + x1, 0u);
    return;
  }
  const Bitmap* s = Find(src);
  if (!s) return;
  x0 = std::max<int64_t>(x0, -offX);
  y0 = std::max<int64_t>(y0, -offY);
  x1 = std::min<int64_t>(x1, s->width - offX);
  y1 = std::min<int64_t>(y1, s->height - offY);
  if (x0 >= x1 || y0 >= y1) return;
  const size_t n = static_cast<size_t>(x1 - x0);
  pixelsWritten_ += n * static_cast<uint64_t>(y1 - y0);
  for (int64_t row = y0; row < y1; ++row) {
    uint32_t* dp = d->Row(static_cast<int32_t>(row)) + x0;
    const uint32_t* sp = s->Row(static_cast<int32_t>(row + offY)) + (x0 + offX);
    switch (rop) {
      case Rop::kSrcCopy:
        std::memmove(dp, sp, n * sizeof(uint32_t));
        break;
      case Rop::kSrcAnd:
        for (size_t i = 0; i < n; ++i) dp[i] &= sp[i];
        break;
      case Rop::kSrcPaint:
        for (size_t i = 0; i < n; ++i) dp[i] |= sp[i];
        break;
      case Rop::kBlackness:
        break;
    }
  }
}

void Surfaces::StretchBlt(int32_t dst, int32_t x, int32_t y, int32_t w, int32_t h, int32_t src,
                          int32_t sx, int32_t sy, int32_t sw, int32_t sh) {
  Bitmap* d = Find(dst);
  const Bitmap* s = Find(src);
  if (!d || !s || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  // Each destination pixel takes the source pixel under its centre.
  std::vector<int64_t> mapX(static_cast<size_t>(w));
  for (int32_t i = 0; i < w; ++i) mapX[i] = sx + (int64_t{2} * i + 1) * sw / (int64_t{2} * w);
  const int32_t c0 = std::max<int32_t>(0, -x), c1 = std::min<int64_t>(w, int64_t{d->width} - x);
  if (c1 > c0) pixelsWritten_ += static_cast<uint64_t>(c1 - c0) * static_cast<uint64_t>(h);
  int64_t lastSrcRow = -1;
  const uint32_t* lastDstRow = nullptr;
  for (int32_t j = 0; j < h; ++j) {
    int64_t dy = int64_t{y} + j;
    if (dy < 0 || dy >= d->height) continue;
    int64_t srcRow = sy + (int64_t{2} * j + 1) * sh / (int64_t{2} * h);
    if (srcRow < 0 || srcRow >= s->height) continue;
    uint32_t* dp = d->Row(static_cast<int32_t>(dy));
    if (srcRow == lastSrcRow && lastDstRow && c1 > c0) {  // a repeated row is a straight copy
      std::memcpy(dp + x + c0, lastDstRow + x + c0, static_cast<size_t>(c1 - c0) * sizeof(uint32_t));
      continue;
    }
    const uint32_t* sp = s->Row(static_cast<int32_t>(srcRow));
    bool whole = true;
    for (int32_t i = c0; i < c1; ++i) {
      int64_t srcX = mapX[i];
      if (srcX >= 0 && srcX < s->width) dp[x + i] = sp[srcX];
      else whole = false;
    }
    lastSrcRow = whole ? srcRow : -1;
    lastDstRow = dp;
  }
}

void Surfaces::SetPixel(int32_t dst, int32_t x, int32_t y, uint32_t rgb) {
  Bitmap* d = Find(dst);
  if (!d || x < 0 || y < 0 || x >= d->width || y >= d->height) return;
  d->Row(y)[x] = rgb & 0xFFFFFF;
}

}  // namespace dusk
