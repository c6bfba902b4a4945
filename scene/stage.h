// What the creature routines and the windows work on: the shared system state plus the scene's
// records, its limits, its random numbers and the surfaces it is drawn into.
#pragma once

#include "platform/numbers.h"
#include "platform/system.h"
#include "scene/records.h"

namespace dusk {

struct Stage : System {
  using System::System;

  Scene scene;
  Int16 SceneLeftLimit, SceneRightLimit, SceneTopLimit, SceneFarLimit;
  RandomGenerator Rnd;

  // Surfaces of start-up: the palette, the 800 x 600 back buffer, the preview's strip.
  Int32 PaletteSurface, BackBuffer, PreviewStrip;

  // The control panel's preview window: its parent and the parent's client area.
  int64_t PreviewParent = 0;
  Rect PreviewRect;

  // The windows of the run as the host sees them (start-up provides them).
  RunWindows* windows = nullptr;
};

// The scene's limits as start-up sets them: creatures turn or wrap round beyond these.
inline void SetSceneLimits(Stage& p) {
  p.SceneTopLimit = -150;
  p.SceneFarLimit = 750;
  p.SceneRightLimit = 1200;
  p.SceneLeftLimit = -400;
}

}  // namespace dusk
