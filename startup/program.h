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
};

}  // namespace dusk
