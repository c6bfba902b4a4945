// What a user would see: the window's canvas with the visible labels drawn above it, as a PNG.
#pragma once

#include <cairo.h>

#include <string>

#include <vector>

#include "platform/frame.h"

namespace dusk::headless {

// The whole of a window's frame: its canvas with its labels over it.
bool WritePng(const WindowFrame& frame, const std::string& path);

// Draws labels onto a window-sized cairo context: each box in its back colour, the text in the
// labels' font, size and colour. Shared with the SDL host, so that both show the same pixels.
void DrawLabels(cairo_t* cr, const std::vector<LabelLayout>& labels);

}  // namespace dusk::headless
