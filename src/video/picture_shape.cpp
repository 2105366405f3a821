// The shape a video's pictures are shown in: the turn and the pixel shape taken from the platform
// or from the file's own boxes, and the size on screen that follows from them.
#include "video/picture_shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kineloop {

namespace {

bool Sideways(uint32_t turn) {
    return turn % 180 == 90;
}

bool Usable(PixelAspect aspect) {
    const uint64_t w = aspect.width, h = aspect.height;
    return w != 0 && h != 0 && w <= 16 * h && h <= 16 * w;
}

}  // namespace

uint32_t TurnToApply(uint32_t platformTurn, uint32_t fileTurn, int32_t storedWidth,
                     int32_t storedHeight, int32_t decodedWidth, int32_t decodedHeight) {
    const uint32_t turn = platformTurn % 360 != 0 ? platformTurn % 360 : fileTurn % 360;
    if (turn % 90 != 0)
        return 0;
    const bool alreadyTurned =
        storedWidth != storedHeight && decodedWidth == storedHeight && decodedHeight == storedWidth;
    return Sideways(turn) && alreadyTurned ? 0 : turn;
}

PixelAspect AspectToApply(PixelAspect platform, PixelAspect file) {
    if (Usable(platform) && platform.width != platform.height)
        return platform;
    return Usable(file) ? file : PixelAspect{1, 1};
}

void ShownSize(int32_t width, int32_t height, PixelAspect aspect, uint32_t turn,
               int32_t& shownWidth, int32_t& shownHeight) {
    int64_t wide = width;
    if (Usable(aspect) && aspect.width != aspect.height) {
        // Half up, as a viewer's 720 x 480 at 32:27 becomes 853 x 480.
        wide = static_cast<int64_t>(
            std::floor(static_cast<double>(width) * aspect.width / aspect.height + 0.5));
        wide = std::clamp<int64_t>(wide, 1, INT32_MAX);
    }
    const auto w = static_cast<int32_t>(wide);
    shownWidth = Sideways(turn) ? height : w;
    shownHeight = Sideways(turn) ? w : height;
}

}  // namespace kineloop
