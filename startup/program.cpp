#include "startup/program.h"

#include "saver/previewscreen.h"
#include "saver/screensaver.h"
#include "settings_dialog/configuration.h"
#include "startup/starter.h"

namespace dusk {

Program::Program(Os& os_) : Stage(os_) {
  // Errors and the windows end the run through start-up's clean-up.
  cleanupAndEnd = [](System& p) { X_Cleanup_And_End(static_cast<Program&>(p)); };
  windows = &runWindows;
}
Program::~Program() = default;

size_t ProgramWindows::WindowCount() {
  if (p_.screenSaver) return p_.screenSaver->WindowCount();
  if (p_.previewScreen) return 1;
  if (p_.configuration) return 2;
  return 0;
}

const WindowFrame& ProgramWindows::Frame(size_t window) {
  static const WindowFrame kNone;
  if (p_.screenSaver) return p_.screenSaver->Frame(window);
  if (p_.previewScreen) return window == 0 ? p_.previewScreen->Frame() : kNone;
  if (p_.configuration) return window < 2 ? p_.configuration->Frame(window) : kNone;
  return kNone;
}

std::vector<const TimerControl*> ProgramWindows::Timers() {
  if (p_.screenSaver) return {&p_.screenSaver->maintimer, &p_.screenSaver->MusicTimer};
  if (p_.previewScreen) return {&p_.previewScreen->previewtimer};
  if (p_.configuration) return {&p_.configuration->Timer1};
  return {};
}

void ProgramWindows::TimerFired(size_t timer) {
  if (p_.screenSaver) {
    if (timer == 0) p_.screenSaver->maintimer_Timer();
    else if (timer == 1) p_.screenSaver->MusicTimer_Timer();
  } else if (p_.previewScreen) {
    if (timer == 0) p_.previewScreen->previewtimer_Timer();
  } else if (p_.configuration) {
    if (timer == 0) p_.configuration->Timer1_Timer();
  }
}

void ProgramWindows::Input(WindowInput kind, int16_t code, int16_t shift) {
  if (ScreenSaver* s = p_.screenSaver.get()) {
    switch (kind) {
      case WindowInput::kClick: s->Form_Click(); break;
      case WindowInput::kDoubleClick: s->Form_DblClick(); break;
      case WindowInput::kKeyDown: s->Form_KeyDown(code, shift); break;
      case WindowInput::kKeyPress: s->Form_KeyPress(code); break;
      case WindowInput::kClose: s->RequestClose(0); break;
      case WindowInput::kDestroyed: X_Cleanup_And_End(p_); break;  // gone: the run ends the orderly way
    }
  } else if (PreviewScreen* v = p_.previewScreen.get()) {
    // The control panel destroys its window, and the preview's with it: the run is over.
    if (kind == WindowInput::kDestroyed) v->Form_Unload();
  }
}

void ProgramWindows::DisplayPower(bool on) {
  if (p_.screenSaver) p_.screenSaver->DisplayOn = on;
}

void ProgramWindows::Resized(size_t window, int32_t width, int32_t height) {
  if (p_.screenSaver) p_.screenSaver->ResizeWindow(window, width, height);
}

}  // namespace dusk
