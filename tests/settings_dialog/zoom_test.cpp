// How a mouse position becomes the zoom effect's 16-bit origin.
#include "settings_dialog/zoom.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

TEST(ZoomCoordinate, KeepsWhatFitsSixteenBitsAndDropsTheRest) {
    EXPECT_EQ(ZoomCoordinate(0), 0);
    EXPECT_EQ(ZoomCoordinate(1919), 1919);
    EXPECT_EQ(ZoomCoordinate(-1280), -1280);  // a screen left of the primary one
    EXPECT_EQ(ZoomCoordinate(32767), 32767);
    EXPECT_EQ(ZoomCoordinate(-32768), -32768);
    EXPECT_EQ(ZoomCoordinate(32768), 0);
    EXPECT_EQ(ZoomCoordinate(-32769), 0);
}

}  // namespace
}  // namespace kineloop
