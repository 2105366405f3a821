// The settings mode's dialog.
#pragma once

#include "startup/kine_b.h"

namespace kineloop {

// Shows the settings dialog modally and returns when it has closed.
void ShowSettingsDialog(KineB& state);

}  // namespace kineloop
