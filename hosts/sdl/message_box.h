// A message box drawn by the saver itself, for displays where SDL's own box cannot be shown (an X
// server without core fonts, as under XWayland or Xvfb): the text wrapped in the labels' typeface
// and an OK button; Return, Escape, Space or a click on OK close it.
#pragma once

#include <atomic>
#include <string>

namespace dusk::sdl {

// Shows the box and waits until it is dismissed (or `stop` becomes non-zero). False when no
// window could be opened.
bool ShowOwnMessageBox(const std::string& title, const std::string& text, const std::atomic<int>& stop);

}  // namespace dusk::sdl
