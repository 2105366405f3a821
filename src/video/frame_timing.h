// The frame rate and frame count of a stream the platform times rather than numbers (Media
// Foundation), from what the file states and what its first frames show.
#pragma once

#include <cstdint>

namespace kineloop {

struct FrameRate {
    uint32_t numerator = 0;
    uint32_t denominator = 0;  // 0: unknown
};

// The stream's frame rate: the one the file states, unless the time from its first frame to the
// second (`frameTime`, in 100-nanosecond units; 0 when unknown) says otherwise by more than 5%:
// containers that store no rate are given a made-up one.
FrameRate SettledFrameRate(FrameRate stated, int64_t frameTime);

// The number of frames of a stream that lasts `duration` (in 100-nanosecond units) at
// `numerator` / `denominator` frames a second, to the nearest frame; 0 when the rate is unknown,
// at most INT32_MAX.
int32_t FramesInDuration(uint64_t duration, uint32_t numerator, uint32_t denominator);

}  // namespace kineloop
