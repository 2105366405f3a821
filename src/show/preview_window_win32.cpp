// The preview mode's window, placed inside the host's preview box.
#include "show/preview_window_win32.h"

namespace kineloop {

bool LoadPreviewWindow(const PreviewBox&) {
    return false;
}

}  // namespace kineloop
