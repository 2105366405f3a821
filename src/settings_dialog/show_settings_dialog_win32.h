// The settings mode's dialog, shown modally: the entry start-up calls.
#pragma once

#include <windows.h>

#include "settings/saver_settings.h"

namespace kineloop {

// Shows the settings dialog modally, owned by `owner` when that is a window, and returns when it
// has closed. The choices made in it are kept in `settings`.
void ShowSettingsDialog(LoadedSettings& settings, HWND owner = nullptr);

}  // namespace kineloop
