// One pass of the show through the video stream: the frame numbers it visits, by the frame step.
#include "show/frame_pass.h"

namespace kineloop {

FramePass::FramePass(int32_t streamStart, int32_t streamLength, int16_t step)
    : next_(streamStart), last_(int64_t{streamStart} + streamLength - 1), step_(step) {}

bool FramePass::Next(int32_t& number) {
    const bool inPass = step_ >= 0 ? next_ <= last_ : next_ >= last_;
    // Frame numbers are 32-bit: a pass whose next number would not fit is over.
    if (!inPass || next_ < INT32_MIN || next_ > INT32_MAX)
        return false;
    number = static_cast<int32_t>(next_);
    next_ += step_;
    return true;
}

FrameSequence::FrameSequence(const FramePass& pass, int32_t streamStart, int32_t streamLength,
                             int16_t step)
    : pass_(pass), streamStart_(streamStart), streamLength_(streamLength), step_(step) {}

bool FrameSequence::Next(int32_t& number) {
    if (pass_.Next(number))
        return true;
    pass_ = FramePass(streamStart_, streamLength_, step_);
    return pass_.Next(number);
}

}  // namespace kineloop
