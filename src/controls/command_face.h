// The geometry and colours of the Command button's face: the eight border pieces cut from a
// state picture (twips and pixels), the caption's place, and the two gradient colours.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kineloop {

// The label `LblMsg` is 195 twips high; the border is 60 twips, the picture 960 x 375 twips.
constexpr int kCaptionHeightTwips = 195;
constexpr int kBorderTwips = 60;
constexpr int kPictureWidthTwips = 960;
constexpr int kPictureHeightTwips = 375;

struct SliceRect {
    int16_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const SliceRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// One border piece: where it goes on the control and where it comes from in the picture.
struct BorderSlice {
    SliceRect destination;
    SliceRect source;
};

// The eight pieces in drawing order: top-left, top, top-right, right, bottom-right, bottom,
// bottom-left, left.
using BorderSlices = std::array<BorderSlice, 8>;

// The pieces for a control of `width` x `height` twips; nothing when a value leaves 16 bits (the
// caller then keeps the pieces of its previous paint).
std::optional<BorderSlices> ComputeBorderSlices(int32_t width, int32_t height);

// Twips as pixels, to the nearest pixel (the 1-twip offsets fall on pixel 0).
int TwipsAsPixels(int twips, int twipsPerPixel);

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};
PixelRect InPixels(const SliceRect& rect, int twipsPerPixel);

// Top of the caption label in twips: centred, 20 twips above the middle.
int CaptionTopTwips(int heightTwips);

// A gradient colour as the platform's 16-bit channels (the 8-bit value in the high byte).
struct FaceColour {
    uint16_t red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const FaceColour& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
};

// A colour literal such as "&HC6C5D7" read as a number and then as hexadecimal text whose pairs,
// in reading order, are red, green and blue ("C6" gives 0xC600); a missing pair gives 0.
FaceColour FaceColourFromLiteral(const std::string& literal);

// The face's two colours, white ("&HFFFFFF") and lavender ("&HC6C5D7").
FaceColour FaceWhite();
FaceColour FaceLavender();

}  // namespace kineloop
