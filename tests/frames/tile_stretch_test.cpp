// The tile sampler held to the platform: a packed frame sampled into its tile equals the frame
// stretched by StretchDIBits with COLORONCOLOR into a 24-bit bitmap, as every tile was made
// before, for shrinking, enlarging, odd ratios, tiles cut at the screen's edge, 16, 24 and
// 32-bit frames and both row orders.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "bitmap/packed_tile.h"
#include "frames/packed_dib.h"
#include "platform/handles_win32.h"
#include "scratch/stretched_frame_win32.h"

namespace kineloop {
namespace {

// The picture GDI draws of `frame` stretched to width x height into a bitmap of kept size.
std::vector<uint8_t> StretchedByGdi(const std::vector<uint8_t>& frame, int width, int height,
                                    int keptWidth, int keptHeight) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = keptWidth;
    info.bmiHeader.biHeight = keptHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || !bits)
        return {};
    const HGDIOBJ original = SelectObject(dc.Get(), bitmap.Get());
    SetStretchBltMode(dc.Get(), COLORONCOLOR);
    const DibHeader header = DecodeDibHeader(frame.data());
    const bool drawn =
        StretchRows(dc.Get(), header, frame.data() + kDibHeaderBytes, 0, 0, width, height);
    GdiFlush();
    const auto* first = static_cast<const uint8_t*>(bits);
    std::vector<uint8_t> picture(first, first + (keptWidth * 3 + 3) / 4 * 4 * keptHeight);
    SelectObject(dc.Get(), original);
    return drawn ? picture : std::vector<uint8_t>{};
}

TEST(PackedToTile, EqualsTheFrameStretchedByThePlatform) {
    struct Size {
        int32_t width, height;
    };
    const Size frames[] = {{1, 1}, {7, 5}, {64, 48}, {333, 241}, {1920, 1080}};
    struct Stretch {
        int width, height, keptWidth, keptHeight;
    };
    const Stretch stretches[] = {{320, 240, 320, 240}, {7, 5, 7, 5},   {13, 11, 9, 8},
                                 {100, 3, 100, 3},     {2, 97, 2, 60}, {1, 1, 1, 1}};
    std::mt19937 random(27);
    for (uint16_t bitCount : {24, 32, 16}) {
        for (const Size& size : frames) {
            for (int order : {1, -1}) {
                if (bitCount != 24 && size.width > 400)
                    continue;  // the large frame only as the readers give it
                std::vector<uint8_t> frame = test::PackedDib(
                    test::UncompressedHeader(size.width, order * size.height, bitCount));
                for (size_t i = kDibHeaderBytes; i < frame.size(); ++i)
                    frame[i] = static_cast<uint8_t>(random());
                for (const Stretch& s : stretches) {
                    const std::string what =
                        std::to_string(bitCount) + " bits " + std::to_string(size.width) + "x" +
                        std::to_string(order * size.height) + " to " + std::to_string(s.width) +
                        "x" + std::to_string(s.height) + " kept " + std::to_string(s.keptWidth) +
                        "x" + std::to_string(s.keptHeight);
                    const std::vector<uint8_t> expected =
                        StretchedByGdi(frame, s.width, s.height, s.keptWidth, s.keptHeight);
                    ASSERT_FALSE(expected.empty()) << what;
                    TileImage tile;
                    ASSERT_TRUE(tile.Resize(s.keptWidth, s.keptHeight));
                    ASSERT_TRUE(PackedToTile(DecodeDibHeader(frame.data()),
                                             frame.data() + kDibHeaderBytes, s.width, s.height,
                                             tile))
                        << what;
                    EXPECT_EQ(std::vector<uint8_t>(tile.Rows(), tile.Rows() + expected.size()),
                              expected)
                        << what;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kineloop
