// The show mode's full-screen window.
#pragma once

#include "settings/saver_settings.h"

namespace kineloop {

// Loads the show window; returns whether it is now open (the program then lives on its events,
// until a click or key ends the show: the window then goes and quits the message loop).
// `cursorHidden`: start-up hid the cursor, and the show gives it back when it ends.
bool LoadShowWindow(const SaverSettings& settings, bool cursorHidden);

}  // namespace kineloop
