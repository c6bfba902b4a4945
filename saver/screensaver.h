// The full-screen saver window: its set-up, the frame loop, songs and effects, clock and message,
// and the input that closes it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/runtime.h"
#include "platform/controls.h"
#include "platform/frame.h"
#include "saver/frame_damage.h"
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

  // The windows: the primary monitor's, then one per other monitor. What each is sent after a
  // tick: its canvas, what changed on it, and its labels laid out.
  size_t WindowCount() const { return 1 + OtherMonitors.size(); }
  const WindowFrame& Frame(size_t window) const;
  // A window that now has another size gets a canvas of that size and is shown whole again.
  void ResizeWindow(size_t window, int32_t width, int32_t height);

 private:
  Stage& p_;
  FrameDamage damage_;
  void DrawScene();
  // The windows' frames, and the labels each was last sent.
  std::vector<WindowFrame> frames_;
  std::vector<std::vector<LabelLayout>> labelsSent_;
  void BuildFrames(bool whole);
  void BuildFrame(size_t window, bool whole);
  std::vector<LabelLayout> LabelsFor(int32_t width) const;
  const Bitmap* CanvasOf(size_t window) const;
  // Whether a canvas shows the whole scene in its own proportions rather than cut or stretched.
  bool ShowsWhole(int32_t canvas) const;
  // Songs that could not be played; the rotation passes them by.
  bool songFailed_[12] = {};
  bool skipCurrentSong_ = false;
  uint32_t SendMci(const std::string& command);
  bool NextPlayableSong();
};

}  // namespace dusk
