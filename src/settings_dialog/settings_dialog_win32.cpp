// The settings mode's dialog.
#include "settings_dialog/settings_dialog_win32.h"

namespace kineloop {

// The dialog is not built yet: the settings mode ends after start-up's own steps.
void ShowSettingsDialog(LoadedSettings&) {}

}  // namespace kineloop
