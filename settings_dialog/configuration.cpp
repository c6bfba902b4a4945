#include "settings_dialog/configuration.h"

#include "platform/labels.h"
#include "startup/starter.h"

namespace dusk {

Configuration::Configuration(Program& p) : p_(p) {}

void Configuration::Form_Load() {
  Guarded(p_, label::kConfigFormLoad, [&] {
    CenterForm(p_, Geometry);
    p_.os.ShowConfigurationWindow(*this);
  });
}

void Configuration::Command1_Click() { Form_Unload(); }

void Configuration::Form_Unload() { X_Cleanup_And_End(p_); }

}  // namespace dusk
