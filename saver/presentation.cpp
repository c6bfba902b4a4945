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

BandRegion::BandRegion(int32_t width, int32_t height, int32_t bandRows)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), bandRows_(std::max(bandRows, 1)),
      bands_(static_cast<size_t>((height_ + bandRows_ - 1) / bandRows_)) {}

void BandRegion::AddRun(std::vector<Run>& runs, Run run) {
  // Runs stay sorted and apart: the new one swallows every run it overlaps or touches.
  auto first = std::lower_bound(runs.begin(), runs.end(), run, [](const Run& r, const Run& n) { return r.second < n.first; });
  auto last = first;
  while (last != runs.end() && last->first <= run.second) {
    run = {std::min(run.first, last->first), std::max(run.second, last->second)};
    ++last;
  }
  runs.insert(runs.erase(first, last), run);
  if (runs.size() <= kRunsPerBand) return;
  size_t join = 0;  // the two runs with the narrowest gap between them become one
  for (size_t i = 1; i + 1 < runs.size(); ++i)
    if (runs[i + 1].first - runs[i].second < runs[join + 1].first - runs[join].second) join = i;
  runs[join].second = runs[join + 1].second;
  runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(join) + 1);
}

void BandRegion::Add(const Rect& r) {
  const int64_t left = std::max<int64_t>(r.left, 0), right = std::min<int64_t>(r.right, width_);
  const int64_t top = std::max<int64_t>(r.top, 0), bottom = std::min<int64_t>(r.bottom, height_);
  if (left >= right || top >= bottom) return;
  for (int64_t band = top / bandRows_; band * bandRows_ < bottom; ++band)
    AddRun(bands_[static_cast<size_t>(band)], {static_cast<int32_t>(left), static_cast<int32_t>(right)});
}

void BandRegion::Add(const BandRegion& other) {
  for (const Rect& r : other.Rects()) Add(r);
}

void BandRegion::AddAll() { Add(Rect{0, 0, width_, height_}); }

void BandRegion::Clear() {
  for (auto& runs : bands_) runs.clear();
}

std::vector<Rect> BandRegion::Rects() const {
  std::vector<Rect> rects;
  for (size_t band = 0; band < bands_.size(); ++band) {
    const int32_t top = static_cast<int32_t>(band) * bandRows_;
    for (const Run& run : bands_[band]) rects.push_back({run.first, top, run.second, std::min(height_, top + bandRows_)});
  }
  return rects;
}

std::vector<Rect> TakeChanges(Surfaces& surfaces, int32_t now, int32_t shown, const BandRegion& where) {
  std::vector<Rect> changes;
  const Bitmap* a = surfaces.Find(now);
  const Bitmap* b = surfaces.Find(shown);
  if (!a || !b || a->width != b->width || a->height != b->height) return changes;
  for (const Rect& r : where.Rects()) {
    const int32_t left0 = std::max(r.left, 0), right0 = std::min(r.right, a->width);
    const int32_t top = std::max(r.top, 0), bottom = std::min(r.bottom, a->height);
    if (left0 >= right0) continue;
    int32_t left = right0, right = left0;
    for (int32_t y = top; y < bottom; ++y) {
      int32_t first = 0, end = 0;
      DifferingSpan(a->Row(y) + left0, b->Row(y) + left0, right0 - left0, first, end);
      if (first >= end) continue;
      left = std::min(left, left0 + first);
      right = std::max(right, left0 + end);
    }
    if (left >= right) continue;
    changes.push_back({left, top, right, bottom});
    surfaces.BitBlt(shown, left, top, right - left, bottom - top, now, left, top, Rop::kSrcCopy);
  }
  return changes;
}

}  // namespace dusk
