// The process-wide state that start-up hands to the window of the mode.
#pragma once

#include <cstdint>
#include <string>

#include "startup/saver_settings.h"

namespace kineloop {

struct KineB {
    LoadedSettings settings;
    std::string argumentText;  // the command line after the program name (UTF-8)
    // What ShowCursor returned when start-up hid the cursor; 0 while it did not.
    int32_t CursorCount = 0;
    bool cursorHidden = false;  // whether start-up took the cursor (and so must give it back)
};

}  // namespace kineloop
