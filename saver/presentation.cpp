#include "saver/presentation.h"

namespace dusk {

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

void PresentScene(Surfaces& surfaces, int32_t canvas, int32_t backBuffer, bool keepProportions) {
  const Bitmap* c = surfaces.Find(canvas);
  if (!c) return;
  const int32_t W = c->width, H = c->height;
  const Placement at = PlaceScene(W, H, keepProportions);
  if (!at.scaled) {
    surfaces.BitBlt(canvas, at.x, at.y, at.width, at.height, backBuffer, 0, 0, Rop::kSrcCopy);
    return;
  }
  surfaces.StretchBlt(canvas, at.x, at.y, at.width, at.height, backBuffer, 0, 0, kSceneWidth, kSceneHeight);
  // The bars, only where the scene does not reach.
  if (at.x > 0) {
    surfaces.BitBlt(canvas, 0, 0, at.x, H, 0, 0, 0, Rop::kBlackness);
    surfaces.BitBlt(canvas, at.x + at.width, 0, W - at.x - at.width, H, 0, 0, 0, Rop::kBlackness);
  }
  if (at.y > 0) {
    surfaces.BitBlt(canvas, 0, 0, W, at.y, 0, 0, 0, Rop::kBlackness);
    surfaces.BitBlt(canvas, 0, at.y + at.height, W, H - at.y - at.height, 0, 0, 0, Rop::kBlackness);
  }
}

}  // namespace dusk
