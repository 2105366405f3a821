// Frames far apart in an H.264 file with key frames and B-frames, read through the real Media
// Foundation by seeking: each is exactly the frame asked for, going on, jumping ahead and back.
#include "video/media_foundation_reader_win32.h"

#include <gtest/gtest.h>

#include "frames/frames_test_support.h"
#include "video/open_video_win32.h"
#include "video/video_thread_win32.h"

namespace kineloop {
namespace {

using test::MediaFile;
using test_media::FrameColour;

TEST(MediaFoundationReader, FramesReachedBySeekingAreTheFramesAskedFor) {
    // Beside key frames, just before and after them, back to the start, and the last.
    const int32_t order[] = {0, 1, 57, 60, 59, 99, 100, 13, 119, 118, 40, 0, 81};
    std::vector<std::string> wrong;
    int32_t count = 0;
    ASSERT_TRUE(RunOnVideoThread(
        [&] {
            MediaFoundationReader reader;
            reader.Open(MediaFile(test_media::kH264KeyFrames));
            count = reader.FrameCount();
            for (int32_t n : order) {
                const void* frame = reader.ReadFrame(n);
                if (!frame || test::WrongPixels(frame, FrameColour(n), false, 40) != 0)
                    wrong.push_back(std::to_string(n) + (frame ? " wrong" : " missing"));
            }
            reader.Close();
        },
        WaitStyle::AllMessages, kOpenLimitMs));
    EXPECT_EQ(count, 120);
    EXPECT_TRUE(wrong.empty()) << ::testing::PrintToString(wrong);
}

}  // namespace
}  // namespace kineloop
