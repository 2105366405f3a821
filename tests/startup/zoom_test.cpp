// The zoom effect's rectangles: from the recorded mouse point to the window and back.
#include "startup/zoom.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

const ZoomRect kWindow{200, 150, 680, 510};

TEST(ZoomPath, OpensFromThePointAndClosesBackToIt) {
    const ZoomPath opening = OpeningPath(kWindow, 30, 700);
    EXPECT_EQ(opening.from, (ZoomRect{30, 700, 30, 700}));
    EXPECT_EQ(opening.to, kWindow);
    const ZoomPath closing = ClosingPath(kWindow, 30, 700);
    EXPECT_EQ(closing.from, kWindow);
    EXPECT_EQ(closing.to, (ZoomRect{30, 700, 30, 700}));
}

TEST(ZoomPath, AnUnknownPointIsTheScreensCorner) {
    EXPECT_EQ(OpeningPath(kWindow, 0, 0).from, (ZoomRect{0, 0, 0, 0}));
    EXPECT_EQ(ClosingPath(kWindow, 0, 0).to, (ZoomRect{0, 0, 0, 0}));
    // Left of or above the primary screen.
    EXPECT_EQ(PointRect(-1280, -5), (ZoomRect{-1280, -5, -1280, -5}));
}

TEST(ZoomCoordinate, KeepsWhatFitsSixteenBitsAndDropsTheRest) {
    EXPECT_EQ(ZoomCoordinate(0), 0);
    EXPECT_EQ(ZoomCoordinate(1919), 1919);
    EXPECT_EQ(ZoomCoordinate(-1280), -1280);
    EXPECT_EQ(ZoomCoordinate(32767), 32767);
    EXPECT_EQ(ZoomCoordinate(-32768), -32768);
    EXPECT_EQ(ZoomCoordinate(32768), 0);
    EXPECT_EQ(ZoomCoordinate(-32769), 0);
}

}  // namespace
}  // namespace kineloop
