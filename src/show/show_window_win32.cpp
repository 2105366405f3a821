// The show mode's full-screen window.
#include "show/show_window_win32.h"

namespace kineloop {

bool LoadShowWindow(KineB&) {
    return false;
}

}  // namespace kineloop
