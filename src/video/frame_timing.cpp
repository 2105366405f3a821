// The frame rate and frame count of a stream the platform times rather than numbers.
#include "video/frame_timing.h"

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

}  // namespace kineloop
