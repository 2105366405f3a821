// The picture a frame is stretched to before the scratch file: its header, and a file of it that
// the loader takes back unchanged.
#include "frames/scaled_picture.h"

#include <gtest/gtest.h>

#include "frames/bitmap_file.h"

namespace kineloop {
namespace {

TEST(ScaledPicture, HeaderIsBottomUp24BitsWithRowsPaddedToFourBytes) {
    struct Case {
        int32_t width, height;
        std::optional<uint32_t> pixelBytes;
    } cases[] = {
        {1, 1, 4u},         {3, 2, 24u},  // rows of 9 bytes padded to 12
        {4, 5, 60u},        {85, 64, 256u * 64}, {0, 10, {}},
        {10, 0, {}},        {-3, 2, {}},         {3, -2, {}},  // only bottom-up pictures are made
        {16384, 16384, {}},                                    // above the largest picture taken
    };
    for (const Case& c : cases) {
        const std::optional<DibHeader> header = ScaledPictureHeader(c.width, c.height);
        ASSERT_EQ(header.has_value(), c.pixelBytes.has_value()) << c.width << "x" << c.height;
        if (!header)
            continue;
        EXPECT_EQ(header->biSizeImage, *c.pixelBytes);
        EXPECT_EQ(header->biBitCount, 24);
        EXPECT_EQ(header->biHeight, c.height);
        EXPECT_EQ(DibPixelBytes(*header), c.pixelBytes);
    }
}

TEST(ScaledPicture, ItsFileIsOneTheLoaderTakesBackWithTheSameHeader) {
    for (const auto& [width, height] : {std::pair{3, 2}, std::pair{320, 240}, std::pair{1, 7}}) {
        const DibHeader header = *ScaledPictureHeader(width, height);
        const auto headers = BitmapFileHeaders(header);
        EXPECT_EQ(headers[0], 'B');
        EXPECT_EQ(headers[1], 'M');
        EXPECT_EQ(ReadLe32(&headers[2]), 54 + header.biSizeImage);
        EXPECT_EQ(ReadLe32(&headers[6]), 0u);  // both reserved fields
        EXPECT_EQ(ReadLe32(&headers[10]), 54u);

        std::vector<uint8_t> file(headers.begin(), headers.end());
        file.resize(file.size() + header.biSizeImage, 0x5A);
        const std::optional<BitmapFileLayout> layout = ParseBitmapFile(file.data(), file.size());
        ASSERT_TRUE(layout) << width << "x" << height;
        EXPECT_EQ(layout->pixelOffset, 54u);
        EXPECT_EQ(layout->pixelBytes, header.biSizeImage);
        EXPECT_EQ(layout->header.biWidth, width);
        EXPECT_EQ(layout->header.biHeight, height);
    }
}

}  // namespace
}  // namespace kineloop
