// A packed bitmap frame sampled straight into its tile picture.
#include "bitmap/packed_tile.h"

namespace kineloop {

bool PackedToTile(const DibHeader& frame, const uint8_t* rows, int32_t stretchWidth,
                  int32_t stretchHeight, TileImage& tile) {
    const std::optional<uint32_t> stride = DibRowBytes(frame.biWidth, frame.biBitCount);
    const int32_t width = frame.biWidth;
    const int32_t height = frame.biHeight < 0 ? -frame.biHeight : frame.biHeight;
    const int bytes = frame.biBitCount / 8;
    if (!rows || !stride || height < 1 || (bytes != 2 && bytes != 3 && bytes != 4) ||
        tile.Width() < 1 || stretchWidth < tile.Width() || stretchHeight < tile.Height())
        return false;
    const std::vector<int32_t>& columns = tile.Columns(width, stretchWidth);
    for (int32_t y = 0; y < tile.Height(); ++y) {
        const int32_t from = StretchSource(height, stretchHeight, y, StretchAxis::Down);
        const int32_t memoryRow = frame.biHeight > 0 ? height - 1 - from : from;
        const uint8_t* source = rows + size_t{*stride} * static_cast<size_t>(memoryRow);
        uint8_t* out = tile.RowFromTop(y);
        for (int32_t x : columns) {
            const uint8_t* pixel = source + static_cast<size_t>(x) * bytes;
            if (bytes == 2) {
                // 5 bits a colour, widened as the platform widens them: the top bits repeated.
                const unsigned value = pixel[0] | (pixel[1] << 8);
                const unsigned blue = value & 31, green = (value >> 5) & 31,
                               red = (value >> 10) & 31;
                out[0] = static_cast<uint8_t>((blue << 3) | (blue >> 2));
                out[1] = static_cast<uint8_t>((green << 3) | (green >> 2));
                out[2] = static_cast<uint8_t>((red << 3) | (red >> 2));
            } else {
                out[0] = pixel[0];
                out[1] = pixel[1];
                out[2] = pixel[2];
            }
            out += 3;
        }
    }
    return true;
}

}  // namespace kineloop
