// The tile picture a frame becomes before it goes through the scratch file: the frame stretched to
// the size it is shown at and kept as a 24-bit bitmap, cut to what can be seen.
#pragma once

#include <cstdint>
#include <optional>

#include "bitmap/dib.h"

namespace kineloop {

// The size of the picture kept from a stretch to width x height of which only the part within
// limitWidth x limitHeight can ever be seen (a tile cut at the screen's edge); each side is the
// smaller of the two, and nothing is kept when a side comes to less than 1.
struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
};
std::optional<PictureSize> KeptPictureSize(int32_t width, int32_t height, int32_t limitWidth,
                                           int32_t limitHeight);

// The header of a 24-bit, bottom-up, uncompressed picture of width x height whose biSizeImage
// is its exact pixel bytes; nothing for a side below 1 or a picture above kMaxImageBytes.
std::optional<DibHeader> TilePictureHeader(int32_t width, int32_t height);

}  // namespace kineloop
