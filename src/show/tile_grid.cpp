// The mosaic's geometry: how many tiles fit, where the centred grid starts, and where the next
// frame goes.
#include "show/tile_grid.h"

#include <optional>

#include "platform/numbers.h"

namespace kineloop {

namespace {

// Tiles across one side, and the margin before the first; a step that cannot be computed (a zero
// tile side, a result beyond 16 bits) leaves its value at 0.
void LayOutSide(int32_t displaySide, int16_t tileSide, int16_t& count, int16_t& start) {
    if (tileSide != 0)
        count = FitInto<int16_t>(displaySide / tileSide).value_or(0);
    const std::optional<int16_t> used = FitInto<int16_t>(int64_t{tileSide} * count);
    if (used)
        start = FitInto<int16_t>((int64_t{displaySide} - *used) / 2).value_or(0);
}

}  // namespace

TileGrid LayOutGrid(int32_t displayWidth, int32_t displayHeight, int16_t picWidth,
                    int16_t picHeight) {
    TileGrid grid;
    LayOutSide(displayWidth, picWidth, grid.GridColumns, grid.GridLeft);
    LayOutSide(displayHeight, picHeight, grid.GridRows, grid.GridTop);
    return grid;
}

TilePosition NextTile(TilePosition current, const TileGrid& grid, int16_t picWidth,
                      int16_t picHeight, int32_t displayWidth, int32_t displayHeight) {
    // 64-bit sums: a position far off the screen must not wrap around into it.
    if (int64_t{current.TileX} + 2 * int64_t{picWidth} <= displayWidth) {
        return {static_cast<int32_t>(current.TileX + int64_t{picWidth}), current.TileY};
    }
    if (int64_t{current.TileY} + 2 * int64_t{picHeight} > displayHeight) {
        return {grid.GridLeft, grid.GridTop};
    }
    return {grid.GridLeft, static_cast<int32_t>(current.TileY + int64_t{picHeight})};
}

}  // namespace kineloop
