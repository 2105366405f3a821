// The reader's frame size and requested 24-bit format, and the sizes a bitmap header describes.
#include "video/frame_format.h"

#include <gtest/gtest.h>

#include "frames/packed_dib.h"

namespace kineloop {
namespace {

uint32_t ImageFor(int32_t width, int32_t height) {
    FrameFormat f;
    EXPECT_TRUE(ComputeFrameFormat(0, 0, width, height, f));
    return f.RequestedFormat.biSizeImage;
}

TEST(FrameFormat, RequestedFormatIs24BitBottomUpOfTheFrameRectangle) {
    FrameFormat f;
    ASSERT_TRUE(ComputeFrameFormat(10, 20, 330, 260, f));
    EXPECT_EQ(f.FrameWidth, 320);
    EXPECT_EQ(f.FrameHeight, 240);
    const DibHeader& h = f.RequestedFormat;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 320);
    EXPECT_EQ(h.biHeight, 240);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, kBiRgb);
    EXPECT_EQ(h.biSizeImage, 320u * 3 * 240);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(h.biYPelsPerMeter, 0);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);
    EXPECT_TRUE(FitsDecoder(h));
}

TEST(FrameFormat, RowsArePaddedToAMultipleOfFourBytes) {
    EXPECT_EQ(ImageFor(1, 1), 4u);
    EXPECT_EQ(ImageFor(4, 1), 12u);
    EXPECT_EQ(ImageFor(3, 2), 24u);
    EXPECT_EQ(ImageFor(61, 45), 184u * 45);
    for (int32_t width = 1; width < 100; ++width) {
        const uint32_t row = ImageFor(width, 1);
        EXPECT_EQ(row % 4, 0u) << width;
        EXPECT_GE(row, static_cast<uint32_t>(width) * 3) << width;
        EXPECT_LT(row, static_cast<uint32_t>(width) * 3 + 4) << width;
    }
}

TEST(FrameFormat, OverflowStopsTheComputationAndKeepsWhatWasHeld) {
    FrameFormat f;
    f.FrameWidth = 7;
    EXPECT_FALSE(ComputeFrameFormat(-2, 0, INT32_MAX, 10, f));  // width overflows
    EXPECT_EQ(f.FrameWidth, 7);
    EXPECT_EQ(f.FrameHeight, 0);

    f = FrameFormat{};
    EXPECT_FALSE(ComputeFrameFormat(0, INT32_MIN, 10, 1, f));  // height overflows
    EXPECT_EQ(f.FrameWidth, 10);
    EXPECT_EQ(f.FrameHeight, 0);

    f = FrameFormat{};
    EXPECT_FALSE(ComputeFrameFormat(0, 0, INT32_MAX / 3 + 1, 1, f));  // width * 3 overflows
    EXPECT_EQ(f.FrameWidth, INT32_MAX / 3 + 1);
    EXPECT_EQ(f.FrameHeight, 1);
    EXPECT_EQ(f.RequestedFormat.biSize, 0u);

    f = FrameFormat{};
    EXPECT_FALSE(ComputeFrameFormat(0, 0, 40000, 40000, f));  // the image size overflows
    EXPECT_EQ(f.RequestedFormat.biSizeImage, 0u);
    EXPECT_FALSE(FitsDecoder(f.RequestedFormat));
}

TEST(FrameFormat, OnlySaneSizesReachTheDecoder) {
    auto fits = [](int32_t width, int32_t height) {
        FrameFormat f;
        return ComputeFrameFormat(0, 0, width, height, f) && FitsDecoder(f.RequestedFormat);
    };
    EXPECT_TRUE(fits(1, 1));
    EXPECT_TRUE(fits(8000, 8000));  // 192 MB
    EXPECT_FALSE(fits(0, 240));     // empty rectangle
    EXPECT_FALSE(fits(320, 0));
    EXPECT_FALSE(fits(-320, 240));  // right of left
    EXPECT_FALSE(fits(320, -240));  // would ask for top-down rows
    EXPECT_FALSE(fits(kMaxFrameSide + 1, 1));
    EXPECT_FALSE(fits(1, kMaxFrameSide + 1));
    EXPECT_FALSE(fits(kMaxFrameSide, kMaxFrameSide));  // 768 MB

    FrameFormat f;
    ASSERT_TRUE(ComputeFrameFormat(0, 0, 320, 240, f));
    f.RequestedFormat.biSizeImage += 4;
    EXPECT_FALSE(FitsDecoder(f.RequestedFormat));
}

TEST(DibPixelBytes, DescribesUncompressedRowsOfEitherOrder) {
    EXPECT_EQ(DibPixelBytes(test::UncompressedHeader(3, 2, 24)), 24u);
    EXPECT_EQ(DibPixelBytes(test::UncompressedHeader(3, -2, 24)), 24u);
    EXPECT_EQ(DibPixelBytes(test::UncompressedHeader(3, 2, 16)), 16u);
    EXPECT_EQ(DibPixelBytes(test::UncompressedHeader(3, 2, 32)), 24u);

    auto refused = [](auto change) {
        DibHeader h = test::UncompressedHeader(3, 2, 24);
        change(h);
        return !DibPixelBytes(h).has_value();
    };
    EXPECT_TRUE(refused([](DibHeader& h) { h.biBitCount = 8; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biBitCount = 1; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biCompression = 3; }));  // bit-field masks
    EXPECT_TRUE(refused([](DibHeader& h) { h.biCompression = 1; }));  // run-length coded
    EXPECT_TRUE(refused([](DibHeader& h) { h.biSize = 124; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biPlanes = 2; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biWidth = 0; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biWidth = -3; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biHeight = 0; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biHeight = INT32_MIN; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biWidth = INT32_MAX; }));
    EXPECT_TRUE(refused([](DibHeader& h) { h.biHeight = INT32_MAX; }));
}

TEST(DibHeader, EncodesLittleEndianFieldByField) {
    DibHeader h = test::UncompressedHeader(-2, 0x01020304, 32);
    h.biClrImportant = 0xA1B2C3D4;
    uint8_t bytes[kDibHeaderBytes];
    EncodeDibHeader(h, bytes);
    EXPECT_EQ(bytes[0], 40);
    EXPECT_EQ(bytes[4], 0xFE);  // -2
    EXPECT_EQ(bytes[7], 0xFF);
    EXPECT_EQ(bytes[8], 0x04);
    EXPECT_EQ(bytes[11], 0x01);
    EXPECT_EQ(bytes[14], 32);
    EXPECT_EQ(bytes[36], 0xD4);
    EXPECT_EQ(bytes[39], 0xA1);
    const DibHeader back = DecodeDibHeader(bytes);
    EXPECT_EQ(back.biWidth, -2);
    EXPECT_EQ(back.biHeight, 0x01020304);
    EXPECT_EQ(back.biClrImportant, 0xA1B2C3D4u);
}

}  // namespace
}  // namespace kineloop
