// The Command button's face: border pieces, caption place and gradient colours.
#include "controls/command_face.h"

#include <cmath>
#include <cstdio>

#include "platform/numbers.h"

namespace kineloop {

namespace {

std::optional<int16_t> Twips16(int64_t value) {
    if (!Fits<int16_t>(value))
        return std::nullopt;
    return static_cast<int16_t>(value);
}

}  // namespace

std::optional<BorderSlices> ComputeBorderSlices(int32_t width, int32_t height) {
    // The control's own sides are 16-bit twips too.
    if (!Fits<int16_t>(width) || !Fits<int16_t>(height))
        return std::nullopt;
    const int64_t w = width, h = height, b = kBorderTwips;
    const int64_t pw = kPictureWidthTwips, ph = kPictureHeightTwips;
    // Rows of (destination x, y, width, height, source x, y, width, height).
    const int64_t rows[8][8] = {
        {1, 1, b, b, 0, 0, b, b},
        {b, 1, w - 2 * b, b, b, 1, pw - 2 * b, b},
        {w - b, 1, b, b, pw - b, 1, b, b},
        {w - b, b, b, h - 2 * b, pw - b, b, b, ph - 2 * b},
        {w - b, h - b, b, b, pw - b, ph - b, b, b},
        {b, h - b, w - 2 * b, b, b, ph - b, pw - 2 * b, b},
        {1, h - b, b, b, 0, ph - b, b, b},
        {1, b, b, h - 2 * b, 1, b, b, ph - 2 * b},
    };
    BorderSlices slices{};
    for (int i = 0; i < 8; ++i) {
        int16_t v[8];
        for (int j = 0; j < 8; ++j) {
            const std::optional<int16_t> fitted = Twips16(rows[i][j]);
            if (!fitted)
                return std::nullopt;
            v[j] = *fitted;
        }
        slices[i] = {{v[0], v[1], v[2], v[3]}, {v[4], v[5], v[6], v[7]}};
    }
    return slices;
}

int TwipsAsPixels(int twips, int twipsPerPixel) {
    if (twipsPerPixel <= 0)
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

PixelRect InPixels(const SliceRect& rect, int twipsPerPixel) {
    return {TwipsAsPixels(rect.x, twipsPerPixel), TwipsAsPixels(rect.y, twipsPerPixel),
            TwipsAsPixels(rect.width, twipsPerPixel), TwipsAsPixels(rect.height, twipsPerPixel)};
}

int CaptionTopTwips(int heightTwips) {
    return (heightTwips - kCaptionHeightTwips - 20) / 2;
}

FaceColour FaceColourFromLiteral(const std::string& literal) {
    // "&H" marks hexadecimal; the number is then written out again as hexadecimal digits.
    unsigned long number = 0;
    if (literal.size() > 2 && (literal[0] == '&') && (literal[1] == 'H' || literal[1] == 'h'))
        number = std::strtoul(literal.c_str() + 2, nullptr, 16);
    else
        number = std::strtoul(literal.c_str(), nullptr, 10);
    char digits[24];
    std::snprintf(digits, sizeof digits, "%lX", number);
    const std::string hex = digits;
    auto channel = [&hex](size_t start) -> uint16_t {
        if (start >= hex.size())
            return 0;
        const std::string pair = hex.substr(start, 2);
        return static_cast<uint16_t>(std::strtoul(pair.c_str(), nullptr, 16) << 8);
    };
    return {channel(0), channel(2), channel(4), 0};
}

FaceColour FaceWhite() {
    return FaceColourFromLiteral("&HFFFFFF");
}

FaceColour FaceLavender() {
    return FaceColourFromLiteral("&HC6C5D7");
}

}  // namespace kineloop
