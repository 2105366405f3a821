// Decoded YUV and RGB samples into packed 24-bit bitmaps: colours, plane layouts, turning upright
// and refusal of samples whose sizes do not fit their bytes.
#include "frames/yuv_to_dib.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "frames/dib.h"

namespace kineloop {
namespace {

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

// The sample's bytes, padding filled with 0xEE; chroma from the top-left pixel of its block.
std::vector<uint8_t> LayOut(const Geometry& g, const std::function<Yuv(int32_t, int32_t)>& at,
                            size_t extra = 0) {
    const size_t cw = (g.width + 1) / 2, ch = (g.height + 1) / 2;
    const size_t luma = size_t(g.pitch) * g.lumaLines;
    size_t size = size_t(g.pitch) * g.height;
    if (g.layout == SampleLayout::Nv12)
        size = luma + size_t(g.pitch) * ch;
    if (g.layout == SampleLayout::I420 || g.layout == SampleLayout::Yv12)
        size = luma + 2 * size_t(g.chromaPitch) * ch;
    std::vector<uint8_t> bytes(size + extra, 0xEE);
    const bool packed = g.layout == SampleLayout::Yuy2;
    for (int32_t y = 0; y < g.height; ++y) {
        for (int32_t x = 0; x < g.width; ++x) {
            const Yuv c = at(x, y);
            bytes[size_t(y) * g.pitch + (packed ? 2 * x : x)] = uint8_t(c.y);
            if (packed && x % 2 == 0) {
                bytes[size_t(y) * g.pitch + 2 * x + 1] = uint8_t(c.u);
                bytes[size_t(y) * g.pitch + 2 * x + 3] = uint8_t(c.v);
            }
        }
    }
    for (size_t cy = 0; !packed && cy < ch; ++cy) {
        for (size_t cx = 0; cx < cw; ++cx) {
            const Yuv c = at(int32_t(2 * cx), int32_t(2 * cy));
            const size_t first = luma + cy * g.chromaPitch + cx;
            const size_t second = first + size_t(g.chromaPitch) * ch;
            switch (g.layout) {
                case SampleLayout::Nv12:
                    bytes[luma + cy * g.pitch + 2 * cx] = uint8_t(c.u);
                    bytes[luma + cy * g.pitch + 2 * cx + 1] = uint8_t(c.v);
                    break;
                case SampleLayout::I420:
                    bytes[first] = uint8_t(c.u), bytes[second] = uint8_t(c.v);
                    break;
                default:
                    bytes[first] = uint8_t(c.v), bytes[second] = uint8_t(c.u);
                    break;
            }
        }
    }
    return bytes;
}

// The B, G, R bytes of pixel (x, y), y from the top, of a packed 24-bit bottom-up DIB.
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
    const std::optional<uint32_t> pixels = DibPixelBytes(h);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(h.biSizeImage, *pixels);
    EXPECT_EQ(dib.size(), kDibHeaderBytes + *pixels);
}

std::string Describe(Rgb c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

bool Near(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2;
}

// Four colours in the four quadrants, split at even coordinates so that no chroma block mixes
// them: a wrong plane, pitch, offset or U/V order shows as a wrong colour somewhere.
struct ColourSet {
    const char* name;
    YuvMatrix matrix;
    YuvRange range;
    std::array<Yuv, 4> yuv;
    std::array<Rgb, 4> rgb;
};

const ColourSet kColourSets[] = {
    {"601 limited",
     YuvMatrix::Bt601,
     YuvRange::Limited,
     {{{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {100, 175, 147}}},
     {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 64, 192}}}},
    {"601 full",
     YuvMatrix::Bt601,
     YuvRange::Full,
     {{{76, 85, 255}, {150, 44, 21}, {29, 255, 107}, {98, 181, 150}}},
     {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 64, 192}}}},
    {"709 limited",
     YuvMatrix::Bt709,
     YuvRange::Limited,
     {{{63, 102, 240}, {173, 42, 26}, {32, 240, 118}, {91, 178, 151}}},
     {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 64, 192}}}},
    {"709 full",
     YuvMatrix::Bt709,
     YuvRange::Full,
     {{{54, 99, 255}, {182, 30, 12}, {18, 255, 116}, {87, 185, 154}}},
     {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 64, 192}}}},
    // Black and white, and values beyond them that must clamp rather than wrap.
    {"limited extremes",
     YuvMatrix::Bt601,
     YuvRange::Limited,
     {{{16, 128, 128}, {235, 128, 128}, {0, 128, 128}, {255, 128, 128}}},
     {{{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}}}},
    {"full extremes",
     YuvMatrix::Bt709,
     YuvRange::Full,
     {{{0, 128, 128}, {255, 128, 128}, {255, 255, 255}, {0, 0, 0}}},
     {{{0, 0, 0}, {255, 255, 255}, {255, 172, 255}, {0, 84, 0}}}},
};

int Quadrant(const Geometry& g, int32_t x, int32_t y) {
    const int32_t splitX = (g.width + 2) / 4 * 2, splitY = (g.height + 2) / 4 * 2;
    return (x < splitX ? 0 : 1) + (y < splitY ? 0 : 2);
}

// Converts the quadrant picture of `set` laid out as `g` and checks every pixel.
void ExpectQuadrants(const Geometry& g, const ColourSet& set, bool passPitch, size_t extra = 0) {
    const std::vector<uint8_t> bytes = LayOut(
        g, [&](int32_t x, int32_t y) { return set.yuv[Quadrant(g, x, y)]; }, extra);
    SampleView sample;
    sample.data = bytes.data();
    sample.bytes = bytes.size();
    sample.layout = g.layout;
    sample.width = g.width;
    sample.height = g.height;
    sample.pitch = passPitch ? g.pitch : 0;
    sample.matrix = set.matrix;
    sample.range = set.range;
    std::vector<uint8_t> dib;
    ASSERT_TRUE(SampleToPackedDib(sample, 0, dib));
    ExpectPacked24BitDib(dib, g.width, g.height);
    int wrong = 0;
    for (int32_t y = 0; y < g.height; ++y) {
        for (int32_t x = 0; x < g.width; ++x) {
            const Rgb want = set.rgb[Quadrant(g, x, y)];
            const Rgb got = PixelAt(dib, x, y);
            if (!Near(got, want) && ++wrong <= 3)
                ADD_FAILURE() << set.name << " at " << x << "," << y << ": " << Describe(got)
                              << " instead of " << Describe(want);
        }
    }
    EXPECT_EQ(wrong, 0) << set.name;
}

TEST(YuvToDib, KnownColoursInEveryLayoutMatrixAndRange) {
    const Geometry layouts[] = {
        {SampleLayout::Nv12, 8, 4, 8, 8, 4},
        {SampleLayout::I420, 8, 4, 8, 4, 4},
        {SampleLayout::Yv12, 8, 4, 8, 4, 4},
        {SampleLayout::Yuy2, 8, 4, 16, 0, 4},
    };
    for (const Geometry& g : layouts) {
        for (const ColourSet& set : kColourSets) {
            SCOPED_TRACE(int(g.layout));
            ExpectQuadrants(g, set, true);
        }
    }
}

TEST(YuvToDib, PaddedRowsAndOddSizesAsThePlatformsLayThemOut) {
    struct Case {
        const char* name;
        Geometry g;
        bool passPitch;  // else derived from the sample's length
        size_t extra;    // bytes after the last plane
    };
    const Case cases[] = {
        // Measured under Wine: 350 x 198 NV12 arrives as 104,544 bytes, rows of 352.
        {"nv12 wine 350x198", {SampleLayout::Nv12, 350, 198, 352, 352, 198}, false, 0},
        {"nv12 odd, even luma lines", {SampleLayout::Nv12, 7, 5, 8, 8, 6}, false, 0},
        {"nv12 odd, odd luma lines", {SampleLayout::Nv12, 7, 5, 8, 8, 5}, false, 0},
        {"nv12 2d pitch, trailing bytes", {SampleLayout::Nv12, 350, 198, 384, 384, 198}, true, 64},
        // Every plane's rows padded to 4 bytes: the chroma pitch is not half the luma pitch.
        {"i420 rows padded to 4", {SampleLayout::I420, 354, 200, 356, 180, 200}, false, 0},
        {"yv12 rows padded to 4", {SampleLayout::Yv12, 9, 5, 12, 8, 6}, false, 0},
        // Half the luma pitch, as Windows documents it.
        {"i420 half pitch", {SampleLayout::I420, 354, 200, 384, 192, 200}, false, 0},
        {"i420 half pitch given", {SampleLayout::I420, 354, 200, 384, 192, 200}, true, 100},
        {"yv12 odd half pitch", {SampleLayout::Yv12, 7, 5, 8, 4, 6}, false, 0},
        {"i420 odd, odd luma lines", {SampleLayout::I420, 9, 3, 10, 5, 3}, false, 0},
        {"yuy2 odd width", {SampleLayout::Yuy2, 7, 5, 16, 0, 5}, false, 0},
        {"yuy2 padded", {SampleLayout::Yuy2, 7, 3, 20, 0, 3}, true, 0},
        {"one pixel", {SampleLayout::Nv12, 1, 1, 4, 4, 2}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.passPitch && c.extra == 0) {
            const std::vector<uint8_t> bytes = LayOut(c.g, [](int32_t, int32_t) { return Yuv{}; });
            EXPECT_EQ(PitchFromLength(c.g.layout, c.g.width, c.g.height, bytes.size()), c.g.pitch);
        }
        ExpectQuadrants(c.g, kColourSets[0], c.passPitch, c.extra);
    }
    EXPECT_EQ(PitchFromLength(SampleLayout::Nv12, 350, 198, 104544), 352);
}

// An RGB32 sample of `width` x `height` whose pixel i (row by row from the top) is (i, 2i, 3i).
std::vector<uint8_t> NumberedRgb32(int32_t width, int32_t height, int32_t pitch) {
    std::vector<uint8_t> bytes(size_t(std::abs(pitch)) * height, 0xEE);
    for (int32_t y = 0; y < height; ++y) {
        const size_t row = size_t(pitch < 0 ? height - 1 - y : y) * std::abs(pitch);
        for (int32_t x = 0; x < width; ++x) {
            const int i = y * width + x + 1;
            bytes[row + 4 * x] = uint8_t(3 * i);
            bytes[row + 4 * x + 1] = uint8_t(2 * i);
            bytes[row + 4 * x + 2] = uint8_t(i);
        }
    }
    return bytes;
}

// The numbers of the source pixels as the picture shows them, row by row from the top.
std::vector<int> Numbers(const std::vector<uint8_t>& dib) {
    const DibHeader h = DecodeDibHeader(dib.data());
    std::vector<int> numbers;
    for (int32_t y = 0; y < h.biHeight; ++y)
        for (int32_t x = 0; x < h.biWidth; ++x)
            numbers.push_back(PixelAt(dib, x, y).r);
    return numbers;
}

TEST(YuvToDib, Rgb32RowsTopDownOrBottomUp) {
    for (int32_t pitch : {12, 16, -12, -20}) {
        SCOPED_TRACE(pitch);
        const std::vector<uint8_t> bytes = NumberedRgb32(3, 2, pitch);
        SampleView sample{bytes.data(), bytes.size(), SampleLayout::Rgb32, 3, 2, pitch};
        std::vector<uint8_t> dib;
        ASSERT_TRUE(SampleToPackedDib(sample, 0, dib));
        ExpectPacked24BitDib(dib, 3, 2);
        EXPECT_EQ(Numbers(dib), (std::vector<int>{1, 2, 3, 4, 5, 6}));
        const Rgb last = PixelAt(dib, 2, 1);
        EXPECT_EQ(last.g, 12);
        EXPECT_EQ(last.b, 18);
    }
}

// The content was turned counter-clockwise by the angle; shown upright it is turned back.
TEST(YuvToDib, TurnsTheContentUpright) {
    struct Case {
        uint32_t rotation;
        int32_t width, height;
        std::vector<int> shown;  // source pixels 1 2 3 / 4 5 6 as shown, row by row
    };
    const Case cases[] = {
        {0, 3, 2, {1, 2, 3, 4, 5, 6}},   {90, 2, 3, {4, 1, 5, 2, 6, 3}},
        {180, 3, 2, {6, 5, 4, 3, 2, 1}}, {270, 2, 3, {3, 6, 2, 5, 1, 4}},
        {360, 3, 2, {1, 2, 3, 4, 5, 6}}, {450, 2, 3, {4, 1, 5, 2, 6, 3}},
        {45, 3, 2, {1, 2, 3, 4, 5, 6}},
    };
    const std::vector<uint8_t> bytes = NumberedRgb32(3, 2, 12);
    const SampleView sample{bytes.data(), bytes.size(), SampleLayout::Rgb32, 3, 2, 12};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        int32_t w = 0, h = 0;
        RotatedSize(3, 2, c.rotation, w, h);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        std::vector<uint8_t> dib;
        ASSERT_TRUE(SampleToPackedDib(sample, c.rotation, dib));
        ExpectPacked24BitDib(dib, c.width, c.height);
        EXPECT_EQ(Numbers(dib), c.shown);
    }
}

TEST(YuvToDib, TurnsAYuvSampleWithItsChroma) {
    // 350 x 198 NV12 turned a quarter: red top left becomes red top right.
    const Geometry g{SampleLayout::Nv12, 350, 198, 352, 352, 198};
    const ColourSet& set = kColourSets[0];
    const std::vector<uint8_t> bytes =
        LayOut(g, [&](int32_t x, int32_t y) { return set.yuv[Quadrant(g, x, y)]; });
    const SampleView sample{bytes.data(), bytes.size(), g.layout, g.width, g.height};
    std::vector<uint8_t> dib;
    ASSERT_TRUE(SampleToPackedDib(sample, 90, dib));
    ExpectPacked24BitDib(dib, 198, 350);
    EXPECT_TRUE(Near(PixelAt(dib, 197, 0), set.rgb[0]));    // red
    EXPECT_TRUE(Near(PixelAt(dib, 197, 349), set.rgb[1]));  // green
    EXPECT_TRUE(Near(PixelAt(dib, 0, 0), set.rgb[2]));      // blue
    EXPECT_TRUE(Near(PixelAt(dib, 0, 349), set.rgb[3]));
}

TEST(YuvToDib, RefusesSizesThatDoNotFitTheBytesOrTheLimits) {
    struct Case {
        const char* name;
        SampleLayout layout;
        int32_t width, height, pitch;
        size_t bytes;
    };
    const Case cases[] = {
        {"nv12 one byte short", SampleLayout::Nv12, 8, 4, 8, 47},
        {"nv12 no pitch fits", SampleLayout::Nv12, 8, 4, 0, 47},
        {"i420 one byte short", SampleLayout::I420, 8, 4, 8, 47},
        {"yv12 odd one byte short", SampleLayout::Yv12, 7, 5, 8, 8 * 5 + 4 * 2 + 3},
        {"yuy2 one byte short", SampleLayout::Yuy2, 7, 5, 16, 16 * 4 + 15},
        {"rgb32 one byte short", SampleLayout::Rgb32, 3, 2, 12, 23},
        {"rgb32 bottom-up one byte short", SampleLayout::Rgb32, 3, 2, -12, 23},
        {"pitch shorter than a row", SampleLayout::Yuy2, 8, 4, 15, 1000},
        {"nv12 pitch shorter than the chroma row", SampleLayout::Nv12, 7, 4, 7, 1000},
        {"bottom-up yuv", SampleLayout::Nv12, 8, 4, -8, 1000},
        {"no bytes", SampleLayout::Nv12, 8, 4, 0, 0},
        {"zero width", SampleLayout::Nv12, 0, 4, 8, 1000},
        {"negative height", SampleLayout::I420, 8, -4, 8, 1000},
        {"side above 16384", SampleLayout::Yuy2, 16386, 1, 32772, 40000},
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
    const SampleView huge{few, SIZE_MAX, SampleLayout::Rgb32, 16384, 16384, 65536};
    EXPECT_FALSE(SampleToPackedDib(huge, 0, dib));
    const SampleView noData{nullptr, 48, SampleLayout::Nv12, 8, 4, 8};
    EXPECT_FALSE(SampleToPackedDib(noData, 0, dib));
    EXPECT_EQ(PitchFromLength(SampleLayout::I420, 8, 4, SIZE_MAX), 0);
}

// Random sizes, pitches and lengths over buffers of exactly that length: the sanitizers catch
// any read outside the sample; an accepted sample always gives a well-formed bitmap.
TEST(YuvToDib, RandomSizesNeverReadOutsideTheSample) {
    std::mt19937 random(17);
    const SampleLayout layouts[] = {SampleLayout::Nv12, SampleLayout::I420, SampleLayout::Yv12,
                                    SampleLayout::Yuy2, SampleLayout::Rgb32};
    int accepted = 0;
    for (int i = 0; i < 3000; ++i) {
        const SampleLayout layout = layouts[random() % 5];
        const int32_t width = int32_t(random() % 24) + 1, height = int32_t(random() % 24) + 1;
        int32_t pitch = 0;
        if (random() % 2)
            pitch = int32_t(random() % (4 * width + 8)) - (layout == SampleLayout::Rgb32 ? 20 : 2);
        size_t bytes = random() % (size_t(5 * width + 8) * (height + 2));
        if (random() % 3 == 0 && pitch == 0) {  // a length that some pitch may fit
            bytes = size_t(width + random() % 8) * height * 3 / 2 + random() % 3;
        }
        std::vector<uint8_t> sample(bytes);
        for (uint8_t& b : sample)
            b = uint8_t(random());
        const SampleView view{sample.data(), bytes, layout, width, height, pitch};
        std::vector<uint8_t> dib;
        const uint32_t rotation = 90 * (random() % 4);
        if (!SampleToPackedDib(view, rotation, dib))
            continue;
        ++accepted;
        int32_t w = 0, h = 0;
        RotatedSize(width, height, rotation, w, h);
        ExpectPacked24BitDib(dib, w, h);
    }
    EXPECT_GT(accepted, 100);
}

}  // namespace
}  // namespace kineloop
