// Reads the settings file into the settings record with its defaults and consistency rules.
#pragma once

#include <string>

#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace kineloop {

// `programFolder` is the fallback start folder of both file dialogs.
LoadedSettings LoadSettings(SettingsSource& store, const std::string& programFolder);

}  // namespace kineloop
