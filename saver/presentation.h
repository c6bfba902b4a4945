// How the 800 x 600 scene reaches a screen of any size: one rule for every window that shows it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/surface.h"

namespace dusk {

inline constexpr int kSceneWidth = 800, kSceneHeight = 600;

// Where the scene lands on a width x height screen. A narrower screen cuts it so that its
// bottom-right corner sits at the screen's; one exactly as wide shows it 1:1 at the top left; a
// wider one stretches it over the whole screen or, keeping its proportions, over the largest
// centred rectangle of its shape (black bars fill the rest).
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

// A region of a width x height picture kept band by band (bands of `bandRows` rows), as a few
// runs of columns in each: what a frame may have changed. Adding a rectangle widens or adds runs
// in the bands it crosses; where a band would hold too many, the two closest are joined.
class BandRegion {
 public:
  BandRegion(int32_t width, int32_t height, int32_t bandRows);
  void Add(const Rect& r);
  void Add(const BandRegion& other);
  void AddAll();
  void Clear();
  std::vector<Rect> Rects() const;  // a rectangle per run, band after band, left to right

 private:
  static constexpr size_t kRunsPerBand = 4;
  using Run = std::pair<int32_t, int32_t>;  // [left, right)
  int32_t width_, height_, bandRows_;
  std::vector<std::vector<Run>> bands_;
  void AddRun(std::vector<Run>& runs, Run run);
};

// What differs between two pictures of one size inside `where`: for each of its rectangles, the
// columns from the first to the last pixel that differs, as one rectangle. Copies those from
// `now` into `shown`; outside `where` the two must be alike already.
std::vector<Rect> TakeChanges(Surfaces& surfaces, int32_t now, int32_t shown, const BandRegion& where);

}  // namespace dusk
