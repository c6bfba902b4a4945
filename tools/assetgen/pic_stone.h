// Carved stone lit by the moon from the upper right, shared by the tombstones and the crypt.
#pragma once
#include <cairo.h>

#include <cstdint>
#include <functional>

namespace assetgen {

using PathFn = std::function<void(cairo_t*)>;

// Fills the shape that `path` makes with weathered stone: graded light, grain, lichen, a moonlit
// bevel on the upper right, shadow at the lower left and at the foot, and a dark outline.
void StoneBody(cairo_t* cr, const PathFn& path, uint32_t base, double x0, double y0, double x1,
               double y1, uint64_t seed);
// Cuts the shape that `path` makes into the stone: a dark recess with a lit lower-left wall.
void Carve(cairo_t* cr, const PathFn& path, double depth = 0.9);
// Carved letters, centred on (cx, baseline).
void CarveText(cairo_t* cr, const char* text, double cx, double baseline, double size);
// Moss and grass growing at the foot of a stone between x0 and x1 at height y.
void Tufts(cairo_t* cr, double x0, double x1, double y, uint64_t seed, double height = 6);

}  // namespace assetgen
