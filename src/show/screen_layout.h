// Where the show sits on a desk of one or more monitors: the window covers them all, and the
// mosaic grid is laid out on the primary monitor alone.
#pragma once

#include <cstdint>
#include <vector>

#include "show/tile_grid.h"

namespace kineloop {

// A rectangle in pixels, right and bottom excluded (as the system gives monitors).
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

struct ShowLayout {
    ScreenRect window;    // in screen coordinates: every monitor lies inside it
    ScreenRect gridArea;  // the primary monitor, in the window's own coordinates
    TileGrid grid;        // laid out on the primary monitor, relative to its corner

    // The first tile of the grid, in the window's coordinates.
    TilePosition FirstTile() const;
};

// The show's window and grid for these monitors (screen coordinates, which are negative for a
// monitor left of or above the primary). The primary is covered even when the list misses it;
// empty rectangles are passed over.
ShowLayout LayOutShow(const std::vector<ScreenRect>& monitors, const ScreenRect& primary,
                      int16_t picWidth, int16_t picHeight);

// The tile after `current`, by the grid's own rule inside `area` (both in the window's
// coordinates; the grid is laid out relative to the area's corner).
TilePosition NextTileOn(const ScreenRect& area, const TileGrid& grid, TilePosition current,
                        int16_t picWidth, int16_t picHeight);

}  // namespace kineloop
