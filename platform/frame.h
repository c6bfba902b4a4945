// What a window shows after a tick, decided wholly by the core: the pixels, the rectangles that
// changed since the host last sent them, and the labels laid out over them. A host copies those
// rectangles of the canvas to its window and draws each label's text in its box; it decides
// nothing about placement, proportions, monitors or which labels must be sent again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/controls.h"

namespace dusk {

// A label as it must look: its box on the window (filled with the back colour), the text in
// Arial bold of `fontPixels` (the em height in pixels), aligned in the box, top-aligned, one line.
// Text that does not fit is clipped at the box.
struct LabelLayout {
  std::string text;  // UTF-8
  Rect box;
  int fontPixels = 16;
  uint32_t textColor = kLabelTextColor;  // 0xRRGGBB
  uint32_t backColor = kLabelBackColor;
  Alignment align = Alignment::kCenter;
  bool operator==(const LabelLayout&) const = default;
};

// One window's frame. `canvas` is the window's own picture, as large as the window. `changed`
// lists the rectangles of the window to send again, each as the canvas's pixels with the labels
// drawn over them (where a label's box meets it); it already holds the labels' boxes whenever a
// label or the picture under it changed, and the boxes labels stood in before. Nothing else of
// the window needs sending: what is outside `changed` shows what it showed.
struct WindowFrame {
  const Bitmap* canvas = nullptr;
  Rect place;  // the window on the virtual screen (saver windows), or in its parent
  std::vector<Rect> changed;
  std::vector<LabelLayout> labels;  // every label to show, in drawing order
};

}  // namespace dusk
