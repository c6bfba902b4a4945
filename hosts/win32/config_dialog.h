// The settings dialog on Windows: a fixed tool window with a tab control, realised from the
// Configuration form's controls. The window shows what the form holds, reads the user's changes
// back into the form before any of its handlers runs, and forwards every click, page change and
// preview tick to the form.
#pragma once

struct HWND__;

namespace dusk {

struct Program;
class Configuration;

// Creates the dialog for the form, shows it centred where the form's geometry says and starts
// its preview timer. Returns the window, or nullptr when it could not be created.
HWND__* CreateConfigurationDialog(Program& p, Configuration& form);

// Repaints the dialog's two preview boxes from the form's images (the form asks for it after
// every preview tick).
void RefreshConfigurationDialog(HWND__* dialog);

}  // namespace dusk
