// FDIBPointer: which frames it takes, what it keeps of a refused one, the file header it makes.
#include "frames/fdib_pointer.h"

#include <gtest/gtest.h>

#include "frames/packed_dib.h"

namespace kineloop {
namespace {

using test::PackedDib;
using test::UncompressedHeader;

bool Take(FDIBPointer& dib, const std::vector<uint8_t>& packed) {
    return dib.CreateFromPackedDIBPointer(packed.data(), packed.size());
}

std::vector<uint8_t> Pixels(const std::vector<uint8_t>& packed) {
    return {packed.begin() + kDibHeaderBytes, packed.end()};
}

TEST(FDIBPointer, ThreeByTwoFrameMakesA78ByteFile) {
    const std::vector<uint8_t> frame = PackedDib(UncompressedHeader(3, 2, 24));
    FDIBPointer dib;
    EXPECT_FALSE(dib.HasFrame());
    ASSERT_TRUE(Take(dib, frame));

    const auto headers = dib.FileHeaderBytes();
    EXPECT_EQ(headers[0], 'B');
    EXPECT_EQ(headers[1], 'M');
    EXPECT_EQ(ReadLe32(&headers[2]), 78u);  // 54 + rows of 9 bytes padded to 12
    EXPECT_EQ(ReadLe16(&headers[6]), 0);
    EXPECT_EQ(ReadLe16(&headers[8]), 0);
    EXPECT_EQ(ReadLe32(&headers[10]), 54u);
    EXPECT_TRUE(std::equal(headers.begin() + 14, headers.end(), frame.begin()));  // unchanged
    EXPECT_EQ(dib.PixelBytes(), Pixels(frame));
}

TEST(FDIBPointer, TakesSixteenAndThirtyTwoBitsAndTopDownRows) {
    for (const DibHeader& h : {UncompressedHeader(5, 3, 16), UncompressedHeader(5, 3, 32),
                               UncompressedHeader(5, -3, 24)}) {
        FDIBPointer dib;
        const std::vector<uint8_t> frame = PackedDib(h);
        EXPECT_TRUE(Take(dib, frame)) << h.biBitCount << " " << h.biHeight;
        EXPECT_EQ(dib.PixelBytes(), Pixels(frame));
    }
}

TEST(FDIBPointer, RefusedFrameLeavesThePreviousOneToBeWrittenAgain) {
    FDIBPointer dib;
    const std::vector<uint8_t> first = PackedDib(UncompressedHeader(3, 2, 24), 7);
    ASSERT_TRUE(Take(dib, first));
    const auto headers = dib.FileHeaderBytes();

    std::vector<std::vector<uint8_t>> refused;
    refused.push_back(PackedDib(UncompressedHeader(4, 4, 8)));  // palette frames
    refused.push_back(PackedDib(UncompressedHeader(4, 4, 1)));
    DibHeader empty = UncompressedHeader(4, 4, 24);
    empty.biSizeImage = 0;
    refused.push_back(PackedDib(empty));
    // Headers that do not describe exactly the rows that follow them.
    DibHeader longer = UncompressedHeader(4, 4, 24);
    longer.biSizeImage += 4;
    refused.push_back(PackedDib(longer));
    DibHeader shorter = UncompressedHeader(4, 4, 24);
    shorter.biSizeImage -= 4;
    refused.push_back(PackedDib(shorter));
    DibHeader table = UncompressedHeader(4, 4, 24);
    table.biClrUsed = 2;
    refused.push_back(PackedDib(table));
    DibHeader masks = UncompressedHeader(4, 4, 32);
    masks.biCompression = 3;
    refused.push_back(PackedDib(masks));
    DibHeader bigger = UncompressedHeader(4, 4, 24);
    bigger.biSize = 108;
    refused.push_back(PackedDib(bigger));

    for (const auto& frame : refused) {
        EXPECT_FALSE(Take(dib, frame));
        EXPECT_EQ(dib.InfoHeader().biBitCount, DecodeDibHeader(frame.data()).biBitCount);
        EXPECT_EQ(dib.FileHeaderBytes(), headers);
        EXPECT_EQ(dib.PixelBytes(), Pixels(first));
    }
}

TEST(FDIBPointer, ReadsNothingBeyondTheBytesAvailable) {
    FDIBPointer dib;
    std::vector<uint8_t> frame = PackedDib(UncompressedHeader(6, 5, 24));
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(nullptr, 1000));
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(frame.data(), 39));
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(frame.data(), frame.size() - 1));
    EXPECT_FALSE(dib.HasFrame());
    EXPECT_TRUE(dib.CreateFromPackedDIBPointer(frame.data(), frame.size()));

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
        EXPECT_FALSE(dib.CreateFromPackedDIBPointer(header.data(), header.size()));
    }
}

TEST(FDIBPointer, SmallerFrameReplacesALargerOneWhole) {
    FDIBPointer dib;
    ASSERT_TRUE(Take(dib, PackedDib(UncompressedHeader(64, 48, 24))));
    const std::vector<uint8_t> small = PackedDib(UncompressedHeader(3, 2, 24));
    ASSERT_TRUE(Take(dib, small));
    EXPECT_EQ(dib.PixelBytes(), Pixels(small));
    EXPECT_EQ(ReadLe32(&dib.FileHeaderBytes()[2]), 78u);
}

}  // namespace
}  // namespace kineloop
