// The settings dialog's zoom effect: the window system draws a frame moving between the recorded
// mouse point and the dialog; the dialog itself is neither moved nor resized.
#include "settings_dialog/zoom_win32.h"

#include <utility>

#include "settings_dialog/zoom.h"

namespace kineloop {

namespace {

void DrawWithWindowSystem(HWND window, int animation, const RECT& from, const RECT& to) {
    DrawAnimatedRects(window, animation, &from, &to);  // only draws; its result tells nothing
}

// A failed GetWindowRect leaves the empty rectangle at the screen's corner.
ZoomRect WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const ZoomRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

WindowZoom::WindowZoom(AnimatedRectsDrawer drawer)
    : drawer_(drawer ? std::move(drawer) : AnimatedRectsDrawer(DrawWithWindowSystem)) {}

void WindowZoom::RecordOrigin() {
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        cursor = {0, 0};
    SetOrigin(ZoomCoordinate(cursor.x), ZoomCoordinate(cursor.y));
}

void WindowZoom::Open(HWND window) const {
    const ZoomPath path = OpeningPath(WindowRectOf(window), originX_, originY_);
    drawer_(window, IDANI_CAPTION, ToRect(path.from), ToRect(path.to));
}

void WindowZoom::Close(HWND window) const {
    const ZoomPath path = ClosingPath(WindowRectOf(window), originX_, originY_);
    drawer_(window, IDANI_CAPTION, ToRect(path.from), ToRect(path.to));
}

}  // namespace kineloop
