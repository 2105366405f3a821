// The mosaic's geometry: how many tiles fit, where the centred grid starts, and where the next
// frame goes.
#pragma once

#include <cstdint>

namespace kineloop {

struct TileGrid {
    int16_t GridColumns = 0;
    int16_t GridRows = 0;
    int16_t GridLeft = 0;  // pixel position of the first tile, so that the grid is centred
    int16_t GridTop = 0;
};

struct TilePosition {
    int32_t TileX = 0;
    int32_t TileY = 0;
    bool operator==(const TilePosition& other) const {
        return TileX == other.TileX && TileY == other.TileY;
    }
};

// Lays out the grid of `picWidth` x `picHeight` tiles on a display of the given pixel size. A
// zero tile side gives no tiles in that direction, and the grid starts at the middle.
TileGrid LayOutGrid(int32_t displayWidth, int32_t displayHeight, int16_t picWidth,
                    int16_t picHeight);

// The tile after `current`: the next one to the right, else the first of the next row, else the
// first tile of the grid. A tile that ends exactly at the edge still counts as fitting.
TilePosition NextTile(TilePosition current, const TileGrid& grid, int16_t picWidth,
                      int16_t picHeight, int32_t displayWidth, int32_t displayHeight);

}  // namespace kineloop
