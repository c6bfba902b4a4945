// What a window shows after a tick, decided wholly by the core: the pixels, the rectangles that
// changed since the host last sent them, and the labels laid out over them. A host copies those
// rectangles of the canvas to its window and draws each label's text in its box; it decides
// nothing about placement, proportions, monitors or which labels must be sent again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/controls.h"

namespace dusk {

// A label as it must look: its box on the window (filled with the back colour), the text in
// Arial bold of `fontPixels` (the em height in pixels), aligned in the box, top-aligned, one line.
// Text that does not fit ends, inside the box, with "..." after as much of it as fits with that.
struct LabelLayout {
  std::string text;  // UTF-8
  Rect box;
  int fontPixels = 16;
  uint32_t textColor = kLabelTextColor;  // 0xRRGGBB
  uint32_t backColor = kLabelBackColor;
  Alignment align = Alignment::kCenter;
  bool operator==(const LabelLayout&) const = default;
};

// One window's frame. `canvas` is the window's own picture, as large as the window. `changed`
// lists the rectangles of the window to send again, each as the canvas's pixels with the labels
// drawn over them (where a label's box meets it); it already holds the labels' boxes whenever a
// label or the picture under it changed, and the boxes labels stood in before. Nothing else of
// the window needs sending: what is outside `changed` shows what it showed.
struct WindowFrame {
  const Bitmap* canvas = nullptr;
  std::string title;  // the window's caption, where it has one
  Rect place;  // the window on the virtual screen (saver windows), or in its parent
  std::vector<Rect> changed;
  std::vector<LabelLayout> labels;  // every label to show, in drawing order
};

}  // namespace dusk

namespace dusk {

// What a user does to a window of the run, in the core's terms.
enum class WindowInput {
  kClick,        // a mouse button released
  kDoubleClick,
  kKeyDown,      // with the key's code and the shift state (1 shift, 2 control, 4 alt)
  kKeyPress,     // with the character's code
  kClose,        // the system or the user asks the window to close
  kDestroyed,    // the window was destroyed by someone else (the preview's parent went away)
};

// The windows of the running mode as a host sees them: what each shows after a tick, the timers
// that drive them, and where their input goes. The program implements it; the host is handed it
// when it is asked to show the mode's window and keeps it until the run ends. Windows are
// numbered from 0: the saver's primary monitor first, then one per other monitor in the order
// the host reported them; the preview's one; the settings dialog's two preview boxes.
class RunWindows {
 public:
  virtual ~RunWindows() = default;
  virtual size_t WindowCount() = 0;
  // The window's frame as of the last tick: its `changed` rectangles are what that tick changed.
  // A window the system asks to paint again gets all of its canvas with every label instead.
  virtual const WindowFrame& Frame(size_t window) = 0;
  // The timers of the mode, by number, and a timer's tick.
  virtual std::vector<const TimerControl*> Timers() = 0;
  virtual void TimerFired(size_t timer) = 0;
  virtual void Input(WindowInput kind, int16_t code = 0, int16_t shift = 0) = 0;
  // The console display was switched off or on again: no frames are made while it is off.
  virtual void DisplayPower(bool on) = 0;
  // A window now has this size (a window the user resized, a daemon's window that changed): its
  // next frame is all of it, laid out anew.
  virtual void Resized(size_t window, int32_t width, int32_t height) = 0;
};

}  // namespace dusk
