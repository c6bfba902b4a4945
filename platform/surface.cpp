#include "platform/surface.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dusk {
namespace {

// The pixel loops of the transfers, for distinct source and destination rows. SSE2 is part of
// every 64-bit x86, so these need no run-time dispatch; elsewhere plain loops do the same work.
void CopyPixels(uint32_t* __restrict d, const uint32_t* __restrict s, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 8 <= n; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 4), b);
  }
#endif
  for (; i < n; ++i) d[i] = s[i];
}

// d[i] = d[i] op s[i], eight pixels a step where SSE2 is there: `vec` combines two vectors of four
// pixels, `one` two pixels.
template <class Vec, class One>
void CombinePixels(uint32_t* __restrict d, const uint32_t* __restrict s, size_t n, Vec vec, One one) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 8 <= n; i += 8) {
    __m128i* out = reinterpret_cast<__m128i*>(d + i);
    const __m128i a = vec(_mm_loadu_si128(out), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
    const __m128i b = vec(_mm_loadu_si128(out + 1), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4)));
    _mm_storeu_si128(out, a);
    _mm_storeu_si128(out + 1, b);
  }
#else
  (void)vec;
#endif
  for (; i < n; ++i) d[i] = one(d[i], s[i]);
}

#if defined(__SSE2__)
#define DUSK_VECTOR_OP(op) [](__m128i x, __m128i y) { return op(x, y); }
#else
#define DUSK_VECTOR_OP(op) 0
#endif

void AndPixels(uint32_t* __restrict d, const uint32_t* __restrict s, size_t n) {
  CombinePixels(d, s, n, DUSK_VECTOR_OP(_mm_and_si128), [](uint32_t x, uint32_t y) { return x & y; });
}

void OrPixels(uint32_t* __restrict d, const uint32_t* __restrict s, size_t n) {
  CombinePixels(d, s, n, DUSK_VECTOR_OP(_mm_or_si128), [](uint32_t x, uint32_t y) { return x | y; });
}

#undef DUSK_VECTOR_OP

// d[i] = s[map[i]]: one stretched row.
void GatherPixels(uint32_t* __restrict d, const uint32_t* __restrict s, const uint32_t* __restrict map, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= n; i += 4) {  // four loads, one store
    const __m128i v = _mm_setr_epi32(static_cast<int>(s[map[i]]), static_cast<int>(s[map[i + 1]]),
                                     static_cast<int>(s[map[i + 2]]), static_cast<int>(s[map[i + 3]]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), v);
  }
#endif
  for (; i < n; ++i) d[i] = s[map[i]];
}

}  // namespace

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
  if (recordTarget_ && dst == recordTarget_) {
    recorded_.push_back({dst, x, y, w, h, src, sx, sy, rop, false, 0});
    return;
  }
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
    if (x0 == 0 && x1 == d->width) {  // whole rows: one run
      std::fill(d->Row(static_cast<int32_t>(y0)), d->Row(static_cast<int32_t>(y1 - 1)) + x1, 0u);
      return;
    }
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
  // A surface drawn onto itself may overlap: pixel by pixel, in order, as a plain loop would.
  const bool self = s == d;
  for (int64_t row = y0; row < y1; ++row) {
    uint32_t* dp = d->Row(static_cast<int32_t>(row)) + x0;
    const uint32_t* sp = s->Row(static_cast<int32_t>(row + offY)) + (x0 + offX);
    switch (rop) {
      case Rop::kSrcCopy:
        if (self) std::memmove(dp, sp, n * sizeof(uint32_t));
        else CopyPixels(dp, sp, n);
        break;
      case Rop::kSrcAnd:
        if (self) for (size_t i = 0; i < n; ++i) dp[i] &= sp[i];
        else AndPixels(dp, sp, n);
        break;
      case Rop::kSrcPaint:
        if (self) for (size_t i = 0; i < n; ++i) dp[i] |= sp[i];
        else OrPixels(dp, sp, n);
        break;
      case Rop::kBlackness:
        break;
    }
  }
}

void Surfaces::StretchBlt(int32_t dst, int32_t x, int32_t y, int32_t w, int32_t h, int32_t src,
                          int32_t sx, int32_t sy, int32_t sw, int32_t sh, const Rect* clip) {
  Bitmap* d = Find(dst);
  const Bitmap* s = Find(src);
  if (!d || !s || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  Bitmap before;  // a surface stretched onto itself reads the picture as it was
  if (s == d) s = &(before = *d);
  // Each destination pixel takes the source pixel under its centre. Columns c0..c1 and rows
  // j0..j1 of the destination rectangle are on the destination and inside the clip; of those
  // columns, a..b map inside the source (the map only grows from left to right: one run).
  int64_t left = 0, top = 0, right = d->width, bottom = d->height;
  if (clip) {
    left = std::max<int64_t>(left, clip->left);
    top = std::max<int64_t>(top, clip->top);
    right = std::min<int64_t>(right, clip->right);
    bottom = std::min<int64_t>(bottom, clip->bottom);
  }
  const int64_t c0 = std::max<int64_t>(0, left - x), c1 = std::min<int64_t>(w, right - x);
  const int64_t j0 = std::max<int64_t>(0, top - y), j1 = std::min<int64_t>(h, bottom - y);
  if (c1 <= c0 || j1 <= j0) return;
  pixelsWritten_ += static_cast<uint64_t>(c1 - c0) * static_cast<uint64_t>(j1 - j0);
  auto column = [&](int64_t i) { return sx + (int64_t{2} * i + 1) * sw / (int64_t{2} * w); };
  int64_t a = c0, b = c1;
  while (a < b && column(a) < 0) ++a;
  while (b > a && column(b - 1) >= s->width) --b;
  if (a >= b) return;
  const bool whole = a == c0 && b == c1;
  const size_t n = static_cast<size_t>(b - a);
  std::vector<uint32_t> map(n);  // source column of each destination column a..b
  for (size_t i = 0; i < n; ++i) map[i] = static_cast<uint32_t>(column(a + static_cast<int64_t>(i)));
  int64_t lastSrcRow = -1;
  const uint32_t* lastDstRow = nullptr;
  for (int64_t j = j0; j < j1; ++j) {
    const int64_t dy = int64_t{y} + j;
    const int64_t srcRow = sy + (int64_t{2} * j + 1) * sh / (int64_t{2} * h);
    if (srcRow < 0 || srcRow >= s->height) continue;
    uint32_t* dp = d->Row(static_cast<int32_t>(dy)) + (x + a);
    if (srcRow == lastSrcRow) {  // a repeated row is a straight copy
      std::memcpy(dp, lastDstRow, n * sizeof(uint32_t));
      continue;
    }
    GatherPixels(dp, s->Row(static_cast<int32_t>(srcRow)), map.data(), n);
    // A row copy would also copy what the gather left alone: only whole rows are reused.
    lastSrcRow = whole ? srcRow : -1;
    lastDstRow = dp;
  }
}

void Surfaces::SetPixel(int32_t dst, int32_t x, int32_t y, uint32_t rgb) {
  if (recordTarget_ && dst == recordTarget_) {
    recorded_.push_back({dst, x, y, 1, 1, 0, 0, 0, Rop::kSrcCopy, true, rgb});
    return;
  }
  Bitmap* d = Find(dst);
  if (!d || x < 0 || y < 0 || x >= d->width || y >= d->height) return;
  d->Row(y)[x] = rgb & 0xFFFFFF;
}

void Surfaces::Record(int32_t target) {
  recordTarget_ = target;
  recorded_.clear();
}

std::vector<Transfer> Surfaces::TakeRecording() {
  recordTarget_ = 0;
  return std::move(recorded_);
}

void Surfaces::Replay(const std::vector<Transfer>& transfers, const Rect* clip) {
  for (const Transfer& t : transfers) {
    if (t.pixel) {
      if (!clip || (t.x >= clip->left && t.x < clip->right && t.y >= clip->top && t.y < clip->bottom))
        SetPixel(t.dst, t.x, t.y, t.rgb);
      continue;
    }
    if (!clip) {
      BitBlt(t.dst, t.x, t.y, t.w, t.h, t.src, t.sx, t.sy, t.rop);
      continue;
    }
    // The part inside the clip, each pixel with the source pixel it had.
    const int64_t x0 = std::max<int64_t>(t.x, clip->left), y0 = std::max<int64_t>(t.y, clip->top);
    const int64_t x1 = std::min<int64_t>(int64_t{t.x} + t.w, clip->right);
    const int64_t y1 = std::min<int64_t>(int64_t{t.y} + t.h, clip->bottom);
    if (x0 >= x1 || y0 >= y1) continue;
    BitBlt(t.dst, static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
           static_cast<int32_t>(y1 - y0), t.src, static_cast<int32_t>(t.sx + (x0 - t.x)),
           static_cast<int32_t>(t.sy + (y0 - t.y)), t.rop);
  }
}

}  // namespace dusk
