// The program's entry procedure: single-instance test, mode dispatch, the window of the mode.
#pragma once

namespace kineloop {

// Runs the whole program and returns its exit code.
int StartUp();

}  // namespace kineloop
