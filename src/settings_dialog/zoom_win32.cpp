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

AnimatedRectsDrawer& Drawer() {
    static AnimatedRectsDrawer drawer = DrawWithWindowSystem;
    return drawer;
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

void Animate(HWND window, const ZoomPath& path) {
    Drawer()(window, IDANI_CAPTION, ToRect(path.from), ToRect(path.to));
}

}  // namespace

void RecordZoomOrigin() {
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        cursor = {0, 0};
    ZoomOriginX = ZoomCoordinate(cursor.x);
    ZoomOriginY = ZoomCoordinate(cursor.y);
}

void ZoomOpen(HWND window) {
    Animate(window, OpeningPath(WindowRectOf(window), ZoomOriginX, ZoomOriginY));
}

void ZoomClose(HWND window) {
    Animate(window, ClosingPath(WindowRectOf(window), ZoomOriginX, ZoomOriginY));
}

AnimatedRectsDrawer ReplaceAnimatedRectsDrawer(AnimatedRectsDrawer drawer) {
    if (!drawer)
        drawer = DrawWithWindowSystem;
    return std::exchange(Drawer(), std::move(drawer));
}

}  // namespace kineloop
