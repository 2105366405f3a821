// Writes the settings record to the settings file, every key in its fixed order.
#pragma once

#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace kineloop {

// Writes all eleven keys, going on past a failed write; returns whether every write succeeded.
bool WriteSettings(const SaverSettings& settings, SettingsStore& store);

}  // namespace kineloop
