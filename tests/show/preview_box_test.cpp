// The preview box's twips back to pixels, for the window and its image.
#include "show/preview_box.h"

#include <gtest/gtest.h>

#include "startup/command_line.h"

namespace kineloop {
namespace {

TEST(TwipsToPixels, GivesBackTheBoxSizeStartUpMeasured) {
    // The usual box: 152 x 112 pixels at 96 dots per inch is 2280 x 1680 twips.
    EXPECT_EQ(PixelsToTwips(152, 15), 2280);
    EXPECT_EQ(TwipsToPixels(2280, 15), 152);
    EXPECT_EQ(TwipsToPixels(1680, 15), 112);
    // 120 and 144 dots per inch.
    EXPECT_EQ(TwipsToPixels(PixelsToTwips(152, 12), 12), 152);
    EXPECT_EQ(TwipsToPixels(PixelsToTwips(112, 10), 10), 112);
}

TEST(TwipsToPixels, AnUnknownOrUnusableSizeGivesAnEmptyBox) {
    EXPECT_EQ(TwipsToPixels(0, 15), 0);    // no host, or a box too large for 16-bit twips
    EXPECT_EQ(TwipsToPixels(2280, 0), 0);  // above 1440 dots per inch the factor is 0
    EXPECT_EQ(TwipsToPixels(2280, -15), 0);
    EXPECT_EQ(TwipsToPixels(-2280, 15), 0);
}

}  // namespace
}  // namespace kineloop
