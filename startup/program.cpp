#include "startup/program.h"

#include "saver/previewscreen.h"
#include "saver/screensaver.h"
#include "settings_dialog/configuration.h"
#include "startup/starter.h"

namespace dusk {

Program::Program(Os& os_) : Stage(os_) {
  // Errors and the windows end the run through start-up's clean-up.
  cleanupAndEnd = [](System& p) { X_Cleanup_And_End(static_cast<Program&>(p)); };
}
Program::~Program() = default;

}  // namespace dusk
