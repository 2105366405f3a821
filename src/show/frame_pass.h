// One pass of the show through the video stream: the frame numbers it visits, by the frame step.
#pragma once

#include <cstdint>

namespace kineloop {

class FramePass {
  public:
    // From `streamStart` towards the stream's last frame in steps of `step` (taken once, at the
    // start of the pass). A step of 0 never leaves the first frame; a negative step only goes on
    // while the number has not fallen below the last frame.
    FramePass(int32_t streamStart, int32_t streamLength, int16_t step);

    // The next frame number of the pass, or false when the pass is over.
    bool Next(int32_t& number);

  private:
    int64_t next_;
    int64_t last_;
    int32_t step_;
};

// The frames the show asks for after the one `pass` gave last: the rest of the pass, then pass
// after pass through the same stream by the same step, for as long as a pass reads something.
class FrameSequence {
  public:
    FrameSequence(const FramePass& pass, int32_t streamStart, int32_t streamLength, int16_t step);

    // The next frame number, or false when there is none (a new pass that reads nothing).
    bool Next(int32_t& number);

  private:
    FramePass pass_;
    int32_t streamStart_;
    int32_t streamLength_;
    int16_t step_;
};

}  // namespace kineloop
