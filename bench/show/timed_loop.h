// The show's loop without reading ahead, with a clock between its steps, to see where a frame's
// time goes.
#pragma once

#include <cstdint>

#include "show/show_session_win32.h"

namespace kineloop::bench {

// Seconds spent in each step over the frames shown; the names say which.
struct StepTimes {
    static constexpr int kMaxSteps = 8;
    const char* names[kMaxSteps] = {};
    double seconds[kMaxSteps] = {};
    int steps = 0;
    double samplingSeconds = 0;  // of the first step: the tile sampled from the decoder's buffer
    uint64_t frames = 0;
};

// Shows `frames` frames the way PlayFrames does, but without reading ahead, step by step with a
// clock between the steps and the scratch file's calls taken apart (PlayFrames itself is what the
// frame rates measure). The scratch file is opened once and kept, as the show keeps it.
void PlayFramesTimed(ShowSession& session, uint64_t frames, StepTimes& times);

}  // namespace kineloop::bench
