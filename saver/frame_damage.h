// What each frame changes. The scene is drawn again only where this frame's transfers differ from
// the last frame's, and only what differs from the picture last presented is presented again.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/surface.h"

namespace dusk {

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

// The damage of the scene from one frame to the next, for one back buffer.
class FrameDamage {
 public:
  // Draws a frame's recorded transfers into the back buffer, only in the bands where a transfer
  // of this frame or of the last one is not matched by the other (the first frame everywhere):
  // elsewhere drawing again would give every pixel the value it has.
  void Redraw(Surfaces& surfaces, int32_t backBuffer, std::vector<Transfer> transfers);
  // Whether anything was presented yet.
  bool Presented() const { return shown_ != 0; }
  // The rectangles of the back buffer that differ from the picture last presented (all of it
  // the first time); from now on they count as presented.
  std::vector<Rect> TakeChanges(Surfaces& surfaces, int32_t backBuffer);

 private:
  bool composed_ = false;
  std::vector<Transfer> lastTransfers_;
  BandRegion redrawn_{0, 0, 1};  // what frames drew since the last presentation
  int32_t shown_ = 0;            // the back buffer as last presented
};

}  // namespace dusk
