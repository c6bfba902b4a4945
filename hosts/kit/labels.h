// Label text drawn with cairo, the same pixels in every host that draws its own labels.
#pragma once

#include <cairo.h>

#include <vector>

#include "platform/frame.h"

namespace dusk::kit {

// Draws each label onto a window-sized cairo context: its box filled with the back colour, the
// text in the label font at the label's size and colour, aligned in the box; text too long for
// the box ends in "..." after as many of its characters as fit.
void DrawLabels(cairo_t* cr, const std::vector<LabelLayout>& labels);

}  // namespace dusk::kit
