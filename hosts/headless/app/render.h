// What a user would see: the window's canvas with the visible labels drawn above it, as a PNG.
#pragma once

#include <cairo.h>

#include <string>

#include "platform/surface.h"
#include "platform/controls.h"

namespace dusk::headless {

bool WritePng(const Bitmap& canvas, const LabelControl* labels[], int labelCount, const std::string& path);

// Draws the visible labels onto a screen-sized cairo context: a black box each, the caption in the
// labels' font and colour. Shared with the SDL host, so that both show the same pixels.
void DrawLabels(cairo_t* cr, const LabelControl* labels[], int labelCount);

}  // namespace dusk::headless
