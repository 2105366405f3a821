// The test's hand is the only mouse: pointer input that the test did not send is dropped.
#pragma once

#include <windows.h>

namespace kineloop::test {

// Sends mouse input as SendInput does, once the guard is in place.
UINT SendMouseInput(UINT count, INPUT* inputs);

}  // namespace kineloop::test
