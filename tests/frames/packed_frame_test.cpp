// Which decoded frames are taken: a header that describes exactly the rows within reach.
#include "bitmap/packed_frame.h"

#include <tuple>

#include <gtest/gtest.h>

#include "frames/packed_dib.h"

namespace kineloop {
namespace {

using test::PackedDib;
using test::UncompressedHeader;

bool Taken(const std::vector<uint8_t>& packed) {
    return AcceptPackedFrame(packed.data(), packed.size()).has_value();
}

TEST(PackedFrame, TakesSixteenTwentyFourAndThirtyTwoBitsEitherWayUp) {
    for (const DibHeader& h : {UncompressedHeader(3, 2, 24), UncompressedHeader(5, 3, 16),
                               UncompressedHeader(5, 3, 32), UncompressedHeader(5, -3, 24)})
        EXPECT_TRUE(Taken(PackedDib(h))) << h.biBitCount << " " << h.biHeight;
}

TEST(PackedFrame, RefusesHeadersThatDoNotDescribeTheRowsThatFollow) {
    std::vector<DibHeader> refused = {UncompressedHeader(4, 4, 8), UncompressedHeader(4, 4, 1)};
    DibHeader h = UncompressedHeader(4, 4, 24);
    h.biSizeImage = 0;
    refused.push_back(h);
    h = UncompressedHeader(4, 4, 24);
    h.biSizeImage += 4;
    refused.push_back(h);
    h = UncompressedHeader(4, 4, 24);
    h.biSizeImage -= 4;
    refused.push_back(h);
    h = UncompressedHeader(4, 4, 24);
    h.biClrUsed = 2;  // a colour table between header and rows
    refused.push_back(h);
    h = UncompressedHeader(4, 4, 32);
    h.biCompression = 3;  // masks
    refused.push_back(h);
    h = UncompressedHeader(4, 4, 24);
    h.biSize = 108;
    refused.push_back(h);
    for (const DibHeader& bad : refused)
        EXPECT_FALSE(Taken(PackedDib(bad))) << bad.biBitCount << " " << bad.biSizeImage;
}

TEST(PackedFrame, ReadsNothingBeyondTheBytesAvailable) {
    const std::vector<uint8_t> frame = PackedDib(UncompressedHeader(6, 5, 24));
    EXPECT_FALSE(AcceptPackedFrame(nullptr, 1000));
    EXPECT_FALSE(AcceptPackedFrame(frame.data(), 39));
    EXPECT_FALSE(AcceptPackedFrame(frame.data(), frame.size() - 1));
    EXPECT_TRUE(AcceptPackedFrame(frame.data(), frame.size()));

    // A hostile header alone: its sizes must not be believed.
    for (const auto& [width, height, image] :
         {std::tuple{INT32_MAX, INT32_MAX, 0xFFFFFFFFu}, std::tuple{0x10000, 0x10000, 0xFFFFFFFCu},
          std::tuple{1, 1, 0xFFFFFFFFu}, std::tuple{-1, 1, 4u}}) {
        DibHeader h = UncompressedHeader(1, 1, 24);
        h.biWidth = width;
        h.biHeight = height;
        h.biSizeImage = image;
        std::vector<uint8_t> header(kDibHeaderBytes);
        EncodeDibHeader(h, header.data());
        EXPECT_FALSE(AcceptPackedFrame(header.data(), header.size()));
    }
}

}  // namespace
}  // namespace kineloop
