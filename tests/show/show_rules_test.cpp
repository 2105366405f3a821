// The mosaic's geometry and the frame order of a pass.
#include <vector>

#include <gtest/gtest.h>

#include "show/frame_pass.h"
#include "show/tile_grid.h"

namespace kineloop {
namespace {

std::vector<TilePosition> Visit(int tiles, int32_t width, int32_t height, int16_t picW,
                                int16_t picH) {
    const TileGrid grid = LayOutGrid(width, height, picW, picH);
    std::vector<TilePosition> visited;
    TilePosition tile{grid.GridLeft, grid.GridTop};
    for (int i = 0; i < tiles; ++i) {
        visited.push_back(tile);
        tile = NextTile(tile, grid, picW, picH, width, height);
    }
    return visited;
}

TEST(TileGrid, CentresThreeByThreeTilesOnA1024By768Screen) {
    const TileGrid grid = LayOutGrid(1024, 768, 320, 240);
    EXPECT_EQ(grid.GridColumns, 3);
    EXPECT_EQ(grid.GridRows, 3);
    EXPECT_EQ(grid.GridLeft, 32);
    EXPECT_EQ(grid.GridTop, 24);
    const std::vector<TilePosition> expected = {{32, 24},   {352, 24},  {672, 24}, {32, 264},
                                                {352, 264}, {672, 264}, {32, 504}, {352, 504},
                                                {672, 504}, {32, 24}};
    EXPECT_EQ(Visit(10, 1024, 768, 320, 240), expected);
}

TEST(TileGrid, UsesATileThatEndsExactlyAtTheEdge) {
    const std::vector<TilePosition> expected = {{0, 0}, {512, 0}, {0, 384}, {512, 384}, {0, 0}};
    EXPECT_EQ(Visit(5, 1024, 768, 512, 384), expected);
}

TEST(TileGrid, ATileLargerThanTheScreenStaysAtTheGridOrigin) {
    const TileGrid grid = LayOutGrid(1024, 768, 2000, 240);
    EXPECT_EQ(grid.GridColumns, 0);
    EXPECT_EQ(grid.GridLeft, 512);
    const std::vector<TilePosition> visited = Visit(4, 1024, 768, 2000, 240);
    EXPECT_EQ(visited[0], (TilePosition{512, 24}));
    EXPECT_EQ(visited[1], (TilePosition{512, 264}));
    EXPECT_EQ(visited[3], (TilePosition{512, 24}));
    EXPECT_EQ(Visit(3, 1024, 768, 2000, 2000), std::vector<TilePosition>(3, {512, 384}));
}

TEST(TileGrid, ZeroOrOddSizesNeitherDivideByZeroNorWrap) {
    const TileGrid zero = LayOutGrid(1024, 768, 0, 0);
    EXPECT_EQ(zero.GridColumns, 0);
    EXPECT_EQ(zero.GridLeft, 512);
    EXPECT_EQ(zero.GridTop, 384);
    const TileGrid stretched = LayOutGrid(1024, 768, 320, 200);
    EXPECT_EQ(stretched.GridTop, 84);
    const TileGrid odd = LayOutGrid(1023, 767, 2, 2);
    EXPECT_EQ(odd.GridColumns, 511);
    EXPECT_EQ(odd.GridLeft, 0);
    // Tiles of the largest size never push the position past 32 bits.
    TilePosition tile{INT32_MAX - 10, 0};
    tile = NextTile(tile, LayOutGrid(1024, 768, 32767, 32767), 32767, 32767, 1024, 768);
    EXPECT_EQ(tile.TileX, 512);
}

std::vector<int32_t> Frames(int32_t start, int32_t length, int16_t step, size_t most = 20) {
    FramePass pass(start, length, step);
    std::vector<int32_t> frames;
    int32_t n = 0;
    while (frames.size() < most && pass.Next(n))
        frames.push_back(n);
    return frames;
}

TEST(FramePass, VisitsTheStreamByTheStep) {
    EXPECT_EQ(Frames(0, 10, 1), (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Frames(0, 10, 3), (std::vector<int32_t>{0, 3, 6, 9}));
    EXPECT_EQ(Frames(5, 3, 1), (std::vector<int32_t>{5, 6, 7}));
    EXPECT_EQ(Frames(0, 1, 7), (std::vector<int32_t>{0}));
    EXPECT_EQ(Frames(0, 10, 0, 5), (std::vector<int32_t>(5, 0)));
}

TEST(FramePass, EmptyAndBackwardPassesEndAtOnce) {
    EXPECT_TRUE(Frames(0, 0, 1).empty());
    EXPECT_TRUE(Frames(0, 10, -1).empty());
    EXPECT_EQ(Frames(4, 1, -2), (std::vector<int32_t>{4}));
    // A pass whose next number would leave 32 bits is over instead of wrapping.
    EXPECT_EQ(Frames(INT32_MAX - 1, 2, 32767), (std::vector<int32_t>{INT32_MAX - 1}));
}

// The frame the show reads ahead while it handles one is the one it asks for next: within a
// pass, and at a pass's end the first of the next.
TEST(FramePass, TheSequenceGoesOnWithTheFrameAskedForNext) {
    struct Case {
        int32_t start, length;
        int16_t step;
        std::vector<int32_t> after;  // the frame after each of the first frames asked for
    };
    const Case cases[] = {
        {0, 10, 3, {3, 6, 9, 0, 3, 6}},
        {5, 3, 1, {6, 7, 5, 6, 7, 5}},
        {0, 1, 7, {0, 0, 0}},
        {0, 10, 0, {0, 0, 0}},
        {4, 1, -2, {4, 4}},
        {INT32_MAX - 1, 2, 32767, {INT32_MAX - 1, INT32_MAX - 1}},
    };
    for (const Case& c : cases) {
        FramePass pass(c.start, c.length, c.step);
        std::vector<int32_t> after;
        int32_t number = 0, next = 0;
        while (after.size() < c.after.size()) {
            if (!pass.Next(number)) {  // the loop's next pass
                pass = FramePass(c.start, c.length, c.step);
                ASSERT_TRUE(pass.Next(number));
            }
            ASSERT_TRUE(FrameSequence(pass, c.start, c.length, c.step).Next(next));
            after.push_back(next);
        }
        EXPECT_EQ(after, c.after) << c.start << " " << c.length << " " << c.step;
    }
    // Passes that read nothing have nothing to read ahead.
    int32_t next = 0;
    EXPECT_FALSE(FrameSequence(FramePass(0, 0, 1), 0, 0, 1).Next(next));
    EXPECT_FALSE(FrameSequence(FramePass(0, 10, -1), 0, 10, -1).Next(next));
}

}  // namespace
}  // namespace kineloop
