// The show's frames read and stretched ahead: whatever the show asks for next, the picture it
// gets is that frame's, at the size asked for now, as if every frame had been read when asked.
#include "show/frames_ahead_win32.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "frames/packed_dib.h"

namespace kineloop {
namespace {

// Frames 0-9 as 4 x 4 pictures of one grey each (frame 6 cannot be decoded). Reads ahead wait
// until they are taken, as they would on a busy video thread, and every read is logged.
class ScriptedSource final : public FrameSource {
  public:
    explicit ScriptedSource(bool readsAhead) : readsAhead_(readsAhead) {
        for (int n = 0; n < 10; ++n) {
            frames_.push_back(test::PackedDib(test::UncompressedHeader(4, 4, 24)));
            for (size_t i = kDibHeaderBytes; i < frames_.back().size(); ++i)
                frames_.back()[i] = static_cast<uint8_t>(20 * n);
        }
    }

    VideoLibrary Library() const override { return VideoLibrary::AviFile; }
    bool OpenedFully() const override { return true; }
    bool HasDecoder() const override { return true; }
    int32_t FirstFrame() const override { return 0; }
    int32_t FrameCount() const override { return 10; }
    int32_t FrameWidth() const override { return 4; }
    int32_t FrameHeight() const override { return 4; }
    double FramesPerSecond() const override { return 10; }
    size_t FrameBytes() const override { return frames_[0].size(); }
    bool Close() override { return false; }
    const std::wstring& Path() const override { return path_; }

    const void* ReadFrame(int32_t number) override {
        while (!ahead_.empty())
            RunOldest();
        reads_.push_back(number);
        return Frame(number);
    }
    bool ReadAhead(int32_t number, FrameWork work) override {
        if (!readsAhead_)
            return false;
        ahead_.emplace_back(number, std::move(work));
        return true;
    }
    bool TakeAhead(int32_t number) override {
        if (ahead_.empty() || ahead_.front().first != number)
            return false;
        RunOldest();
        return true;
    }

    // The frames read when asked for, not ahead.
    const std::vector<int32_t>& Reads() const { return reads_; }

  private:
    const void* Frame(int32_t number) const {
        return number == 6 ? nullptr : frames_[static_cast<size_t>(number)].data();
    }
    void RunOldest() {
        auto [number, work] = std::move(ahead_.front());
        ahead_.pop_front();
        DecodedFrame frame;
        frame.packed = Frame(number);
        frame.bytes = frame.packed ? FrameBytes() : 0;
        work(frame);
    }

    bool readsAhead_;
    std::vector<std::vector<uint8_t>> frames_;
    std::deque<std::pair<int32_t, FrameWork>> ahead_;
    std::vector<int32_t> reads_;
    std::wstring path_ = L"scripted";
};

struct Asked {
    int32_t number;
    int width;  // the tile's width and height
};

struct AheadCase {
    const char* what;
    bool readsAhead;
    std::vector<Asked> asked;
    std::vector<int32_t> reads;  // the frames read when asked for
};

TEST(FramesAhead, EveryFrameIsTheOneAskedForAtTheSizeAskedFor) {
    const AheadCase cases[] = {
        {"in order", true, {{0, 8}, {1, 8}, {2, 8}, {3, 8}}, {0}},
        {"a jump", true, {{0, 8}, {1, 8}, {5, 8}, {6, 8}, {7, 8}}, {0, 5}},
        {"the tile resized", true, {{0, 8}, {1, 8}, {2, 16}, {3, 16}}, {0, 2}},
        {"across the pass's end", true, {{8, 8}, {9, 8}, {0, 8}, {1, 8}}, {8}},
        {"a source that reads nothing ahead", false, {{0, 8}, {1, 8}, {2, 8}}, {0, 1, 2}},
    };
    test::TempFolder folder;
    ScratchPlaces places({folder / L"Dummy.bmp"});
    for (const AheadCase& c : cases) {
        ScriptedSource source(c.readsAhead);
        FramesAhead ahead(source);
        FrameRoute route(places);
        for (const Asked& asked : c.asked) {
            // The show's own order of frames from here on: the rest of a pass of step 1, then
            // pass after pass.
            FramePass pass(0, 10, 1);
            int32_t number = 0;
            while (pass.Next(number) && number != asked.number) {
            }
            const StretchedFrame& frame = ahead.Take(
                asked.number, {asked.width, asked.width, 1024, 768}, FrameSequence(pass, 0, 10, 1));
            const FrameRoute::Result result = route.Pass(frame);
            ahead.Release();
            if (asked.number == 6) {
                EXPECT_EQ(result, FrameRoute::Result::kRefused) << c.what;
                continue;
            }
            ASSERT_EQ(result, FrameRoute::Result::kReadBack)
                << c.what << ", frame " << asked.number;
            const Picture& picture = *route.LastPicture();
            EXPECT_EQ(picture.header.biWidth, asked.width) << c.what << ", frame " << asked.number;
            EXPECT_EQ(picture.bits.at(0), 20 * asked.number)
                << c.what << ", frame " << asked.number;
        }
        EXPECT_EQ(source.Reads(), c.reads) << c.what;
    }
}

}  // namespace
}  // namespace kineloop
