#include "saver/presentation.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dusk {
namespace {

// The first of `length` destination pixels (stretched from `sourceLength`) that shows source
// pixel `s` or one after it: the smallest i with (2i + 1) * sourceLength >= 2 * length * s.
int64_t FirstShowing(int64_t s, int64_t sourceLength, int64_t length) {
  const int64_t a = 2 * length * s - sourceLength, b = 2 * sourceLength;
  const int64_t i = a <= 0 ? a / b : (a + b - 1) / b;  // a / b rounded up
  return std::clamp<int64_t>(i, 0, length);
}

// The first pixel from the left where two rows differ (n when none), and one past the last.
void DifferingSpan(const uint32_t* a, const uint32_t* b, int32_t n, int32_t& first, int32_t& end) {
  int32_t i = 0;
#if defined(__SSE2__)
  auto same4 = [&](int32_t k) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k));
    return _mm_movemask_epi8(_mm_cmpeq_epi32(x, y)) == 0xFFFF;
  };
  while (i + 4 <= n && same4(i)) i += 4;
#endif
  while (i < n && a[i] == b[i]) ++i;
  first = i;
  int32_t j = n;
#if defined(__SSE2__)
  while (j - 4 >= i && same4(j - 4)) j -= 4;
#endif
  while (j > i && a[j - 1] == b[j - 1]) --j;
  end = j;
}

}  // namespace

Placement PlaceScene(int32_t width, int32_t height, bool keepProportions) {
  if (width < kSceneWidth) return {width - kSceneWidth, height - kSceneHeight, kSceneWidth, kSceneHeight, false};
  if (width == kSceneWidth) return {0, 0, width, height, false};
  if (!keepProportions) return {0, 0, width, height, true};
  const int64_t w = width, h = height;
  Placement p;
  p.scaled = true;
  if (w * kSceneHeight <= h * kSceneWidth) {  // taller than the scene: bars at top and bottom
    p.width = width;
    p.height = static_cast<int32_t>((w * kSceneHeight + kSceneWidth / 2) / kSceneWidth);
  } else {  // wider: bars at the sides
    p.height = height;
    p.width = static_cast<int32_t>((h * kSceneWidth + kSceneHeight / 2) / kSceneHeight);
  }
  p.x = (width - p.width) / 2;
  p.y = (height - p.height) / 2;
  return p;
}

Rect PresentScene(Surfaces& surfaces, int32_t canvas, int32_t backBuffer, bool keepProportions, const Rect* changed) {
  const Bitmap* c = surfaces.Find(canvas);
  if (!c) return {};
  const int32_t W = c->width, H = c->height;
  const Placement at = PlaceScene(W, H, keepProportions);
  Rect drawn{0, 0, W, H};
  if (changed && !at.scaled) {
    drawn = {at.x + changed->left, at.y + changed->top, at.x + changed->right, at.y + changed->bottom};
  } else if (changed) {
    drawn = {static_cast<int32_t>(at.x + FirstShowing(changed->left, kSceneWidth, at.width)),
             static_cast<int32_t>(at.y + FirstShowing(changed->top, kSceneHeight, at.height)),
             static_cast<int32_t>(at.x + FirstShowing(changed->right, kSceneWidth, at.width)),
             static_cast<int32_t>(at.y + FirstShowing(changed->bottom, kSceneHeight, at.height))};
  }
  drawn = {std::max(drawn.left, 0), std::max(drawn.top, 0), std::min(drawn.right, W), std::min(drawn.bottom, H)};
  if (drawn.right <= drawn.left || drawn.bottom <= drawn.top) return {};
  if (!at.scaled) {
    surfaces.BitBlt(canvas, drawn.left, drawn.top, drawn.right - drawn.left, drawn.bottom - drawn.top, backBuffer,
                    drawn.left - at.x, drawn.top - at.y, Rop::kSrcCopy);
    return drawn;
  }
  surfaces.StretchBlt(canvas, at.x, at.y, at.width, at.height, backBuffer, 0, 0, kSceneWidth, kSceneHeight,
                      changed ? &drawn : nullptr);
  if (changed) return drawn;
  // The bars, only where the scene does not reach.
  if (at.x > 0) {
    surfaces.BitBlt(canvas, 0, 0, at.x, H, 0, 0, 0, Rop::kBlackness);
    surfaces.BitBlt(canvas, at.x + at.width, 0, W - at.x - at.width, H, 0, 0, 0, Rop::kBlackness);
  }
  if (at.y > 0) {
    surfaces.BitBlt(canvas, 0, 0, W, at.y, 0, 0, 0, Rop::kBlackness);
    surfaces.BitBlt(canvas, 0, at.y + at.height, W, H - at.y - at.height, 0, 0, 0, Rop::kBlackness);
  }
  return drawn;
}

std::vector<Rect> TakeChanges(Surfaces& surfaces, int32_t now, int32_t shown, int32_t bandRows) {
  std::vector<Rect> changes;
  const Bitmap* a = surfaces.Find(now);
  const Bitmap* b = surfaces.Find(shown);
  if (!a || !b || a->width != b->width || a->height != b->height || bandRows <= 0) return changes;
  const int32_t W = a->width, H = a->height;
  for (int32_t top = 0; top < H; top += bandRows) {
    const int32_t bottom = std::min(H, top + bandRows);
    int32_t left = W, right = 0;
    for (int32_t y = top; y < bottom; ++y) {
      int32_t first = 0, end = 0;
      DifferingSpan(a->Row(y), b->Row(y), W, first, end);
      if (first >= end) continue;
      left = std::min(left, first);
      right = std::max(right, end);
    }
    if (left >= right) continue;
    changes.push_back({left, top, right, bottom});
    surfaces.BitBlt(shown, left, top, right - left, bottom - top, now, left, top, Rop::kSrcCopy);
  }
  return changes;
}

}  // namespace dusk
