// The scene's records: one CreatureState per drawable thing, and the tick counters.
#pragma once

#include <string>

#include "platform/runtime.h"

namespace dusk {

struct CreatureState {
  Int32 X, Y;             // left and top edge in scene pixels (far outside while off stage)
  Int16 Height, Width;    // one frame
  Int16 FrameCount;       // frames per facing in the sheet
  Int16 Frame;            // current frame; -1 draws nothing
  Int32 Picture;          // surface of the sheet, 0 while not loaded
  Int32 SrcX, SrcY;       // offset into the sheet: SrcX picks the facing
  int16_t Enabled = kFalse;
  Int16 StepX, StepY;     // pixels per tick
  std::string FileName;   // without directory
  int16_t FileFound = kFalse;
};

struct Scene {
  // Backdrop strips and tombstones (Tomb3 is drawn from Tomb2's picture).
  CreatureState BackTop, BackMid1, BackMid2, BackMid3, BackBottom;
  CreatureState Tomb1, Tomb2, Tomb3, Tomb4;
  // Creatures with one record.
  CreatureState Hand, Watchman, Owl, Dove, Medallion, Skeleton1, Skeleton2, Crow1, Crow2, Zombie,
      BloodDrip, Scorpion, Flower, GraveDigger, Pumpkin, Spider;
  // Groups: element 1 carries the group's picture and flags (Rats and Lightning: a picture each).
  FixedArray<CreatureState, 0, 7> Bats;       // 1..6 used
  FixedArray<CreatureState, 0, 2> Lightning;  // 1..2
  FixedArray<CreatureState, 0, 2> Rats;       // 1..2
  FixedArray<CreatureState, 0, 15> FireFlies; // 1..15 (the dialog previews 1..8)
  // The settings dialog's two live previews.
  CreatureState PreviewState1, PreviewState2;
  // Tick counters that time the scripted animations.
  Int16 LongTick, ShortTick, MediumTick;
};

}  // namespace dusk
