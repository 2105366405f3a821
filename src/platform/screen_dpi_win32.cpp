#include "platform/screen_dpi_win32.h"

#include <windows.h>

#include "platform/handles_win32.h"

namespace kineloop {

int ScreenDotsPerInch(bool vertical) {
    constexpr int kStandard = 96;
    WindowDc screen(nullptr);
    if (!screen.Get())
        return kStandard;
    const int dpi = GetDeviceCaps(screen.Get(), vertical ? LOGPIXELSY : LOGPIXELSX);
    return dpi > 0 ? dpi : kStandard;
}

}  // namespace kineloop
