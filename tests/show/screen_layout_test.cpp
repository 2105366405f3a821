// The show on a desk of several monitors: what the window covers, and where the grid's tiles go
// on the primary monitor.
#include <vector>

#include <gtest/gtest.h>

#include "show/screen_layout.h"

namespace kineloop {
namespace {

struct DeskCase {
    const char* name;
    std::vector<ScreenRect> monitors;
    ScreenRect primary;
    ScreenRect window;  // in screen coordinates
    struct {
        int32_t left, top;  // of the first tile, in the window's coordinates
        int columns, rows;  // of 320 x 240 tiles
    } grid;
};

const ScreenRect kSmall{0, 0, 1024, 768}, kWide{0, 0, 1920, 1080};

// Layouts are made afresh from the monitors of the moment, so a removed monitor is a desk
// without it: the grid goes back to the window's corner.
const DeskCase kDesks[] = {
    {"one, or the left removed", {kSmall}, kSmall, kSmall, {32, 24, 3, 3}},
    {"right", {kSmall, {1024, 0, 2304, 1024}}, kSmall, {0, 0, 2304, 1024}, {32, 24, 3, 3}},
    {"left, above",
     {{-1280, -200, 0, 568}, kSmall},
     kSmall,
     {-1280, -200, 1024, 768},
     {1312, 224, 3, 3}},
    {"three sizes",
     {{-1280, 56, 0, 1080}, kWide, {1920, -300, 2720, 300}},
     kWide,
     {-1280, -300, 2720, 1080},
     {1280, 360, 6, 4}},
    {"an empty rectangle, no list", {{5, 5, 5, 900}}, kSmall, kSmall, {32, 24, 3, 3}},
};

TEST(ScreenLayout, CoversEveryMonitorAndFillsTheGridOnThePrimaryOnly) {
    for (const DeskCase& desk : kDesks) {
        SCOPED_TRACE(desk.name);
        const ShowLayout layout = LayOutShow(desk.monitors, desk.primary, 320, 240);
        EXPECT_EQ(layout.window, desk.window);
        // One round of the grid in reading order, then back to the first tile.
        std::vector<TilePosition> expected, visited;
        for (int row = 0; row < desk.grid.rows; ++row)
            for (int column = 0; column < desk.grid.columns; ++column)
                expected.push_back({desk.grid.left + 320 * column, desk.grid.top + 240 * row});
        expected.push_back(expected.front());
        TilePosition tile = layout.FirstTile();
        for (size_t i = 0; i < expected.size(); ++i) {
            visited.push_back(tile);
            tile = NextTileOn(layout.gridArea, layout.grid, tile, 320, 240);
        }
        EXPECT_EQ(visited, expected);
    }
}

}  // namespace
}  // namespace kineloop
