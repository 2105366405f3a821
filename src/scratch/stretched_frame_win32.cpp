// A decoded frame stretched to its tile, in a 24-bit bitmap kept from frame to frame.
#include "scratch/stretched_frame_win32.h"

#include "bitmap/packed_frame.h"
#include "scratch/tile_picture.h"

namespace kineloop {

StretchedFrame::~StretchedFrame() {
    Free();
}

void StretchedFrame::Free() {
    // The bitmap must leave the DC before either is deleted.
    if (dc_ && originalBitmap_)
        SelectObject(dc_.Get(), originalBitmap_);
    originalBitmap_ = nullptr;
    bitmap_.Reset();
    dc_.Reset();
    bits_ = nullptr;
    header_ = DibHeader{};
}

bool StretchedFrame::Resize(int width, int height) {
    if (bits_ && header_.biWidth == width && header_.biHeight == height)
        return true;
    Free();
    const std::optional<DibHeader> header = TilePictureHeader(width, height);
    if (!header)
        return false;
    BITMAPINFO info{};
    EncodeDibHeader(*header, reinterpret_cast<uint8_t*>(&info.bmiHeader));
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    dc_.Reset(CreateCompatibleDC(nullptr));
    if (!bitmap_ || !dc_ || !bits_) {
        Free();
        return false;
    }
    originalBitmap_ = SelectObject(dc_.Get(), bitmap_.Get());
    SetStretchBltMode(dc_.Get(), COLORONCOLOR);
    header_ = *header;
    return true;
}

void StretchedFrame::Make(const void* packed, size_t availableBytes, const TileShape& shape) {
    shape_ = shape;
    outcome_ = Outcome::kRefused;
    const std::optional<DibHeader> frame = AcceptPackedFrame(packed, availableBytes);
    if (!frame)
        return;
    outcome_ = Outcome::kNothingKept;
    const std::optional<PictureSize> kept =
        KeptPictureSize(shape.width, shape.height, shape.limitWidth, shape.limitHeight);
    if (!kept || !Resize(kept->width, kept->height))
        return;
    // The stretch covers every kept pixel, so nothing of the previous picture shows through.
    const auto* rows = static_cast<const uint8_t*>(packed) + kDibHeaderBytes;
    const bool drawn = StretchRows(dc_.Get(), *frame, rows, 0, 0, shape.width, shape.height);
    GdiFlush();  // the rows are read straight from the bitmap's memory next
    if (drawn)
        outcome_ = Outcome::kStretched;
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
