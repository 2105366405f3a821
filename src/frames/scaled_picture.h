// The picture a frame becomes before it goes through the scratch file: the frame stretched to the
// size it is shown at, kept as a 24-bit bitmap, and the headers of that picture's bitmap file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "frames/dib.h"
#include "frames/fdib_pointer.h"

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
std::optional<DibHeader> ScaledPictureHeader(int32_t width, int32_t height);

// The 54 bytes that precede the pixels in the bitmap file of a picture with this header: "BM",
// the file's size, two reserved zeros, the pixel offset 54, then the header itself.
std::array<uint8_t, kBitmapHeadersBytes> BitmapFileHeaders(const DibHeader& header);

}  // namespace kineloop
