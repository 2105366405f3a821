// The end of the program, from start-up or from a show that cannot wait for its playback loop.
#pragma once

namespace kineloop {

// Ends the program at once: no window's close handling runs after it. The video thread, when a
// video was opened, is shut down first, and one stuck in the platform is not waited for.
[[noreturn]] void EndProgram();

}  // namespace kineloop
