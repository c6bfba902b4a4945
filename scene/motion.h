// Small steps every creature routine shares: the frame step, the move, the turn and the thread.
#pragma once

#include "scene/records.h"
#include "scene/stage.h"

namespace dusk {

inline bool Within(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Next frame of the run, back to the first after the last.
inline void NextFrame(CreatureState& r) {
  r.Frame += 1;
  if (r.Frame >= r.FrameCount) r.Frame = 0;
}

// After drawing: the next frame, then one step.
inline void StepAndMove(CreatureState& r) {
  NextFrame(r);
  r.X = r.X + r.StepX;
  r.Y = r.Y + r.StepY;
}

// Reverses the horizontal step and picks the run of frames that faces the new way.
inline void TurnAround(CreatureState& r, int32_t facingSrcX) {
  r.StepX = -r.StepX;
  r.SrcX = facingSrcX;
}

// The spider's grey thread, from the top of the scene down to the spider's top row.
inline void DrawSpiderThread(Stage& p, const CreatureState& spider) {
  for (int32_t y = 0; y <= spider.Y; ++y) p.surfaces.SetPixel(p.BackBuffer, spider.X + 39, y, 0x808080);
}

}  // namespace dusk
