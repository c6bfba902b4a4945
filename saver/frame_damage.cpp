#include "saver/frame_damage.h"

#include <algorithm>
#include <climits>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dusk {
namespace {

// The height of the bands in which changes between frames are looked for.
constexpr int32_t kChangeBandRows = 16;

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

void FrameDamage::Redraw(Surfaces& surfaces, int32_t backBuffer, std::vector<Transfer> transfers) {
  const Bitmap* back = surfaces.Find(backBuffer);
  if (!back) return;
  if (!composed_) redrawn_ = BandRegion(back->width, back->height, kChangeBandRows);
  // The transfers this frame shares with the last one, matched in order (the scenery, whatever
  // stands still): where only those draw, drawing them again would give every pixel the value
  // it has, for a transfer of fixed pictures gives the same result however often it is repeated.
  // The rest, this frame's and the last one's, mark what must be drawn again.
  BandRegion redraw(back->width, back->height, kChangeBandRows);
  auto mark = [&](const Transfer& t) {
    const int64_t right = int64_t{t.x} + std::max(t.w, 0), bottom = int64_t{t.y} + std::max(t.h, 0);
    redraw.Add(Rect{t.x, t.y, static_cast<int32_t>(std::min<int64_t>(right, INT32_MAX)),
                    static_cast<int32_t>(std::min<int64_t>(bottom, INT32_MAX))});
  };
  std::vector<bool> matched(lastTransfers_.size(), false);
  size_t from = 0;
  bool readsItself = false;
  for (const Transfer& t : transfers) {
    if (!t.pixel && t.src == backBuffer) readsItself = true;
    auto same = std::find(lastTransfers_.begin() + static_cast<std::ptrdiff_t>(from), lastTransfers_.end(), t);
    if (same == lastTransfers_.end()) {
      mark(t);
      continue;
    }
    from = static_cast<size_t>(same - lastTransfers_.begin());
    matched[from++] = true;
  }
  for (size_t i = 0; i < lastTransfers_.size(); ++i)
    if (!matched[i]) mark(lastTransfers_[i]);
  if (!composed_) redraw.AddAll();
  if (readsItself) {  // a transfer that reads the back buffer needs the frame drawn in order
    surfaces.Replay(transfers);
    redraw.AddAll();
  } else {
    for (const Rect& r : redraw.Rects()) surfaces.Replay(transfers, &r);
  }
  redrawn_.Add(redraw);
  lastTransfers_ = std::move(transfers);
  composed_ = true;
}

std::vector<Rect> FrameDamage::TakeChanges(Surfaces& surfaces, int32_t backBuffer) {
  if (shown_) {
    std::vector<Rect> changes = dusk::TakeChanges(surfaces, backBuffer, shown_, redrawn_);
    redrawn_.Clear();
    return changes;
  }
  redrawn_.Clear();
  const Bitmap* back = surfaces.Find(backBuffer);
  if (!back) return {};
  shown_ = surfaces.AddBlank(back->width, back->height, 0);
  surfaces.BitBlt(shown_, 0, 0, back->width, back->height, backBuffer, 0, 0, Rop::kSrcCopy);
  return {Rect{0, 0, back->width, back->height}};
}

}  // namespace dusk
