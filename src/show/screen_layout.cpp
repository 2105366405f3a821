// Where the show sits on a desk of one or more monitors: the window covers them all, and the
// mosaic grid is laid out on the primary monitor alone.
#include "show/screen_layout.h"

#include <algorithm>

namespace kineloop {

namespace {

ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

int32_t Shifted(int64_t position, int64_t by) {
    return static_cast<int32_t>(position + by);
}

}  // namespace

TilePosition ShowLayout::FirstTile() const {
    return {Shifted(gridArea.left, grid.GridLeft), Shifted(gridArea.top, grid.GridTop)};
}

ShowLayout LayOutShow(const std::vector<ScreenRect>& monitors, const ScreenRect& primary,
                      int16_t picWidth, int16_t picHeight) {
    ShowLayout layout;
    layout.window = primary;
    for (const ScreenRect& monitor : monitors) {
        if (!monitor.Empty())
            layout.window = Union(layout.window, monitor);
    }
    const ScreenRect& window = layout.window;
    layout.gridArea = {primary.left - window.left, primary.top - window.top,
                       primary.right - window.left, primary.bottom - window.top};
    layout.grid = LayOutGrid(primary.Width(), primary.Height(), picWidth, picHeight);
    return layout;
}

TilePosition NextTileOn(const ScreenRect& area, const TileGrid& grid, TilePosition current,
                        int16_t picWidth, int16_t picHeight) {
    // The grid's own rule counts from the primary monitor's corner.
    const TilePosition onPrimary{Shifted(current.TileX, -int64_t{area.left}),
                                 Shifted(current.TileY, -int64_t{area.top})};
    const TilePosition next =
        NextTile(onPrimary, grid, picWidth, picHeight, area.Width(), area.Height());
    return {Shifted(next.TileX, area.left), Shifted(next.TileY, area.top)};
}

}  // namespace kineloop
