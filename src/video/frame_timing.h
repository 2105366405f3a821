// The frame rate and frame count of a stream the platform times rather than numbers (Media
// Foundation), from what the file states and what its first frames show.
#pragma once

#include <cstdint>
#include <vector>

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

// The middle one of the gaps between the sample times read from the stream's start (100 ns
// units, in their order), so that one odd gap, as phones make at the start, decides nothing; 0
// when no gap is positive.
int64_t MedianFrameTime(const std::vector<int64_t>& times);

// What a stream's frame count is worked out from; each field 0 where it is not known.
struct FrameCountClues {
    int32_t samplesToEnd = -1;    // every sample was read at the open: how many there were
    uint32_t storedSamples = 0;   // the container's own count of the video's samples
    uint64_t trackDuration = 0;   // the video track's own duration, in `trackTimescale` units
    uint32_t trackTimescale = 0;  // a second
    uint64_t wholeDuration = 0;   // the file's (100 ns units), which may cover longer audio
    FrameRate rate;
};

// The frame count from the best clue: the samples read to the end, the container's count, the
// video track's duration at `rate`, the whole file's duration at `rate`.
int32_t CountFrames(const FrameCountClues& clues);

}  // namespace kineloop
