// The picture a frame is stretched to before the scratch file: its header, and a file of it that
// the loader takes back unchanged.
#include "scratch/tile_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "scratch/bitmap_file.h"

namespace kineloop {
namespace {

TEST(TilePicture, BottomUp24BitsRowsPaddedToFourAndTakenBackByTheLoader) {
    struct Case {
        int32_t width, height;
        std::optional<uint32_t> pixelBytes;  // none: refused
    } cases[] = {
        {1, 1, 4u},         {3, 2, 24u}, {85, 64, 256u * 64}, {1, 7, 28u}, {0, 10, {}},
        {10, 0, {}},        {-3, 2, {}}, {3, -2, {}},  // only bottom-up pictures are made
        {16384, 16384, {}},                            // above the largest picture taken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        const std::optional<DibHeader> header = TilePictureHeader(c.width, c.height);
        ASSERT_EQ(header.has_value(), c.pixelBytes.has_value());
        if (!header)
            continue;
        EXPECT_EQ(header->biSizeImage, *c.pixelBytes);
        EXPECT_EQ(header->biBitCount, 24);
        const auto headers = BitmapFileHeaders(*header);
        std::vector<uint8_t> file(headers.begin(), headers.end());
        file.resize(file.size() + header->biSizeImage, 0x5A);
        const std::optional<BitmapFileLayout> layout = ParseBitmapFile(file.data(), file.size());
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->pixelOffset, 54u);
        EXPECT_EQ(layout->header.biWidth, c.width);
        EXPECT_EQ(layout->header.biHeight, c.height);
    }
}

}  // namespace
}  // namespace kineloop
