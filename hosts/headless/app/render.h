// What a user would see: the window's canvas with the visible labels drawn above it, as a PNG.
#pragma once

#include <string>

#include "platform/surface.h"
#include "platform/controls.h"

namespace dusk::headless {

bool WritePng(const Bitmap& canvas, const LabelControl* labels[], int labelCount, const std::string& path);

}  // namespace dusk::headless
