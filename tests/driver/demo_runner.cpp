// Runs the demo on a virtual display: starts the screen saver, lets it play for a few seconds,
// saves a screenshot, then ends the show with a key press as a user would.
// Usage: kineloop_demo_runner SCREEN_SAVER SCREENSHOT.bmp [SECONDS]
#include <cstdio>
#include <string>

#include <windows.h>

#include "driver/driver.h"

int wmain(int argc, wchar_t** argv) {
    using namespace kineloop::test;
    if (argc < 3) {
        std::fprintf(stderr, "usage: kineloop_demo_runner SCREEN_SAVER SCREENSHOT.bmp [SECONDS]\n");
        return 2;
    }
    const DWORD seconds = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 6;
    SaverProcess saver(argv[1], L"/s");
    if (!saver.Started() || !WaitForTopWindow(saver.Id(), L"Kine_Main")) {
        std::fprintf(stderr, "demo: the show did not start\n");
        return 1;
    }
    Sleep(seconds * 1000);  // a demo, not a test: let the mosaic grow
    const bool saved = SaveScreenshot(argv[2]);
    PressKey(VK_SPACE);
    const bool ended = saver.WaitForExit(10000);
    std::printf("demo: screenshot %s, show %s\n", saved ? "saved" : "NOT saved",
                ended ? "ended by a key press" : "did NOT end");
    return saved && ended ? 0 : 1;
}
