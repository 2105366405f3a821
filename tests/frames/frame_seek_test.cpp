// Seeking to a key frame rather than decoding on: when it pays, and which frame a time is.
#include "video/frame_seek.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

TEST(FrameSeek, TimesTellFramesApartOnlyOnTheContainersOneDuration) {
    // 30000/1001 frames a second from a late start, as an edit list makes it.
    const FrameGrid grid = GridOfTimes(1001, 30000, {1000, 334667, 668333, 1002000});
    const struct {
        int64_t time;
        int32_t frame;  // -1: between frames, or before the first
    } times[] = {{1000, 0}, {334667, 1}, {100101000, 300}, {1000 + 166833, -1}, {-332667, -1}};
    for (const auto& t : times) {
        int32_t found = -1;
        EXPECT_EQ(FrameAtTime(grid, t.time, found), t.frame >= 0) << t.time;
        EXPECT_EQ(found, t.frame) << t.time;
    }
    EXPECT_EQ(TimeOfFrame(grid, 300), 100101000);
    // 30 a second: frame 100 starts at 33,333,333.3, and 33,333,333 would still show frame 99.
    EXPECT_EQ(TimeOfFrame(GridOfTimes(512, 15360, {0, 333333, 666667}), 100), 33333334);
    // Durations that vary, times off the duration, too few times: no seeking.
    for (const FrameGrid none :
         {GridOfTimes(0, 30000, {0, 333667}), GridOfTimes(1001, 0, {0, 333667}),
          GridOfTimes(1001, 30000, {0, 333667, 1000000}), GridOfTimes(1001, 30000, {0})})
        EXPECT_EQ(none.frameTime, 0);
}

TEST(FrameSeek, ASeekMustPassAKeyFrameFarEnoughAhead) {
    const std::vector<uint32_t> keys = {0, 90, 180, 270, 360};
    const struct {
        bool table;
        int32_t from, target;
        bool seek;
    } rows[] = {
        {true, 1, 300, true},    {true, 100, 179, false},  // a key frame between, or none
        {true, 265, 300, false}, {true, 0, 95, true},      // too few saved; from the start
        {false, 10, 18, true},   {false, 10, 17, false},   // every frame a key frame
        {true, 400, 300, false},                           // behind: the caller starts from 0
    };
    for (const auto& r : rows)
        EXPECT_EQ(WorthSeeking(r.table, keys, r.from, r.target), r.seek)
            << r.from << " to " << r.target;
    EXPECT_FALSE(WorthSeeking(true, {}, 0, 500)) << "a table that lists none";
}

}  // namespace
}  // namespace kineloop
