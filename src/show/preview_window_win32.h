// The preview mode's window, placed inside the host's preview box.
#pragma once

#include <cstdint>

#include <windows.h>

namespace kineloop {

struct PreviewBox {
    HWND host;
    int16_t widthTwips;  // the box's size in twips, 0 when unknown
    int16_t heightTwips;
    int32_t twipsPerPixelX;
    int32_t twipsPerPixelY;
};

// Loads the preview window into the host's box; returns whether it is now open.
bool LoadPreviewWindow(const PreviewBox& box);

}  // namespace kineloop
