// How the 800 x 600 scene reaches a screen of any size: one rule for every window that shows it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/surface.h"

namespace dusk {

inline constexpr int kSceneWidth = 800, kSceneHeight = 600;

// Where the scene lands on a width x height screen. Where it covers the screen (no side larger
// than the scene's) it is cut so that its bottom-right corner sits at the screen's, or shown 1:1
// on a screen exactly as wide; any larger screen gets it stretched over the whole screen. Keeping
// its proportions, every screen shows the whole scene, scaled up or down to the largest centred
// rectangle of its shape (black bars fill the rest).
struct Placement {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool scaled = false;
};
Placement PlaceScene(int32_t width, int32_t height, bool keepProportions);

// Draws the back buffer onto the canvas (a surface of the screen's size) by those rules: all of
// it, or with `changed` (a rectangle of the back buffer) only the canvas pixels that show it.
// Returns the rectangle of the canvas drawn.
Rect PresentScene(Surfaces& surfaces, int32_t canvas, int32_t backBuffer, bool keepProportions,
                  const Rect* changed = nullptr);

}  // namespace dusk
