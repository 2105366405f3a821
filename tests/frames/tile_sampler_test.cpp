// The tile sampler against the way every tile was made before it: the whole frame converted to a
// 24-bit bitmap, then stretched. Every layout, odd sizes, padded pitches, picture areas, the four
// turns, shrinking, enlarging and tiles cut at the screen's edge; one field of an interlaced
// frame; and frames it must refuse.
#include "video/tile_sampler.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "video/yuv_to_dib.h"

namespace kineloop {
namespace {

using L = SampleLayout;

struct Layout {
    L layout;
    bool bottomUp;  // Rgb32 rows stored bottom-up (a negative pitch)
    const char* name;
};

// Bytes of a sample at `pitch` with chroma rows of half that pitch after an even number of luma
// lines, as Windows lays them out.
size_t SampleBytes(L layout, int32_t height, int32_t pitch) {
    const size_t lumaLines = static_cast<size_t>((height + 1) / 2 * 2);
    const size_t chromaLines = static_cast<size_t>((height + 1) / 2);
    switch (layout) {
        case L::Nv12:
        case L::P010:
            return size_t(pitch) * (lumaLines + chromaLines);
        case L::I420:
        case L::Yv12:
            return size_t(pitch) * lumaLines + 2 * size_t(pitch / 2) * chromaLines;
        default:
            return size_t(pitch) * size_t(height);
    }
}

int32_t RowBytes(L layout, int32_t width) {
    if (layout == L::Rgb32)
        return 4 * width;
    if (layout == L::Yuy2 || layout == L::P010)
        return 4 * ((width + 1) / 2);
    return (width + 1) / 2 * 2;
}

// The tile made as before: the whole frame converted, then stretched (the packed sampler, which
// the Windows tests hold to the platform's StretchDIBits).
TileImage ThroughWholeFrame(const SampleView& view, uint32_t rotation, int32_t stretchWidth,
                            int32_t stretchHeight, int32_t keptWidth, int32_t keptHeight) {
    std::vector<uint8_t> dib;
    EXPECT_TRUE(SampleToPackedDib(view, rotation, dib));
    DecodedFrame packed;
    packed.packed = dib.data();
    packed.bytes = dib.size();
    TileImage tile;
    EXPECT_TRUE(tile.Resize(keptWidth, keptHeight));
    EXPECT_TRUE(SampleFrameToTile(packed, stretchWidth, stretchHeight, tile));
    return tile;
}

TEST(SampleFrameToTile, EqualsTheWholeFrameConvertedAndStretched) {
    const Layout layouts[] = {{L::Nv12, false, "NV12"},   {L::I420, false, "I420"},
                              {L::Yv12, false, "YV12"},   {L::Yuy2, false, "YUY2"},
                              {L::Rgb32, false, "RGB32"}, {L::Rgb32, true, "RGB32 bottom-up"},
                              {L::P010, false, "P010"}};
    struct Size {
        int32_t width, height;
    };
    const Size frames[] = {{7, 5}, {16, 9}, {35, 22}};
    const int32_t paddings[] = {0, 12};  // bytes each row is padded by beyond its pixels
    struct Stretch {
        int32_t width, height, keptWidth, keptHeight;
        const char* what;
    };
    const Stretch stretches[] = {{5, 3, 5, 3, "shrunk"},
                                 {50, 41, 50, 41, "enlarged"},
                                 {13, 11, 9, 8, "odd ratio, cut"},
                                 {7, 40, 7, 40, "shrunk across, enlarged down"}};
    std::mt19937 random(27);
    for (const Layout& layout : layouts) {
        for (const Size& frame : frames) {
            for (int32_t padding : paddings) {
                const int32_t pitch = RowBytes(layout.layout, frame.width) + padding;
                // Random bytes everywhere: any wrong plane, pitch, offset or turn shows.
                std::vector<uint8_t> bytes(SampleBytes(layout.layout, frame.height, pitch));
                for (uint8_t& byte : bytes)
                    byte = static_cast<uint8_t>(random());
                SampleView view;
                view.data = bytes.data();
                view.bytes = bytes.size();
                view.layout = layout.layout;
                view.width = frame.width;
                view.height = frame.height;
                view.pitch = layout.bottomUp ? -pitch : (padding == 0 ? 0 : pitch);
                view.matrix = frame.width > 20 ? YuvMatrix::Bt709 : YuvMatrix::Bt601;
                view.range = padding == 0 ? YuvRange::Limited : YuvRange::Full;
                if (padding != 0)  // only a picture area of the frame
                    view.area = {1, 2, frame.width - 3, frame.height - 2};
                for (uint32_t rotation : {0u, 90u, 180u, 270u}) {
                    for (const Stretch& s : stretches) {
                        const std::string what =
                            std::string(layout.name) + " " + std::to_string(frame.width) + "x" +
                            std::to_string(frame.height) + " pitch " + std::to_string(pitch) +
                            " turned " + std::to_string(rotation) + ", " + s.what;
                        const TileImage expected = ThroughWholeFrame(
                            view, rotation, s.width, s.height, s.keptWidth, s.keptHeight);
                        DecodedFrame sample;
                        sample.sample = &view;
                        sample.rotation = rotation;
                        ASSERT_TRUE(FrameSamplable(sample)) << what;
                        TileImage tile;
                        ASSERT_TRUE(tile.Resize(s.keptWidth, s.keptHeight));
                        ASSERT_TRUE(SampleFrameToTile(sample, s.width, s.height, tile)) << what;
                        const size_t size = size_t(tile.Stride()) * size_t(tile.Height());
                        ASSERT_EQ(std::vector<uint8_t>(tile.Rows(), tile.Rows() + size),
                                  std::vector<uint8_t>(expected.Rows(), expected.Rows() + size))
                            << what;
                    }
                }
            }
        }
    }
}

// A 4 x 8 NV12 frame of two fields woven, the upper red and the lower green, each with chroma
// rows of its own (every other one): a tile shows its first field stretched, no combing.
TEST(SampleFrameToTile, ShowsOneFieldOfAnInterlacedFrame) {
    const uint8_t red[3] = {81, 90, 240}, green[3] = {145, 54, 34};  // Y U V, BT.601 limited
    std::vector<uint8_t> bytes(SampleBytes(L::Nv12, 8, 4));
    for (int32_t row = 0; row < 12; ++row) {  // 8 luma rows, then 4 chroma rows
        const uint8_t* c = (row < 8 ? row : row - 8) % 2 ? green : red;
        for (int32_t x = 0; x < 4; ++x)
            bytes[size_t(row) * 4 + x] = row < 8 ? c[0] : c[1 + x % 2];
    }
    SampleView view{bytes.data(), bytes.size(), L::Nv12, 4, 8, 4};
    DecodedFrame frame;
    frame.sample = &view;
    for (FieldOrder fields : {FieldOrder::UpperFirst, FieldOrder::LowerFirst}) {
        view.fields = fields;
        for (int32_t height : {8, 3}) {
            TileImage tile;
            ASSERT_TRUE(tile.Resize(4, height));
            ASSERT_TRUE(SampleFrameToTile(frame, 4, height, tile));
            const bool upper = fields == FieldOrder::UpperFirst;
            for (int32_t y = 0; y < height; ++y) {
                for (int32_t x = 0; x < 4; ++x) {
                    const uint8_t* p = tile.RowFromTop(y) + 3 * x;  // B G R
                    EXPECT_TRUE(upper ? p[2] > 250 && p[1] < 5 : p[1] > 250 && p[2] < 5)
                        << (upper ? "upper" : "lower") << " first, " << height << " rows, at " << x
                        << "," << y << ": " << int(p[2]) << "," << int(p[1]) << "," << int(p[0]);
                }
            }
        }
    }
}

TEST(SampleFrameToTile, RefusesWhatItCannotReadOrFill) {
    std::vector<uint8_t> bytes(SampleBytes(L::Nv12, 10, 12), 0x80);
    SampleView view;
    view.data = bytes.data();
    view.bytes = bytes.size();
    view.width = 12;
    view.height = 10;
    DecodedFrame sample;
    sample.sample = &view;
    TileImage tile;
    ASSERT_TRUE(tile.Resize(6, 5));
    EXPECT_TRUE(SampleFrameToTile(sample, 6, 5, tile));
    EXPECT_FALSE(SampleFrameToTile(sample, 5, 5, tile)) << "a stretch narrower than the tile";

    const struct {
        size_t bytes;
        int32_t width, height;
        const char* what;
    } refused[] = {{bytes.size() - 1, 12, 10, "a byte short"},
                   {bytes.size(), 0, 10, "no width"},
                   {bytes.size(), 12, -10, "a negative height"},
                   {bytes.size(), 1 << 20, 10, "wider than any frame"}};
    for (const auto& r : refused) {
        SampleView bad = view;
        bad.bytes = r.bytes;
        bad.width = r.width;
        bad.height = r.height;
        DecodedFrame frame;
        frame.sample = &bad;
        EXPECT_FALSE(FrameSamplable(frame)) << r.what;
        EXPECT_FALSE(SampleFrameToTile(frame, 6, 5, tile)) << r.what;
    }
    EXPECT_FALSE(FrameSamplable(DecodedFrame{})) << "no frame at all";
    EXPECT_FALSE(SampleFrameToTile(DecodedFrame{}, 6, 5, tile)) << "no frame at all";
}

}  // namespace
}  // namespace kineloop
