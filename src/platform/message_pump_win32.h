// Letting the window system run inside a long-running loop of the user-interface thread.
#pragma once

#include <windows.h>

namespace kineloop {

// Processes every pending message of this thread.
void PumpPendingMessages();

// Pauses `milliseconds` while processing messages as they arrive, so that input is answered
// at once even in the middle of a pause. With 0 it only processes what is pending.
void PauseWithMessages(DWORD milliseconds);

}  // namespace kineloop
