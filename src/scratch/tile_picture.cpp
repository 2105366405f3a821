// The tile picture a frame becomes before it goes through the scratch file.
#include "scratch/tile_picture.h"

#include <algorithm>

namespace kineloop {

std::optional<PictureSize> KeptPictureSize(int32_t width, int32_t height, int32_t limitWidth,
                                           int32_t limitHeight) {
    const PictureSize kept{std::min(width, limitWidth), std::min(height, limitHeight)};
    if (kept.width < 1 || kept.height < 1)
        return std::nullopt;
    return kept;
}

std::optional<DibHeader> TilePictureHeader(int32_t width, int32_t height) {
    DibHeader header;
    header.biSize = kDibHeaderBytes;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = kBiRgb;
    if (height < 1)
        return std::nullopt;
    const std::optional<uint32_t> pixels = DibPixelBytes(header);
    if (!pixels)
        return std::nullopt;
    header.biSizeImage = *pixels;
    return header;
}

}  // namespace kineloop
