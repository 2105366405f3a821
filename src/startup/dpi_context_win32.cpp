// A window laid out in 96-DPI pixels, made inside a DPI-unaware scope so that Windows scales it
// whole on a high-DPI screen while the rest of the program draws in real pixels.
#include "startup/dpi_context_win32.h"

namespace kineloop {

DpiUnawareScope::DpiUnawareScope() {
    // Looked up at run time: the function came with Windows 10 (1607), the GDI-scaled context
    // with Windows 10 (1809); older systems refuse the unknown value.
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32) {
        setContext_ = reinterpret_cast<SetContextFunction>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    }
    if (!setContext_)
        return;
    previous_ = setContext_(DPI_AWARENESS_CONTEXT_UNAWARE_GDISCALED);
    if (!previous_)
        previous_ = setContext_(DPI_AWARENESS_CONTEXT_UNAWARE);
}

DpiUnawareScope::~DpiUnawareScope() {
    if (setContext_ && previous_)
        setContext_(previous_);
}

}  // namespace kineloop
