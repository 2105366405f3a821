// The video thread's watch on its work: only a thread that shows no sign of life for the limit is
// given up on, however long its work waited in the queue or went on making progress.
#include "video/video_thread_win32.h"

#include <cstdio>

#include <gtest/gtest.h>

namespace kineloop {
namespace {

constexpr DWORD kLimitMs = 300;

TEST(VideoThread, OnlyWorkThatShowsNoSignOfLifeForTheLimitIsStuck) {
    // Two pieces queued at once, each well within the limit: the second's wait in the queue does
    // not count against it.
    const VideoTicket first = PostToVideoThread([] { Sleep(2 * kLimitMs / 3); });
    const VideoTicket second = PostToVideoThread([] { Sleep(2 * kLimitMs / 3); });
    EXPECT_TRUE(WaitForVideoWork(second, WaitStyle::AllMessages, kLimitMs));
    EXPECT_TRUE(WaitForVideoWork(first, WaitStyle::AllMessages, kLimitMs));

    // Long work that keeps reporting progress.
    EXPECT_TRUE(RunOnVideoThread(
        [] {
            for (int step = 0; step < 5; ++step) {
                Sleep(kLimitMs / 2);
                ReportVideoProgress();
            }
        },
        WaitStyle::AllMessages, kLimitMs));
    EXPECT_FALSE(VideoThreadGaveUp());

    // Work that goes quiet past the limit is given up on; the next goes to a new thread.
    EXPECT_FALSE(RunOnVideoThread([] { Sleep(3 * kLimitMs); }, WaitStyle::AllMessages, kLimitMs));
    EXPECT_TRUE(VideoThreadGaveUp());
    EXPECT_TRUE(VideoThreadStillStuck());
    bool ran = false;
    EXPECT_TRUE(RunOnVideoThread([&ran] { ran = true; }, WaitStyle::AllMessages, kLimitMs));
    EXPECT_TRUE(ran);
    // The work given up on comes back in the end: it was slow, not a hang.
    for (int wait = 0; wait < 100 && VideoThreadStillStuck(); ++wait)
        Sleep(kLimitMs / 10);
    EXPECT_FALSE(VideoThreadStillStuck());
    EXPECT_TRUE(VideoThreadGaveUp());
}

// A process that ends beside a thread it gave up on must not run the platform's own ending.
class EndWithoutThePlatform : public ::testing::Environment {
  public:
    void TearDown() override {
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), ::testing::UnitTest::GetInstance()->Passed() ? 0 : 1);
    }
};
const auto* const g_end = ::testing::AddGlobalTestEnvironment(new EndWithoutThePlatform);

}  // namespace
}  // namespace kineloop
