// What a user would see: the window's canvas with the visible labels drawn above it, as a PNG.
#pragma once

#include <string>

#include <vector>

#include "platform/frame.h"

namespace dusk::headless {

// The whole of a window's frame: its canvas with its labels over it.
bool WritePng(const WindowFrame& frame, const std::string& path);

}  // namespace dusk::headless
