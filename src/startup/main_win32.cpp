// Entry point of Kineloop.scr.
#include <windows.h>

#include "startup/startup_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return kineloop::StartUp();
}
