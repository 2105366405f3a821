// The settings dialog's zoom effect: the window system draws a frame moving between the recorded
// mouse point and the dialog; the dialog itself is neither moved nor resized.
#pragma once

#include <functional>

#include <windows.h>

namespace kineloop {

// Records the mouse position in ZoomOriginX and ZoomOriginY; both become 0 when it cannot be
// read. The settings dialog calls this while it loads, before ZoomOpen.
void RecordZoomOrigin();

// Animates from the recorded point to the window's frame.
void ZoomOpen(HWND window);
// Animates from the window's frame back to the recorded point.
void ZoomClose(HWND window);

// Draws one animation. The animation cannot be observed, so tests put their own drawer in place
// of DrawAnimatedRects; an empty drawer puts DrawAnimatedRects back. Returns the previous drawer.
using AnimatedRectsDrawer =
    std::function<void(HWND window, int animation, const RECT& from, const RECT& to)>;
AnimatedRectsDrawer ReplaceAnimatedRectsDrawer(AnimatedRectsDrawer drawer);

}  // namespace kineloop
