// Decoded video samples (8- and 10-bit 4:2:0 and 4:2:2 YUV or 32-bit RGB, as a Media Foundation
// reader hands them over) turned into the packed 24-bit bottom-up bitmap the rest of the program
// takes.
#include "video/yuv_to_dib.h"

#include "bitmap/dib.h"

namespace kineloop {

bool IsHighDefinition(int32_t width, int32_t height) {
    return width > 1024 || height > 576;
}

void RotatedSize(int32_t width, int32_t height, uint32_t rotation, int32_t& outWidth,
                 int32_t& outHeight) {
    const uint32_t turn = rotation % 360;
    const bool sideways = turn == 90 || turn == 270;
    outWidth = sideways ? height : width;
    outHeight = sideways ? width : height;
}

bool SampleToPackedDib(const SampleView& sample, uint32_t rotation, std::vector<uint8_t>& dib) {
    dib.clear();
    Planes planes;
    if (!LocatePlanes(sample, planes))
        return false;
    const PictureArea area = planes.picture;  // only this of the frame is shown
    const int32_t width = area.width;
    const int32_t height = area.height;
    const SampleLayout layout = sample.layout;

    DibHeader header;
    header.biSize = kDibHeaderBytes;
    RotatedSize(width, height, rotation, header.biWidth, header.biHeight);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = kBiRgb;
    const std::optional<uint32_t> pixelBytes = DibPixelBytes(header);
    if (!pixelBytes)
        return false;
    header.biSizeImage = *pixelBytes;
    dib.assign(kDibHeaderBytes + *pixelBytes, 0);
    EncodeDibHeader(header, dib.data());

    // Source pixel (x, y), y from the top, goes to origin + y * rowStep + x * pixelStep of the
    // bottom-up picture: turned clockwise by the angle the content was turned counter-clockwise.
    const ptrdiff_t stride = static_cast<ptrdiff_t>(*DibRowBytes(header.biWidth, 24));
    const ptrdiff_t w = width;
    const ptrdiff_t h = height;
    ptrdiff_t origin = (h - 1) * stride, rowStep = -stride, pixelStep = 3;
    switch (rotation % 360) {
        case 90:
            origin = (w - 1) * stride + 3 * (h - 1), rowStep = -3, pixelStep = -stride;
            break;
        case 180:
            origin = 3 * (w - 1), rowStep = stride, pixelStep = -3;
            break;
        case 270:
            origin = 0, rowStep = 3, pixelStep = stride;
            break;
        default:
            break;
    }

    uint8_t* pixels = dib.data() + kDibHeaderBytes + origin;
    const ColourTables& k = ColourTablesFor(sample.matrix, sample.range);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = pixels + rowStep * y;
        const int32_t line = area.y + y;
        if (layout == SampleLayout::Rgb32) {
            const int64_t row = planes.bottomUp ? planes.lines - 1 - line : line;
            const uint8_t* in = sample.data + planes.pitch * row + 4 * int64_t{area.x};
            for (int32_t x = 0; x < width; ++x, in += 4, out += pixelStep) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
        } else {
            const YuvRow row = RowOf(sample.data, layout, planes, line);
            for (int32_t x = 0; x < width; ++x, out += pixelStep)
                YuvToBgr(row, area.x + x, k, out);
        }
    }
    return true;
}

}  // namespace kineloop
