// The show's loop as it ran before frames were stretched ahead of the scratch file, kept in the
// benchmark only so that one run prints both: the whole frame copied, written to Dummy.bmp, loaded
// back, stretched into Pic_S, placed, the file deleted, then the pause.
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
    uint64_t frames = 0;
};

// Shows `frames` frames of the session's video the previous way, with the session's pause;
// `times`, when given, collects the time of each step.
void PlayFramesPrevious(ShowSession& session, uint64_t frames, StepTimes* times = nullptr);

// Shows `frames` frames the way PlayFrames does, but without reading ahead, step by step with a
// clock between the steps and the scratch file's calls taken apart (PlayFrames itself is what the
// frame rates measure). `createOver`: the scratch file made with CREATE_ALWAYS, as the loop did
// before it read ahead, instead of OPEN_ALWAYS.
void PlayFramesTimed(ShowSession& session, uint64_t frames, StepTimes& times,
                     bool createOver = false);

}  // namespace kineloop::bench
