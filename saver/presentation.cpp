#include "saver/presentation.h"

#include <algorithm>

namespace dusk {
namespace {

// The first of `length` destination pixels (stretched from `sourceLength`) that shows source
// pixel `s` or one after it: the smallest i with (2i + 1) * sourceLength >= 2 * length * s.
int64_t FirstShowing(int64_t s, int64_t sourceLength, int64_t length) {
  const int64_t a = 2 * length * s - sourceLength, b = 2 * sourceLength;
  const int64_t i = a <= 0 ? a / b : (a + b - 1) / b;  // a / b rounded up
  return std::clamp<int64_t>(i, 0, length);
}

}  // namespace

Placement PlaceScene(int32_t width, int32_t height, bool keepProportions) {
  if (!keepProportions && width <= kSceneWidth && height <= kSceneHeight) {
    // The scene covers the screen: cut so that its bottom-right corner sits at the screen's,
    // or 1:1 from the top left on a screen exactly as wide.
    if (width < kSceneWidth) return {width - kSceneWidth, height - kSceneHeight, kSceneWidth, kSceneHeight, false};
    return {0, 0, width, height, false};
  }
  if (!keepProportions) return {0, 0, width, height, true};
  // The whole scene, as large as it goes in its own shape, centred; black bars fill the rest.
  const int64_t w = width, h = height;
  Placement p;
  if (w * kSceneHeight <= h * kSceneWidth) {  // taller than the scene: bars at top and bottom
    p.width = width;
    p.height = static_cast<int32_t>((w * kSceneHeight + kSceneWidth / 2) / kSceneWidth);
  } else {  // wider: bars at the sides
    p.height = height;
    p.width = static_cast<int32_t>((h * kSceneWidth + kSceneHeight / 2) / kSceneHeight);
  }
  p.width = std::max(p.width, 1);
  p.height = std::max(p.height, 1);
  p.x = (width - p.width) / 2;
  p.y = (height - p.height) / 2;
  p.scaled = p.width != kSceneWidth || p.height != kSceneHeight;
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

}  // namespace dusk
