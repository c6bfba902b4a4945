// The settings dialog: loads the settings into its controls, previews creatures, auditions songs
// and effects, and writes everything back on Apply.
#pragma once

#include "platform/system.h"
#include "startup/program.h"

namespace dusk {

class Configuration {
 public:
  explicit Configuration(Program& p);

  FormGeometry Geometry{0, 0, 7680, 4200};  // client area in twips

  void Form_Load();
  [[noreturn]] void Command1_Click();  // Cancel
  [[noreturn]] void Form_Unload();

 private:
  Program& p_;
};

}  // namespace dusk
