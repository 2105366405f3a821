// Reaching a frame far ahead by seeking to a key frame instead of decoding every frame between,
// and knowing afterwards which frame each decoded sample is: the platform's seek lands only near
// the time asked for, so frames are told apart by their times.
#pragma once

#include <cstdint>
#include <vector>

namespace kineloop {

// Where frames lie in time: frame n at first + n * frameTime (100-nanosecond units).
struct FrameGrid {
    int64_t first = 0;
    double frameTime = 0;  // 0: times do not tell frames apart, so no seeking
};

// The grid of a stream whose container gives every sample `sampleDelta` in `timescale` units a
// second, checked against the times of its first samples (in their order); no grid (frameTime 0)
// when the container gives no single duration or the times do not fall on it.
FrameGrid GridOfTimes(uint32_t sampleDelta, uint32_t timescale, const std::vector<int64_t>& times);

// The frame whose time `time` is, within a quarter of a frame; false when it falls between frames.
bool FrameAtTime(const FrameGrid& grid, int64_t time, int32_t& frame);

// The first whole time unit within frame `frame`.
int64_t TimeOfFrame(const FrameGrid& grid, int32_t frame);

// Whether seeking to the last key frame at or before `target` saves decoding at least a few
// frames over reading on from frame `from`. `keyFrames` (sorted) lists the key frames where
// `keyTable`; without a table every frame is one.
bool WorthSeeking(bool keyTable, const std::vector<uint32_t>& keyFrames, int32_t from,
                  int32_t target);

}  // namespace kineloop
