// The settings mode's dialog.
#pragma once

#include "settings/saver_settings.h"

namespace kineloop {

// Shows the settings dialog modally and returns when it has closed.
void ShowSettingsDialog(LoadedSettings& settings);

}  // namespace kineloop
