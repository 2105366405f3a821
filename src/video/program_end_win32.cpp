// The end of the program.
#include "video/program_end_win32.h"

#include <atomic>

#include <windows.h>

#include "video/open_video_win32.h"

namespace kineloop {

namespace {

// However the platform is stuck, the program is gone within this long of its end.
constexpr DWORD kEndAnywayMs = 1500;

DWORD WINAPI EndAnyway(void*) {
    Sleep(kEndAnywayMs);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

}  // namespace

void EndProgram() {
    // The end waits with some messages running: one of them ending the program again must not
    // start a second wait.
    static std::atomic<bool> ending{false};
    if (ending.exchange(true))
        TerminateProcess(GetCurrentProcess(), 0);
    // The orderly exit below can itself wait on a thread stuck in the platform.
    if (HANDLE watchdog = CreateThread(nullptr, 0, EndAnyway, nullptr, 0, nullptr))
        CloseHandle(watchdog);
    // The video's objects go before Media Foundation does, or the platform may crash on the way
    // out; a file the platform is still busy with does not hold the end up for long.
    if (!EndVideo(kEndVideoWaitMs))
        TerminateProcess(GetCurrentProcess(), 0);
    ExitProcess(0);
}

}  // namespace kineloop
