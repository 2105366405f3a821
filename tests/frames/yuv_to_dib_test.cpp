// Decoded YUV and RGB samples into packed 24-bit bitmaps: colours, plane layouts, turning upright
// and refusal of samples whose sizes do not fit their bytes.
#include "video/yuv_to_dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <utility>

#include "bitmap/dib.h"
#include "video/sample_planes.h"

namespace kineloop {
namespace {

using L = SampleLayout;

struct Yuv {
    int y, u, v;
};
struct Rgb {
    int r, g, b;
};

// A sample's geometry as the platform lays it out: the luma pitch, the 4:2:0 chroma pitch and
// the number of luma lines before the chroma (planes follow each other without gaps).
struct Geometry {
    SampleLayout layout;
    int32_t width, height, pitch, chromaPitch, lumaLines;
};

// Four colours in the four quadrants, split at even coordinates so that no chroma block mixes
// them: a wrong plane, pitch, offset or U/V order shows as a wrong colour somewhere.
int Quadrant(const Geometry& g, int32_t x, int32_t y) {
    return (x < (g.width + 2) / 4 * 2 ? 0 : 1) + (y < (g.height + 2) / 4 * 2 ? 0 : 2);
}

// The picture `colourAt` paints, laid out as `g` says and followed by `extra` bytes; padding 0xEE.
std::vector<uint8_t> LayOut(const Geometry& g, const std::function<Yuv(int32_t, int32_t)>& colourAt,
                            size_t extra) {
    const bool packed = g.layout == L::Yuy2, semi = g.layout == L::Nv12 || g.layout == L::P010;
    const size_t luma = size_t(g.pitch) * g.lumaLines;
    const size_t chromaPlane = size_t(semi ? g.pitch : g.chromaPitch) * ((g.lumaLines + 1) / 2);
    const size_t size = packed ? luma : luma + (semi ? 1 : 2) * chromaPlane;
    std::vector<uint8_t> bytes(size + extra, 0xEE);
    // Sample i of the row at `at`.
    const auto put = [&](size_t at, int32_t i, int value) {
        if (g.layout != L::P010)
            bytes[at + i] = uint8_t(value);
        else  // 10 bits in the high bits, the low byte's two of them set as well
            bytes[at + 2 * i] = 0xC0, bytes[at + 2 * i + 1] = uint8_t(value);
    };
    for (int32_t y = 0; y < g.height; ++y) {
        for (int32_t x = 0; x < g.width; ++x) {
            const Yuv c = colourAt(x, y);
            const size_t row = size_t(y) * g.pitch;
            if (packed) {
                put(row, 2 * x, c.y);
                put(row, x / 2 * 4 + 1, c.u), put(row, x / 2 * 4 + 3, c.v);
                continue;
            }
            put(row, x, c.y);
            if (x % 2 || y % 2)
                continue;  // chroma from the top-left pixel of its block
            const size_t at = luma + size_t(y / 2) * (semi ? g.pitch : g.chromaPitch);
            size_t uAt = at, vAt = semi ? at : at + chromaPlane;
            if (g.layout == L::Yv12)
                std::swap(uAt, vAt);
            put(uAt, semi ? x : x / 2, c.u), put(vAt, semi ? x + 1 : x / 2, c.v);
        }
    }
    return bytes;
}

// Pixel (x, y), y from the top, of a packed 24-bit bottom-up DIB.
Rgb PixelAt(const std::vector<uint8_t>& dib, int32_t x, int32_t y) {
    const DibHeader h = DecodeDibHeader(dib.data());
    const size_t stride = (size_t(h.biWidth) * 3 + 3) / 4 * 4;
    const uint8_t* p = dib.data() + kDibHeaderBytes + (h.biHeight - 1 - y) * stride + 3 * x;
    return {p[2], p[1], p[0]};
}

void ExpectPacked24BitDib(const std::vector<uint8_t>& dib, int32_t width, int32_t height) {
    ASSERT_GE(dib.size(), kDibHeaderBytes);
    const DibHeader h = DecodeDibHeader(dib.data());
    EXPECT_EQ(h.biWidth, width);
    EXPECT_EQ(h.biHeight, height);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(DibPixelBytes(h), h.biSizeImage);
    EXPECT_EQ(dib.size(), kDibHeaderBytes + h.biSizeImage);
}

constexpr YuvMatrix k601 = YuvMatrix::Bt601, k709 = YuvMatrix::Bt709;
constexpr YuvRange kLimited = YuvRange::Limited, kFull = YuvRange::Full;

struct ColourSet {
    YuvMatrix matrix;
    YuvRange range;
    Yuv yuv[4];
    const Rgb* rgb;
};

const Rgb kPrimaries[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 64, 192}};
const Rgb kExtremes[4] = {{0, 0, 0}, {255, 255, 255}, {255, 125, 255}, {0, 135, 0}};

const ColourSet kColourSets[] = {
    {k601, kLimited, {{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {100, 175, 147}}, kPrimaries},
    {k601, kFull, {{76, 85, 255}, {150, 44, 21}, {29, 255, 107}, {98, 181, 150}}, kPrimaries},
    {k709, kLimited, {{63, 102, 240}, {173, 42, 26}, {32, 240, 118}, {91, 178, 151}}, kPrimaries},
    {k709, kFull, {{54, 99, 255}, {182, 30, 12}, {18, 255, 116}, {87, 185, 154}}, kPrimaries},
    // Black and white, and values beyond the range that must clamp rather than wrap.
    {k601, kLimited, {{16, 128, 128}, {235, 128, 128}, {255, 255, 255}, {0, 0, 0}}, kExtremes},
};

// The tables' sums index the clamp table directly: every sum of every matrix and range, from its
// extremes, must fall within it.
TEST(YuvToDib, EveryColourSumLiesWithinTheClampTable) {
    const auto extremes = [](const int32_t(&table)[256]) {
        return std::minmax_element(std::begin(table), std::end(table));
    };
    for (YuvMatrix matrix : {YuvMatrix::Bt601, YuvMatrix::Bt709}) {
        for (YuvRange range : {YuvRange::Limited, YuvRange::Full}) {
            const ColourTables& t = ColourTablesFor(matrix, range);
            const auto luma = extremes(t.luma), blue = extremes(t.blue), red = extremes(t.red);
            const auto green = extremes(t.green), greenV = extremes(t.greenV);
            const int64_t lowest =
                std::min({*blue.first, *red.first, *green.first + *greenV.first});
            const int64_t highest =
                std::max({*blue.second, *red.second, *green.second + *greenV.second});
            EXPECT_GE((*luma.first + lowest) >> 16, -kClampedOffset);
            EXPECT_LT((*luma.second + highest) >> 16,
                      static_cast<int64_t>(kClampedValues) - kClampedOffset);
        }
    }
}

TEST(YuvToDib, KnownColoursInEveryLayoutPitchAndSize) {
    struct Case {
        Geometry g;
        size_t extra;  // bytes after the last plane; then the pitch is given, else derived
    };
    const Case cases[] = {
        // Measured under Wine: 350 x 198 NV12 arrives as 104,544 bytes, rows of 352.
        {{L::Nv12, 350, 198, 352, 352, 198}, 0},
        {{L::Nv12, 350, 198, 384, 384, 198}, 64},
        {{L::Nv12, 7, 5, 8, 8, 6}, 0},  // odd sizes, with an even or odd number of luma lines
        {{L::Nv12, 7, 5, 8, 8, 5}, 0},
        // Wine pads every plane's rows to 4 bytes: the chroma pitch is not half the luma pitch.
        {{L::I420, 354, 200, 356, 180, 200}, 0},
        {{L::Yv12, 9, 5, 12, 8, 6}, 0},
        // Half the luma pitch, as Windows documents it.
        {{L::I420, 354, 200, 384, 192, 200}, 100},
        {{L::Yv12, 7, 5, 8, 4, 6}, 0},
        {{L::I420, 9, 3, 10, 5, 3}, 0},
        {{L::Yuy2, 7, 5, 16, 0, 5}, 0},
        {{L::Yuy2, 8, 3, 20, 0, 3}, 8},
        {{L::P010, 350, 198, 704, 704, 198}, 0},
        {{L::P010, 7, 5, 20, 20, 6}, 4},
    };
    for (const Case& c : cases) {
        const Geometry& g = c.g;
        SCOPED_TRACE(testing::Message()
                     << int(g.layout) << " " << g.width << "x" << g.height << " pitch " << g.pitch);
        for (const ColourSet& set : kColourSets) {
            const std::vector<uint8_t> bytes = LayOut(
                g, [&](int32_t x, int32_t y) { return set.yuv[Quadrant(g, x, y)]; }, c.extra);
            SampleView sample{bytes.data(), bytes.size(), g.layout, g.width, g.height};
            sample.pitch = c.extra > 0 ? g.pitch : 0;
            sample.matrix = set.matrix, sample.range = set.range;
            std::vector<uint8_t> dib;
            ASSERT_TRUE(SampleToPackedDib(sample, 0, dib));
            ExpectPacked24BitDib(dib, g.width, g.height);
            for (int32_t y = 0; y < g.height; ++y) {
                for (int32_t x = 0; x < g.width; ++x) {
                    const Rgb want = set.rgb[Quadrant(g, x, y)], got = PixelAt(dib, x, y);
                    ASSERT_TRUE(std::abs(got.r - want.r) <= 2 && std::abs(got.g - want.g) <= 2 &&
                                std::abs(got.b - want.b) <= 2)
                        << "at " << x << "," << y << ": " << got.r << "," << got.g << "," << got.b
                        << " for " << want.r << "," << want.g << "," << want.b;
                }
            }
        }
    }
}

// A decoder's buffer holds more than the picture: rows and columns around its display aperture,
// or more rows than the height it reports. Only the picture is shown, never colour from the rest.
TEST(YuvToDib, ShowsOnlyThePictureOfABufferedFrame) {
    const Yuv red = {81, 90, 240}, green = {145, 54, 34};  // BT.601, limited
    const PictureArea aperture = {2, 4, 10, 6};
    for (L layout : {L::Nv12, L::I420, L::Yv12, L::Yuy2, L::P010}) {
        const int32_t rowBytes = layout == L::Yuy2 || layout == L::P010 ? 32 : 16,
                      pitch = 2 * rowBytes;
        struct Case {
            Geometry g;  // painted rows: the aperture's frame, or only the picture's
            int32_t pitch, height;
            PictureArea area, shown;
        } cases[] = {
            // A 16 x 12 frame around the aperture, green outside it; its pitch from its length.
            {{layout, 16, 12, pitch, pitch / 2, 12}, 0, 12, aperture, aperture},
            // Said to be 16 x 6, its buffer 16 rows high (a 16 x 6 picture once came out grey).
            {{layout, 16, 6, pitch, pitch / 2, 16}, pitch, 6, {}, {0, 0, 16, 6}},
            // An aperture outside the frame: all of it.
            {{layout, 16, 6, pitch, pitch / 2, 6}, pitch, 6, {10, 0, 10, 6}, {0, 0, 16, 6}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << int(layout) << " frame height " << c.height);
            const PictureArea& a = c.area;
            const std::vector<uint8_t> bytes = LayOut(
                c.g,
                [&](int32_t x, int32_t y) {
                    const bool inside = c.height == 6 || (x >= a.x && x < a.x + a.width &&
                                                          y >= a.y && y < a.y + a.height);
                    return inside ? red : green;
                },
                0);
            SampleView sample{bytes.data(), bytes.size(), layout, 16, c.height, c.pitch};
            sample.area = c.area;
            std::vector<uint8_t> dib;
            ASSERT_TRUE(SampleToPackedDib(sample, 0, dib));
            ExpectPacked24BitDib(dib, c.shown.width, c.shown.height);
            for (int32_t y = 0; y < c.shown.height; ++y) {
                for (int32_t x = 0; x < c.shown.width; ++x) {
                    const Rgb got = PixelAt(dib, x, y);
                    ASSERT_TRUE(got.r >= 253 && got.g <= 2 && got.b <= 2)
                        << "at " << x << "," << y << ": " << got.r << "," << got.g << "," << got.b;
                }
            }
        }
    }
}

// A 3 x 2 RGB32 sample whose pixel i (1 to 6, row by row from the top) is (i, 2i, 3i).
std::vector<uint8_t> NumberedRgb32(int32_t pitch) {
    std::vector<uint8_t> bytes(size_t(std::abs(pitch)) * 2, 0xEE);
    for (int i = 0; i < 6; ++i) {
        const size_t row = size_t(pitch < 0 ? 1 - i / 3 : i / 3) * std::abs(pitch);
        uint8_t* p = &bytes[row + 4 * (i % 3)];
        p[0] = uint8_t(3 * (i + 1)), p[1] = uint8_t(2 * (i + 1)), p[2] = uint8_t(i + 1);
    }
    return bytes;
}

// The content was turned counter-clockwise by the angle; shown upright it is turned back. Rows
// of an RGB32 sample come top-down, or bottom-up under a negative pitch.
TEST(YuvToDib, TurnsTheContentUprightFromRowsEitherWayUp) {
    struct Case {
        uint32_t rotation;
        int32_t pitch, width, height;
        std::vector<int> shown;  // source pixels 1 2 3 / 4 5 6 as shown, row by row
        PictureArea area{};      // the last two: the frame's right two columns, its bottom row
    };
    const Case cases[] = {
        {0, 12, 3, 2, {1, 2, 3, 4, 5, 6}},       {0, -20, 3, 2, {1, 2, 3, 4, 5, 6}},
        {90, 16, 2, 3, {4, 1, 5, 2, 6, 3}},      {180, -12, 3, 2, {6, 5, 4, 3, 2, 1}},
        {270, 12, 2, 3, {3, 6, 2, 5, 1, 4}},     {450, 12, 2, 3, {4, 1, 5, 2, 6, 3}},
        {45, 12, 3, 2, {1, 2, 3, 4, 5, 6}},      {90, 12, 2, 2, {5, 2, 6, 3}, {1, 0, 2, 2}},
        {0, -12, 3, 1, {4, 5, 6}, {0, 1, 3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rotation << " pitch " << c.pitch);
        const std::vector<uint8_t> bytes = NumberedRgb32(c.pitch);
        SampleView sample{bytes.data(), bytes.size(), L::Rgb32, 3, 2, c.pitch};
        sample.area = c.area;
        std::vector<uint8_t> dib;
        ASSERT_TRUE(SampleToPackedDib(sample, c.rotation, dib));
        ExpectPacked24BitDib(dib, c.width, c.height);
        std::vector<int> shown;  // 0 for a pixel whose channels came out of order
        for (int32_t y = 0; y < c.height; ++y) {
            for (int32_t x = 0; x < c.width; ++x) {
                const Rgb p = PixelAt(dib, x, y);
                shown.push_back(p.g == 2 * p.r && p.b == 3 * p.r ? p.r : 0);
            }
        }
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(YuvToDib, RefusesSizesThatDoNotFitTheBytesOrTheLimits) {
    struct Case {
        const char* name;
        SampleLayout layout;
        int32_t width, height, pitch;
        size_t bytes;
    };
    const Case cases[] = {
        {"nv12 one byte short", L::Nv12, 8, 4, 8, 47},
        {"yv12 odd one byte short", L::Yv12, 7, 5, 8, 8 * 5 + 4 * 2 + 3},
        {"yuy2 one byte short", L::Yuy2, 7, 5, 16, 16 * 4 + 15},
        {"rgb32 bottom-up one byte short", L::Rgb32, 3, 2, -12, 23},
        {"pitch shorter than a row", L::Yuy2, 8, 4, 15, 1000},
        {"nv12 pitch shorter than the chroma row", L::Nv12, 7, 4, 7, 1000},
        {"bottom-up yuv", L::Nv12, 8, 4, -8, 1000},
        {"no pitch fits", L::Nv12, 8, 4, 0, 47},
        {"zero width", L::Nv12, 0, 4, 8, 1000},
        {"negative height", L::I420, 8, -4, 8, 1000},
        {"side above 16384", L::Yuy2, 16386, 1, 32772, 40000},
        {"nv12 a whole row past its planes", L::Nv12, 8, 4, 8, 56},
        {"i420 two layouts fit", L::I420, 10, 4, 12, 78},  // chroma rows of 6 or of 8
    };
    std::vector<uint8_t> dib{1, 2, 3};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes(c.bytes, 0x80);
        SampleView sample{bytes.data(), bytes.size(), c.layout, c.width, c.height, c.pitch};
        EXPECT_FALSE(SampleToPackedDib(sample, 0, dib));
        EXPECT_TRUE(dib.empty());
    }
    // A picture beyond kMaxImageBytes is refused before a byte of it is read.
    const uint8_t few[16] = {};
    EXPECT_FALSE(SampleToPackedDib({few, SIZE_MAX, L::Rgb32, 16384, 16384, 65536}, 0, dib));
    EXPECT_FALSE(SampleToPackedDib({nullptr, 48, L::Nv12, 8, 4, 8}, 0, dib));
    EXPECT_EQ(PitchFromLength(L::I420, 8, 4, SIZE_MAX), 0);
    EXPECT_EQ(PitchFromLength(L::Nv12, 61, 1, 192), 64) << "not one luma row of 96";
    EXPECT_EQ(PitchFromLength(L::Nv12, 10, 3, 60), 0) << "four luma rows of 10, or three of 12";
}

// Random sizes, pitches and lengths over buffers of exactly that length: the sanitizers catch
// any read outside the sample; an accepted sample always gives a well-formed bitmap.
TEST(YuvToDib, RandomSizesNeverReadOutsideTheSample) {
    std::mt19937 random(17);
    int accepted = 0;
    for (int i = 0; i < 3000; ++i) {
        const SampleLayout layout = SampleLayout(random() % 5);
        const int32_t width = int32_t(random() % 24) + 1, height = int32_t(random() % 24) + 1;
        int32_t pitch = 0;
        if (random() % 2)
            pitch = int32_t(random() % (4 * width + 8)) - (layout == L::Rgb32 ? 20 : 2);
        size_t bytes = random() % (size_t(5 * width + 8) * (height + 2));
        if (random() % 3 == 0 && pitch == 0)  // a length that some pitch may fit
            bytes = size_t(width + random() % 8) * height * 3 / 2 + random() % 3;
        std::vector<uint8_t> sample(bytes);
        for (uint8_t& b : sample)
            b = uint8_t(random());
        std::vector<uint8_t> dib;
        const uint32_t rotation = 90 * (random() % 4);
        if (!SampleToPackedDib({sample.data(), bytes, layout, width, height, pitch}, rotation, dib))
            continue;
        ++accepted;
        const bool sideways = rotation % 180 != 0;
        ExpectPacked24BitDib(dib, sideways ? height : width, sideways ? width : height);
    }
    EXPECT_GT(accepted, 100);
}

}  // namespace
}  // namespace kineloop
