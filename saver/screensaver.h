// The full-screen saver window: its set-up, the frame loop, songs and effects, clock and message,
// and the input that closes it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime.h"
#include "platform/controls.h"
#include "saver/presentation.h"
#include "scene/stage.h"

namespace dusk {

// Another monitor: its place on the virtual screen and the canvas its window shows.
struct MonitorView {
  Rect Place;
  int32_t Canvas = 0;
  bool Shared = false;  // the canvas is another window's, presented there
  std::vector<Rect> Damage;  // what the last frame changed on the canvas (when not shared)
};

class ScreenSaver {
 public:
  explicit ScreenSaver(Stage& p);

  // Controls
  TimerControl MusicTimer{10000, false};
  TimerControl maintimer{1, false};
  LabelControl ClockLabel, ScreenLabel;
  int32_t Canvas = 0;  // the window's persistent image, screen-sized
  std::vector<MonitorView> OtherMonitors;  // one window each, beside the primary's
  bool DisplayOn = true;  // false while the console display is off: no frames are composed
  // The rectangles of the canvas the last frame changed: a window need show only these anew.
  std::vector<Rect> Damage;
  // And those of the back buffer (the whole of it for the first frame), for a window that
  // presents the scene onto a canvas of its own.
  std::vector<Rect> SceneChanges;

  // Events
  void Form_Initialize();
  void Form_Load();
  void maintimer_Timer();
  void MusicTimer_Timer();
  void Form_Click();
  void Form_DblClick();
  void Form_KeyDown(int16_t keyCode, int16_t shift);
  void Form_KeyPress(int16_t keyAscii);
  // Returns true when the close is cancelled (the password was not verified).
  bool Form_QueryUnload(int16_t unloadMode);
  [[noreturn]] void Form_Unload();
  // Any request to close the window: the query first, then the unload unless cancelled.
  void RequestClose(int16_t unloadMode = 0);

  // Routines of the window
  void Initialize_Songs();
  void Initialize_SoundFX();
  void Rotate_SoundFX();
  void Update_Clock();
  void ComposeFrame();       // the scene drawn into the back buffer (where it may have changed)
  void PresentBackBuffer();  // and onto every canvas: the first frame whole, then what changed
  // The damage of the frame on a canvas (the primary's or a monitor's); none for another.
  const std::vector<Rect>& DamageOf(int32_t canvas) const;

 private:
  Stage& p_;
  // Drawing a frame: its transfers are recorded, then drawn only where they differ from the
  // last frame's (the first frame everywhere).
  bool composed_ = false;
  std::vector<Transfer> lastTransfers_;
  BandRegion redrawn_{0, 0, 1};  // what frames drew since the last presentation
  int32_t shown_ = 0;            // the back buffer as last presented
  void DrawScene();
  void RedrawWhereNeeded(std::vector<Transfer> transfers);
  // Songs that could not be played; the rotation passes them by.
  bool songFailed_[12] = {};
  bool skipCurrentSong_ = false;
  uint32_t SendMci(const std::string& command);
  bool NextPlayableSong();
};

}  // namespace dusk
