// The shape a video's pictures are shown in: the turn and the pixel shape taken from the platform
// or from the file's own boxes, and the size on screen that follows from them.
#pragma once

#include <cstdint>

namespace kineloop {

// The shape of one stored pixel, width to height; 0:0 when nobody says.
struct PixelAspect {
    uint32_t width = 0, height = 0;
};

// The turn applied to decoded pictures (clockwise, 0, 90, 180 or 270). The platform's word wins
// when it reports a turn; otherwise the file's tkhd says. One of the two only, never both, and
// none when the decoded picture already has the turned shape of what was stored (the platform
// turned it itself).
uint32_t TurnToApply(uint32_t platformTurn, uint32_t fileTurn, int32_t storedWidth,
                     int32_t storedHeight, int32_t decodedWidth, int32_t decodedHeight);

// The pixel shape the picture is shown with: the platform's when it reports a shape other than
// square, otherwise the file's pasp. Square for a shape of 0 or one further than 16:1 either way,
// which no real video has.
PixelAspect AspectToApply(PixelAspect platform, PixelAspect file);

// The size a decoded picture of `width` x `height` is shown at: widened (or narrowed) by the
// pixel shape to the nearest pixel, at least 1, then turned.
void ShownSize(int32_t width, int32_t height, PixelAspect aspect, uint32_t turn,
               int32_t& shownWidth, int32_t& shownHeight);

}  // namespace kineloop
