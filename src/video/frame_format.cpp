// The frame size of a video stream and the 24-bit format the reader asks the decoder for.
#include "video/frame_format.h"

#include <optional>

namespace kineloop {

namespace {

std::optional<int32_t> Checked(int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace

bool ComputeFrameFormat(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        FrameFormat& into) {
    const std::optional<int32_t> width = Checked(int64_t{right} - left);
    if (!width)
        return false;
    into.FrameWidth = *width;
    const std::optional<int32_t> height = Checked(int64_t{bottom} - top);
    if (!height)
        return false;
    into.FrameHeight = *height;

    // ((width * 3 + 3) AND NOT 3) * height, each step in 32 bits.
    const std::optional<int32_t> tripled = Checked(int64_t{*width} * 3);
    if (!tripled)
        return false;
    const std::optional<int32_t> padded = Checked(int64_t{*tripled} + 3);
    if (!padded)
        return false;
    const std::optional<int32_t> image = Checked(int64_t{*padded & ~3} * *height);
    if (!image)
        return false;

    DibHeader& format = into.RequestedFormat;
    format = DibHeader{};
    format.biSize = kDibHeaderBytes;
    format.biWidth = *width;
    format.biHeight = *height;
    format.biPlanes = 1;
    format.biBitCount = 24;
    format.biCompression = kBiRgb;
    format.biSizeImage = static_cast<uint32_t>(*image);
    return true;
}

bool FitsDecoder(const DibHeader& requested) {
    if (requested.biWidth < 1 || requested.biWidth > kMaxFrameSide)
        return false;
    if (requested.biHeight < 1 || requested.biHeight > kMaxFrameSide)
        return false;
    const std::optional<uint32_t> pixels = DibPixelBytes(requested);
    return pixels && *pixels == requested.biSizeImage;
}

}  // namespace kineloop
