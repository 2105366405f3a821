// The frame rate and frame count of a stream the platform times rather than numbers.
#include "video/frame_timing.h"

#include <algorithm>
#include <cmath>

namespace kineloop {

FrameRate SettledFrameRate(FrameRate stated, int64_t frameTime) {
    if (frameTime <= 0 || frameTime > INT32_MAX)
        return stated;
    const FrameRate measured{10000000u, static_cast<uint32_t>(frameTime)};
    if (stated.numerator == 0 || stated.denominator == 0)
        return measured;
    // Stated time of a frame against the measured one, in the same units.
    const double statedTime = 1e7 * stated.denominator / stated.numerator;
    const double difference = statedTime - static_cast<double>(frameTime);
    return (difference < 0 ? -difference : difference) > 0.05 * static_cast<double>(frameTime)
               ? measured
               : stated;
}

int32_t FramesInDuration(uint64_t duration, uint32_t numerator, uint32_t denominator) {
    if (numerator == 0 || denominator == 0)
        return 0;
    const long double frames = static_cast<long double>(duration) * numerator /
                               (static_cast<long double>(denominator) * 10000000.0L);
    const long double rounded = std::floor(frames + 0.5L);
    return rounded >= static_cast<long double>(INT32_MAX) ? INT32_MAX
                                                          : static_cast<int32_t>(rounded);
}

int64_t MedianFrameTime(const std::vector<int64_t>& times) {
    std::vector<int64_t> gaps;
    for (size_t i = 1; i < times.size(); ++i) {
        if (times[i] > times[i - 1])
            gaps.push_back(times[i] - times[i - 1]);
    }
    if (gaps.empty())
        return 0;
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    return gaps[gaps.size() / 2];
}

int32_t CountFrames(const FrameCountClues& clues) {
    if (clues.samplesToEnd >= 0)
        return clues.samplesToEnd;
    if (clues.storedSamples > 0)
        return static_cast<int32_t>(std::min<uint32_t>(clues.storedSamples, INT32_MAX));
    const FrameRate& rate = clues.rate;
    if (clues.trackDuration > 0 && clues.trackTimescale > 0) {
        const long double ticks =
            static_cast<long double>(clues.trackDuration) * 1e7L / clues.trackTimescale;
        const long double most = static_cast<long double>(UINT64_MAX / 2);
        return FramesInDuration(static_cast<uint64_t>(std::min(ticks, most)), rate.numerator,
                                rate.denominator);
    }
    return FramesInDuration(clues.wholeDuration, rate.numerator, rate.denominator);
}

}  // namespace kineloop
