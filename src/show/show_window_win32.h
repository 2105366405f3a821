// The show mode's full-screen window.
#pragma once

#include "startup/kine_b.h"

namespace kineloop {

// Loads the show window; returns whether it is now open (the program then lives on its events).
bool LoadShowWindow(KineB& state);

}  // namespace kineloop
