// A window laid out in 96-DPI pixels, made inside a DPI-unaware scope so that Windows scales it
// whole on a high-DPI screen while the rest of the program draws in real pixels.
#pragma once

#include <windows.h>

namespace kineloop {

// While it lives, windows this thread creates are DPI-unaware: GDI-scaled (sharp text) where the
// system has that, else plainly unaware. Systems without per-thread DPI contexts are left as they
// are. The thread's earlier context comes back when the scope ends.
class DpiUnawareScope {
  public:
    DpiUnawareScope();
    ~DpiUnawareScope();
    DpiUnawareScope(const DpiUnawareScope&) = delete;
    DpiUnawareScope& operator=(const DpiUnawareScope&) = delete;

  private:
    using SetContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    SetContextFunction setContext_ = nullptr;
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

}  // namespace kineloop
