// Reaching a frame far ahead by seeking to a key frame, and telling decoded frames apart by time.
#include "video/frame_seek.h"

#include <algorithm>
#include <cmath>

namespace kineloop {

namespace {

// A seek empties the decoder's pipeline, which costs about as much as decoding a few frames.
constexpr int32_t kLeastFramesSaved = 8;

}  // namespace

FrameGrid GridOfTimes(uint32_t sampleDelta, uint32_t timescale, const std::vector<int64_t>& times) {
    if (sampleDelta == 0 || timescale == 0 || times.size() < 2)
        return {};
    const FrameGrid grid{times[0], 1e7 * sampleDelta / timescale};
    for (size_t i = 0; i < times.size(); ++i) {
        int32_t frame = -1;
        if (!FrameAtTime(grid, times[i], frame) || frame != static_cast<int32_t>(i))
            return {};
    }
    return grid;
}

bool FrameAtTime(const FrameGrid& grid, int64_t time, int32_t& frame) {
    if (grid.frameTime <= 0)
        return false;
    const double at = static_cast<double>(time - grid.first) / grid.frameTime;
    const double nearest = std::round(at);
    if (std::fabs(at - nearest) > 0.25 || nearest < 0 || nearest > INT32_MAX)
        return false;
    frame = static_cast<int32_t>(nearest);
    return true;
}

int64_t TimeOfFrame(const FrameGrid& grid, int32_t frame) {
    // Rounded up, never into the frame before: Wine's seek hands over the frame showing at the
    // time asked for, stamped with that time.
    return grid.first + static_cast<int64_t>(std::ceil(frame * grid.frameTime - 1e-3));
}

bool WorthSeeking(bool keyTable, const std::vector<uint32_t>& keyFrames, int32_t from,
                  int32_t target) {
    if (target < 0 || target - from < kLeastFramesSaved)
        return false;
    if (!keyTable)
        return true;
    const auto after =
        std::upper_bound(keyFrames.begin(), keyFrames.end(), static_cast<uint32_t>(target));
    return after != keyFrames.begin() &&
           static_cast<int64_t>(*(after - 1)) - from >= kLeastFramesSaved;
}

}  // namespace kineloop
