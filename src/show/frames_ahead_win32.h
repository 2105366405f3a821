// The show's frames decoded and stretched on the video thread while the window thread takes the
// one before through the scratch file, onto the screen and through the pause. Two are read ahead
// at most, each into a picture of its own, so the video thread goes from one frame straight on to
// the next.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>

#include "scratch/frame_route_win32.h"
#include "video/frame_source.h"
#include "show/frame_pass.h"

namespace kineloop {

class FramesAhead {
  public:
    explicit FramesAhead(FrameSource& source) : source_(source) {}
    FramesAhead(const FramesAhead&) = delete;
    FramesAhead& operator=(const FramesAhead&) = delete;

    // Frame `number` stretched to `shape`: the one read ahead when it was asked for in time and
    // to the same shape, else read now. `following` are the frames asked for after it. The
    // frame is the caller's until Release.
    const StretchedFrame& Take(int32_t number, const TileShape& shape,
                               const FrameSequence& following);
    // The frame last taken is read no more: its picture takes a frame further ahead.
    void Release();

  private:
    static constexpr int kPictures = 2;
    struct Ahead {
        int32_t number;
        int picture;
    };
    // Reads ahead into every picture that is free, up to kPictures frames.
    void TopUp();
    bool Free(int picture) const;

    FrameSource& source_;
    // Shared with the reads ahead under way: a read given up on may still write its picture.
    std::array<std::shared_ptr<StretchedFrame>, kPictures> pictures_{
        std::make_shared<StretchedFrame>(), std::make_shared<StretchedFrame>()};
    std::deque<Ahead> ahead_;  // oldest first
    int taken_ = -1;           // the picture of the frame taken and not yet released
    TileShape shape_;
    std::unique_ptr<FrameSequence> following_;  // after the last frame read (ahead or not)
};

}  // namespace kineloop
