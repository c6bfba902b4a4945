// One running instance of the program: the global state of every module, owned in one place and
// created by the host, so that each test can start from a fresh one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "scene/stage.h"

namespace dusk {

class ScreenSaver;
class PreviewScreen;
class Configuration;

struct Program;

// The windows of the run mode as the hosts see them: frames out, timers and input in, each
// handed to the window of the mode that is running.
class ProgramWindows : public RunWindows {
 public:
  explicit ProgramWindows(Program& p) : p_(p) {}
  size_t WindowCount() override;
  const WindowFrame& Frame(size_t window) override;
  std::vector<const TimerControl*> Timers() override;
  void TimerFired(size_t timer) override;
  void Input(WindowInput kind, int16_t code, int16_t shift) override;
  void DisplayPower(bool on) override;
  void Resized(size_t window, int32_t width, int32_t height) override;

 private:
  Program& p_;
};

struct Program : Stage {
  explicit Program(Os& os);
  ~Program();

  // Starter
  std::string CmdLine, CmdSwitch;
  uint64_t DisplayPropsWnd = 0;
  Int32 PasswordParent;

  // The window of the run mode, once loaded
  std::unique_ptr<ScreenSaver> screenSaver;
  std::unique_ptr<PreviewScreen> previewScreen;
  std::unique_ptr<Configuration> configuration;

  ProgramWindows runWindows{*this};
};

}  // namespace dusk
