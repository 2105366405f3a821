// A decoded frame stretched to its tile, in a 24-bit picture kept from frame to frame.
#include "scratch/stretched_frame_win32.h"

#include "bitmap/packed_frame.h"
#include "bitmap/packed_tile.h"
#include "scratch/tile_picture.h"

namespace kineloop {

bool StretchedFrame::Resize() {
    const std::optional<PictureSize> kept =
        KeptPictureSize(shape_.width, shape_.height, shape_.limitWidth, shape_.limitHeight);
    const std::optional<DibHeader> header =
        kept ? TilePictureHeader(kept->width, kept->height) : std::nullopt;
    if (!header || !image_.Resize(header->biWidth, header->biHeight)) {
        header_ = DibHeader{};
        return false;
    }
    header_ = *header;
    return true;
}

void StretchedFrame::Make(const void* packed, size_t availableBytes, const TileShape& shape) {
    const std::optional<DibHeader> frame = AcceptPackedFrame(packed, availableBytes);
    MakeWith(shape, frame.has_value(), [&](TileImage& image, int width, int height) {
        const auto* rows = static_cast<const uint8_t*>(packed) + kDibHeaderBytes;
        return PackedToTile(*frame, rows, width, height, image);
    });
}

bool StretchRows(HDC dc, const DibHeader& header, const uint8_t* rows, int x, int y, int width,
                 int height) {
    if (dc == nullptr || rows == nullptr || !DibPixelBytes(header) || header.biClrUsed != 0)
        return false;
    // With no colour table and no masks the header alone is a complete BITMAPINFO.
    BITMAPINFO info{};
    EncodeDibHeader(header, reinterpret_cast<uint8_t*>(&info.bmiHeader));
    const LONG sourceRows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    return StretchDIBits(dc, x, y, width, height, 0, 0, header.biWidth, sourceRows, rows, &info,
                         DIB_RGB_COLORS, SRCCOPY) != 0;
}

}  // namespace kineloop
