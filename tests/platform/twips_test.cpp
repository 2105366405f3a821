// Twips and pixels: the preview box measured by start-up and given back to the preview window.
#include "platform/twips.h"

#include <gtest/gtest.h>

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

TEST(PixelsToTwips, ConvertsTheBoxAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(PixelsToTwips(152, 15), 2280);
    EXPECT_EQ(PixelsToTwips(112, 15), 1680);
    EXPECT_EQ(PixelsToTwips(2184, 15), 32760);
    EXPECT_EQ(PixelsToTwips(2185, 15), 0);
    EXPECT_EQ(PixelsToTwips(0, 15), 0);
}

}  // namespace
}  // namespace kineloop
