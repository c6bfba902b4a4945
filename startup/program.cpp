#include "startup/program.h"

#include "saver/previewscreen.h"
#include "saver/screensaver.h"
#include "settings_dialog/configuration.h"

namespace dusk {

Program::Program(Os& os_) : os(os_) {}
Program::~Program() = default;

}  // namespace dusk
