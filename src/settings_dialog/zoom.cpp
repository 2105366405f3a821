// The zoom effect's rules: the rectangles between the mouse point recorded when the settings
// dialog loads and the dialog's frame.
#include "settings_dialog/zoom.h"

#include "platform/numbers.h"

namespace kineloop {

namespace {

// The empty rectangle at one point, where the animations start and end.
ZoomRect PointRect(int16_t x, int16_t y) {
    return {x, y, x, y};
}

}  // namespace

ZoomPath OpeningPath(const ZoomRect& window, int16_t originX, int16_t originY) {
    return {PointRect(originX, originY), window};
}

ZoomPath ClosingPath(const ZoomRect& window, int16_t originX, int16_t originY) {
    return {window, PointRect(originX, originY)};
}

int16_t ZoomCoordinate(int32_t pixels) {
    return Fits<int16_t>(pixels) ? static_cast<int16_t>(pixels) : 0;
}

}  // namespace kineloop
