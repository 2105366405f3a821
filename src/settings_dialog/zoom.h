// The zoom effect's rules: the rectangles between the mouse point recorded when the settings
// dialog loads and the dialog's frame.
#pragma once

#include <cstdint>

namespace kineloop {

// A rectangle in screen pixels, in the window system's order.
struct ZoomRect {
    int32_t left, top, right, bottom;
};

// One animation: a frame that moves from `from` to `to`.
struct ZoomPath {
    ZoomRect from, to;
};

// Opening grows from the point to the window; closing shrinks the window back to the point.
ZoomPath OpeningPath(const ZoomRect& window, int16_t originX, int16_t originY);
ZoomPath ClosingPath(const ZoomRect& window, int16_t originX, int16_t originY);

// A mouse coordinate as the origin keeps it: 0 when it does not fit 16 bits.
int16_t ZoomCoordinate(int32_t pixels);

}  // namespace kineloop
