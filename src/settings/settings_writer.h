// Writes the settings record to the settings file, every key in its fixed order.
#pragma once

#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace kineloop {

// Writes the eleven keys in order, stopping at the first failed write; returns whether every
// write succeeded.
bool WriteSettings(const SaverSettings& settings, SettingsStore& store);

}  // namespace kineloop
