// The Command button's face geometry and colours natively: the border pieces of the two example
// buttons in twips and pixels, the caption's place and the colours read from their literals.
#include "controls/command_face.h"

#include <gtest/gtest.h>

namespace kineloop {
namespace {

struct SliceGeometryRow {
    int widthPixels, heightPixels;
    PixelRect destination[8];
};

// Pieces: top-left, top, top-right, right, bottom-right, bottom, bottom-left, left. Whatever the
// button's size, they are cut from the same places of the 64 x 25 state picture.
constexpr PixelRect kSources[8] = {{0, 0, 4, 4},   {4, 0, 56, 4},  {60, 0, 4, 4}, {60, 4, 4, 17},
                                   {60, 21, 4, 4}, {4, 21, 56, 4}, {0, 21, 4, 4}, {0, 4, 4, 17}};

class SliceGeometry : public ::testing::TestWithParam<SliceGeometryRow> {};

TEST_P(SliceGeometry, CutsTheBorderInPixelsAsDescribed) {
    const SliceGeometryRow& row = GetParam();
    const auto slices = ComputeBorderSlices(row.widthPixels * 15, row.heightPixels * 15);
    ASSERT_TRUE(slices);
    for (int i = 0; i < 8; ++i) {
        const BorderSlice& slice = (*slices)[static_cast<size_t>(i)];
        EXPECT_EQ(InPixels(slice.destination, 15), row.destination[i]) << "piece " << i + 1;
        EXPECT_EQ(InPixels(slice.source, 15), kSources[i]) << "piece " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ExampleButtons, SliceGeometry,
    ::testing::Values(
        // 1095 x 435 twips: edges of 65 and 21 pixels around a 65 x 21 gradient centre.
        SliceGeometryRow{73,
                         29,
                         {{0, 0, 4, 4},
                          {4, 0, 65, 4},
                          {69, 0, 4, 4},
                          {69, 4, 4, 21},
                          {69, 25, 4, 4},
                          {4, 25, 65, 4},
                          {0, 25, 4, 4},
                          {0, 4, 4, 21}}},
        // 495 x 375 twips: the 56-pixel stretch shrinks to 25; the sides keep their 17 rows.
        SliceGeometryRow{33,
                         25,
                         {{0, 0, 4, 4},
                          {4, 0, 25, 4},
                          {29, 0, 4, 4},
                          {29, 4, 4, 17},
                          {29, 21, 4, 4},
                          {4, 21, 25, 4},
                          {0, 21, 4, 4},
                          {0, 4, 4, 17}}}));

TEST(BorderSlices, ASizeBeyondSixteenBitsIsRefused) {
    EXPECT_FALSE(ComputeBorderSlices(32768, 435));
    EXPECT_FALSE(ComputeBorderSlices(1095, 40000));
    EXPECT_TRUE(ComputeBorderSlices(32767, 32767));
}

struct LiteralRow {
    const char* literal;
    FaceColour colour;
};

class FaceColours : public ::testing::TestWithParam<LiteralRow> {};

TEST_P(FaceColours, TakeTheHexadecimalPairsInReadingOrder) {
    EXPECT_EQ(FaceColourFromLiteral(GetParam().literal), GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Literals, FaceColours,
                         ::testing::Values(LiteralRow{"&HFFFFFF", {0xFF00, 0xFF00, 0xFF00, 0}},
                                           LiteralRow{"&HC6C5D7", {0xC600, 0xC500, 0xD700, 0}},
                                           LiteralRow{"&H00C5D7", {0xC500, 0xD700, 0, 0}}));

}  // namespace
}  // namespace kineloop
