// Seeking to a key frame rather than decoding on: when it pays, and how times say which frame a
// sample is.
#include "video/frame_seek.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

TEST(FrameSeek, TimesFallOnTheGridOfTheContainersOneDuration) {
    // 30000/1001 frames a second, starting late as an edit list makes it: 333,666.7 units a frame.
    const std::vector<int64_t> ntsc = {1000, 334667, 668333, 1002000};
    const FrameGrid grid = GridOfTimes(1001, 30000, ntsc);
    ASSERT_GT(grid.frameTime, 0);
    for (const auto& [time, frame] : {std::pair{int64_t{1000}, 0},
                                      {334667, 1},
                                      {TimeOfFrame(grid, 300), 300},
                                      {100101000, 300}}) {
        int32_t found = -1;
        EXPECT_TRUE(FrameAtTime(grid, time, found)) << time;
        EXPECT_EQ(found, frame) << time;
    }
    int32_t found = -1;
    EXPECT_FALSE(FrameAtTime(grid, 1000 + 166833, found)) << "half-way between two frames";
    EXPECT_FALSE(FrameAtTime(grid, 1000 - 333667, found)) << "a frame before the first";

    // No grid: durations that vary, times off the container's duration, too few times.
    EXPECT_EQ(GridOfTimes(0, 30000, ntsc).frameTime, 0);
    EXPECT_EQ(GridOfTimes(1001, 0, ntsc).frameTime, 0);
    EXPECT_EQ(GridOfTimes(1001, 30000, {0, 333667, 1000000}).frameTime, 0);
    EXPECT_EQ(GridOfTimes(1001, 30000, {0}).frameTime, 0);
}

TEST(FrameSeek, ASeekMustPassAKeyFrameFarEnoughAhead) {
    const std::vector<uint32_t> keys = {0, 90, 180, 270, 360};
    const struct {
        bool table;
        int32_t from, target;
        bool seek;
    } rows[] = {
        {true, 1, 300, true},     // key frame 270 lies between
        {true, 100, 179, false},  // none between: decoding on is all there is
        {true, 265, 300, false},  // 270 saves too few
        {true, 0, 95, true},      // back to the start, then on from 90
        {true, 0, 5, false},     {false, 10, 18, true},    // every frame a key frame
        {false, 10, 17, false},  {true, 400, 300, false},  // behind: the caller starts from 0
    };
    for (const auto& r : rows)
        EXPECT_EQ(WorthSeeking(r.table, keys, r.from, r.target), r.seek)
            << r.from << " to " << r.target;
    EXPECT_FALSE(WorthSeeking(true, {}, 0, 500)) << "a table that lists none";
}

}  // namespace
}  // namespace kineloop
