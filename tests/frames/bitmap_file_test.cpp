// The checks on a bitmap file read back: standard files pass, and no damaged or hostile file gets
// a pixel range outside its bytes (run under the address sanitizer where it is available).
#include "scratch/bitmap_file.h"

#include <random>

#include <gtest/gtest.h>

#include "bitmap/packed_frame.h"
#include "frames/packed_dib.h"

namespace kineloop {
namespace {

using test::UncompressedHeader;

// A file as the scratch file is written: the headers, then the rows.
std::vector<uint8_t> FileOf(const DibHeader& header) {
    const std::vector<uint8_t> packed = test::PackedDib(header);
    const auto headers = BitmapFileHeaders(header);
    std::vector<uint8_t> file(headers.begin(), headers.end());
    file.insert(file.end(), packed.begin() + kDibHeaderBytes, packed.end());
    return file;
}

std::optional<BitmapFileLayout> Parse(const std::vector<uint8_t>& file) {
    // A copy of exactly the file's size, so that the sanitizer sees any read past its end.
    const std::vector<uint8_t> exact(file);
    return ParseBitmapFile(exact.empty() ? nullptr : exact.data(), exact.size());
}

// What an accepted file must give: a header that describes the pixel range, which ends the file.
void ExpectConsistent(const std::vector<uint8_t>& file, const BitmapFileLayout& layout) {
    const std::optional<uint32_t> pixels = DibPixelBytes(layout.header);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(layout.pixelBytes, *pixels);
    EXPECT_EQ(layout.header.biSizeImage, *pixels);
    EXPECT_EQ(layout.header.biClrUsed, 0u);
    EXPECT_GE(layout.pixelOffset, kBitmapHeadersBytes);
    EXPECT_EQ(layout.pixelOffset + layout.pixelBytes, file.size());
}

TEST(BitmapFile, AcceptsStandardUncompressedFiles) {
    for (const DibHeader& h : {UncompressedHeader(3, 2, 24), UncompressedHeader(61, 45, 24),
                               UncompressedHeader(61, -45, 24), UncompressedHeader(7, 3, 16),
                               UncompressedHeader(7, 3, 32), UncompressedHeader(1, 1, 24)}) {
        const std::vector<uint8_t> file = FileOf(h);
        const std::optional<BitmapFileLayout> layout = Parse(file);
        ASSERT_TRUE(layout) << h.biWidth << "x" << h.biHeight << "x" << h.biBitCount;
        EXPECT_EQ(layout->pixelOffset, 54u);
        EXPECT_EQ(layout->header.biWidth, h.biWidth);
        EXPECT_EQ(layout->header.biHeight, h.biHeight);
        EXPECT_EQ(layout->header.biBitCount, h.biBitCount);
        ExpectConsistent(file, *layout);
    }
}

TEST(BitmapFile, AcceptsAZeroImageSizeAndSkipsAColourTable) {
    std::vector<uint8_t> file = FileOf(UncompressedHeader(3, 2, 24));
    WriteLe32(0, &file[34]);  // biSizeImage 0 is allowed for uncompressed rows
    ASSERT_TRUE(Parse(file));
    EXPECT_EQ(Parse(file)->header.biSizeImage, 24u);

    // Two table entries between header and pixels.
    file.insert(file.begin() + 54, 8, 0xAB);
    WriteLe32(static_cast<uint32_t>(file.size()), &file[2]);
    WriteLe32(62, &file[10]);
    WriteLe32(2, &file[46]);
    const std::optional<BitmapFileLayout> layout = Parse(file);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->pixelOffset, 62u);
    ExpectConsistent(file, *layout);
}

TEST(BitmapFile, RefusesHeadersThatDoNotDescribeThePixelsThatFollow) {
    const std::vector<uint8_t> good = FileOf(UncompressedHeader(5, 4, 24));
    auto refused = [&](auto change) {
        std::vector<uint8_t> file = good;
        change(file);
        return !Parse(file).has_value();
    };
    EXPECT_TRUE(refused([](auto& f) { f[0] = 'X'; }));
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(ReadLe32(&f[2]) + 1, &f[2]); }));    // size field
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(58, &f[10]); }));                    // offset
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(ReadLe32(&f[34]) + 4, &f[34]); }));  // image
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(6, &f[18]); }));                     // width
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(3, &f[22]); }));                     // height
    EXPECT_TRUE(refused([](auto& f) { WriteLe16(8, &f[28]); }));                     // 8 bits
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(3, &f[30]); }));                     // masks
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(1, &f[46]); }));  // a table not in the file
    EXPECT_TRUE(refused([](auto& f) { WriteLe32(300, &f[46]); }));
    EXPECT_TRUE(refused([](auto& f) {  // one byte more than described
        f.push_back(0);
        WriteLe32(static_cast<uint32_t>(f.size()), &f[2]);
    }));
    EXPECT_FALSE(Parse({}));
}

TEST(BitmapFile, RefusesEveryTruncation) {
    const std::vector<uint8_t> good = FileOf(UncompressedHeader(9, 7, 24));
    for (size_t size = 0; size < good.size(); ++size) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + size);
        EXPECT_FALSE(Parse(cut)) << size;
        // Even with the size field telling the truth the pixels are missing.
        if (size >= 6)
            WriteLe32(static_cast<uint32_t>(size), &cut[2]);
        EXPECT_FALSE(Parse(cut)) << size;
    }
}

TEST(BitmapFile, HostileSizesAreRefusedWithoutReadingPastTheFile) {
    std::vector<uint8_t> file = FileOf(UncompressedHeader(2, 2, 24));
    for (const auto& [width, height] :
         {std::pair{INT32_MAX, 1}, std::pair{1, INT32_MAX}, std::pair{0x10000, 0x10000},
          std::pair{1, INT32_MIN}, std::pair{-1, 1}}) {
        WriteLe32(static_cast<uint32_t>(width), &file[18]);
        WriteLe32(static_cast<uint32_t>(height), &file[22]);
        EXPECT_FALSE(Parse(file)) << width << " " << height;
    }
}

// Random damage to the headers of valid files: each result is either refused or consistent.
TEST(BitmapFile, RandomDamageIsRefusedOrConsistent) {
    std::mt19937 random(20240605);
    const std::vector<std::vector<uint8_t>> seeds = {FileOf(UncompressedHeader(3, 2, 24)),
                                                     FileOf(UncompressedHeader(4, -4, 32)),
                                                     FileOf(UncompressedHeader(5, 3, 16))};
    int accepted = 0;
    for (int round = 0; round < 50000; ++round) {
        std::vector<uint8_t> file = seeds[round % seeds.size()];
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const size_t at = random() % 64 % file.size();
            file[at] = static_cast<uint8_t>(random() % 3 == 0 ? 0xFF : random());
        }
        if (random() % 5 == 0)
            file.resize(random() % (file.size() + 16));
        const std::optional<BitmapFileLayout> layout = Parse(file);
        if (layout) {
            ++accepted;
            ExpectConsistent(file, *layout);
        }
    }
    EXPECT_GT(accepted, 0);  // some damage (to resolution fields, say) is harmless
}

}  // namespace
}  // namespace kineloop
