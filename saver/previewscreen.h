// The control panel's miniature preview: a pre-drawn strip played frame by frame.
#pragma once

#include <cstdint>
#include <string>

#include "platform/frame.h"
#include "platform/runtime.h"
#include "platform/controls.h"
#include "scene/stage.h"

namespace dusk {

class PreviewScreen {
 public:
  explicit PreviewScreen(Stage& p);

  TimerControl previewtimer{70, false};
  std::string Caption;
  int32_t Canvas = 0;  // the window's persistent image

  Int16 PreviewFrameWidth, PreviewFrameHeight, PreviewFrameCount, PreviewFrame;
  Int32 PreviewSourceX, PreviewSourceY, PreviewX, PreviewY;

  void Form_Initialize();
  void Form_Load();
  void previewtimer_Timer();
  [[noreturn]] void Form_Unload();

  // What the window is sent: all of the canvas at first, then the strip's frame each tick.
  const WindowFrame& Frame();

 private:
  Stage& p_;
  WindowFrame frame_;
  Rect drawn_;  // what the last tick drew; empty before the first
};

}  // namespace dusk
