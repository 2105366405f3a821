// The end of the program.
#include "video/program_end_win32.h"

#include <windows.h>

#include "video/open_video_win32.h"

namespace kineloop {

void EndProgram() {
    // The video's objects go before Media Foundation does, or the platform may crash on the way
    // out; a file the platform is still busy with does not hold the end up for long.
    if (!EndVideo(kEndVideoWaitMs))
        TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);
}

}  // namespace kineloop
