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
    ScreenRect window;             // expected, in screen coordinates
    std::vector<int32_t> columns;  // expected tile lefts, in the window's coordinates
    std::vector<int32_t> rows;     // expected tile tops
};

const ScreenRect kPrimary{0, 0, 1024, 768};

const DeskCase kDesks[] = {
    {"one monitor", {kPrimary}, kPrimary, {0, 0, 1024, 768}, {32, 352, 672}, {24, 264, 504}},
    {"a second monitor to the right",
     {kPrimary, {1024, 0, 2304, 1024}},
     kPrimary,
     {0, 0, 2304, 1024},
     {32, 352, 672},
     {24, 264, 504}},
    {"a second monitor left of and above the primary",
     {{-1280, -200, 0, 568}, kPrimary},
     kPrimary,
     {-1280, -200, 1024, 768},
     {1312, 1632, 1952},
     {224, 464, 704}},
    {"three monitors of different sizes",
     {{-1280, 56, 0, 1080}, {0, 0, 1920, 1080}, {1920, -300, 2720, 300}},
     {0, 0, 1920, 1080},
     {-1280, -300, 2720, 1080},
     {1280, 1600, 1920, 2240, 2560, 2880},
     {360, 600, 840, 1080}},
    // The monitor left of the primary is gone: the grid moves back to the window's corner.
    {"the left monitor removed",
     {kPrimary},
     kPrimary,
     {0, 0, 1024, 768},
     {32, 352, 672},
     {24, 264, 504}},
    {"no monitor list, an empty rectangle",
     {{5, 5, 5, 900}},
     kPrimary,
     {0, 0, 1024, 768},
     {32, 352, 672},
     {24, 264, 504}},
};

TEST(ScreenLayout, CoversEveryMonitorAndFillsTheGridOnThePrimaryOnly) {
    const int16_t picWidth = 320, picHeight = 240;
    for (const DeskCase& desk : kDesks) {
        SCOPED_TRACE(desk.name);
        const ShowLayout layout = LayOutShow(desk.monitors, desk.primary, picWidth, picHeight);
        EXPECT_EQ(layout.window, desk.window);
        for (const ScreenRect& monitor : desk.monitors) {
            if (monitor.Empty())
                continue;
            EXPECT_LE(layout.window.left, monitor.left);
            EXPECT_LE(layout.window.top, monitor.top);
            EXPECT_GE(layout.window.right, monitor.right);
            EXPECT_GE(layout.window.bottom, monitor.bottom);
        }
        // One round of the grid, in reading order, then back to the first tile.
        std::vector<TilePosition> expected;
        for (int32_t y : desk.rows)
            for (int32_t x : desk.columns)
                expected.push_back({x, y});
        expected.push_back(expected.front());
        std::vector<TilePosition> visited;
        TilePosition tile = layout.FirstTile();
        for (size_t i = 0; i < expected.size(); ++i) {
            visited.push_back(tile);
            tile = NextTileOn(layout.gridArea, layout.grid, tile, picWidth, picHeight);
        }
        EXPECT_EQ(visited, expected);
        // Every tile lies on the primary monitor.
        const ScreenRect& area = layout.gridArea;
        EXPECT_EQ(area.Width(), desk.primary.Width());
        EXPECT_EQ(area.Height(), desk.primary.Height());
        EXPECT_EQ(layout.window.left + area.left, desk.primary.left);
        EXPECT_EQ(layout.window.top + area.top, desk.primary.top);
        for (const TilePosition& t : visited) {
            EXPECT_GE(t.TileX, area.left);
            EXPECT_GE(t.TileY, area.top);
            EXPECT_LE(t.TileX + picWidth, area.right);
            EXPECT_LE(t.TileY + picHeight, area.bottom);
        }
    }
}

}  // namespace
}  // namespace kineloop
