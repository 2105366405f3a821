// A decoded frame stretched to the size it is shown at, in a 24-bit bitmap kept from frame to
// frame.
#include "frames/scaled_frame_win32.h"

#include "frames/scaled_picture.h"

namespace kineloop {

ScaledFrame::~ScaledFrame() {
    Free();
}

void ScaledFrame::Free() {
    // The bitmap must leave the DC before either is deleted.
    if (dc_ && originalBitmap_)
        SelectObject(dc_.Get(), originalBitmap_);
    originalBitmap_ = nullptr;
    bitmap_.Reset();
    dc_.Reset();
    bits_ = nullptr;
    header_ = DibHeader{};
}

bool ScaledFrame::Resize(int width, int height) {
    if (bits_ && header_.biWidth == width && header_.biHeight == height)
        return true;
    Free();
    const std::optional<DibHeader> header = ScaledPictureHeader(width, height);
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

bool ScaledFrame::Stretch(const DibHeader& frame, const uint8_t* rows, int width, int height,
                          int keptWidth, int keptHeight) {
    if (!Resize(keptWidth, keptHeight))
        return false;
    // The stretch covers every kept pixel, so nothing of the previous picture shows through.
    const bool drawn = StretchRows(dc_.Get(), frame, rows, 0, 0, width, height);
    GdiFlush();  // the rows are read straight from the bitmap's memory next
    return drawn;
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
