// Letting the window system run inside a long-running loop of the user-interface thread.
#pragma once

#include <windows.h>

namespace kineloop {

// Processes every pending message of this thread.
void PumpPendingMessages();

// Processes the pending painting, timer, posted and sent messages of this thread; keyboard and
// mouse input stay queued for later.
void PumpPendingMessagesExceptInput();

// Pauses `milliseconds` while processing messages as they arrive, so that input is answered
// at once even in the middle of a pause. With 0 it only processes what is pending.
void PauseWithMessages(DWORD milliseconds);

// As PauseWithMessages, but returns as soon as a message handled meanwhile has cleared
// `keepGoing`: an end asked for in the middle of a long pause does not wait for its rest.
void PauseWhile(const bool& keepGoing, DWORD milliseconds);

}  // namespace kineloop
