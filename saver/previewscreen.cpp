#include "saver/previewscreen.h"

#include <algorithm>

#include "platform/labels.h"
#include "platform/numbers.h"
#include "platform/system.h"

namespace dusk {

PreviewScreen::PreviewScreen(Stage& p) : p_(p) {}

void PreviewScreen::Form_Initialize() {
  Guarded(p_, label::kPreviewFormInitialize, [&] {
    PreviewSourceX = 0;
    PreviewSourceY = 0;
    PreviewFrameWidth = 127;
    PreviewFrameHeight = 100;
    PreviewFrame = 1;
    PreviewFrameCount = 18;
    const Rect& r = p_.PreviewRect;
    const Int32 width = Int32(r.right) - Int32(r.left), height = Int32(r.bottom) - Int32(r.top);
    PreviewX = RoundToInt32(width / 2.0 - 127 / 2.0);
    PreviewY = RoundToInt32(height / 2.0 - 100 / 2.0);
    // The window fills the parent's client area from its top-left corner.
    if (r.right > 0 && r.bottom > 0) Canvas = p_.surfaces.AddBlank(r.right, r.bottom, 0);
  });
}

void PreviewScreen::Form_Load() { previewtimer.Enabled = true; }

void PreviewScreen::previewtimer_Timer() {
  Guarded(p_, label::kPreviewTimer, [&] {
    PreviewFrame += 1;
    if (PreviewFrame >= PreviewFrameCount) PreviewFrame = 0;
    const Int32 sx = Int16(PreviewFrame * PreviewFrameWidth) + PreviewSourceX;
    p_.surfaces.BitBlt(Canvas, PreviewX, PreviewY, PreviewFrameWidth, PreviewFrameHeight,
                       p_.PreviewStrip, sx, PreviewSourceY, Rop::kSrcCopy);
    drawn_ = Rect{PreviewX, PreviewY, PreviewX + PreviewFrameWidth, PreviewY + PreviewFrameHeight};
    p_.os.RefreshWindow();
  });
}

void PreviewScreen::Form_Unload() { EndRun(p_); }

const WindowFrame& PreviewScreen::Frame() {
  frame_.canvas = p_.surfaces.Find(Canvas);
  frame_.title = Caption;
  frame_.place = p_.PreviewRect;
  frame_.changed.clear();
  if (!frame_.canvas) return frame_;
  const Rect all{0, 0, frame_.canvas->width, frame_.canvas->height};
  const Rect r = drawn_.right > drawn_.left ? drawn_ : all;
  const Rect on{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, all.right), std::min(r.bottom, all.bottom)};
  if (on.left < on.right && on.top < on.bottom) frame_.changed.push_back(on);
  return frame_;
}

}  // namespace dusk
