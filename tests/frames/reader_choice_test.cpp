// The rules that choose how a video file is read: the AVI check before AVIFile, which library
// tries a file next, the frame rate a stream is counted at and its number of frames.
#include "video/frame_timing.h"
#include "video/reader_choice.h"
#include "video/yuv_to_dib.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "frames/memory_bytes.h"

namespace kineloop {
namespace {

TEST(ReaderChoice, OnlyAviFilesGoToAviFileFirst) {
    const struct {
        const char* path;
        bool avi;
    } names[] = {
        {"C:\\v\\CLIP.AVI", true},   {"C:\\動画\\映像.avi", true},
        {"C:\\v.avi\\clip", false},  {"avi", false},
        {"C:\\v\\clip.avi ", false}, {"", false},
    };
    for (const auto& c : names)
        EXPECT_EQ(HasAviExtension(c.path), c.avi) << c.path;

    using namespace std::string_literals;
    const struct {
        std::string bytes;
        bool avi;
    } heads[] = {
        {"RIFF\x10\0\0\0AVI "s, true},  {"RIFF\377\377\377\377AVI LIST"s, true},
        {std::string(12, '\0'), false},  // zero-filled, as a file not yet downloaded is
        {"RIFF\x10\0\0\0WAVE"s, false}, {"RIFX\x10\0\0\0AVI "s, false},
    };
    for (const auto& c : heads) {
        EXPECT_EQ(StartsAsRiffAvi(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()),
                  c.avi)
            << c.bytes.size();
    }
    const char* whole = "RIFF\x10\0\0\0AVI ";  // cut short before its last byte
    EXPECT_FALSE(StartsAsRiffAvi(reinterpret_cast<const uint8_t*>(whole), 11));
}

TEST(ReaderChoice, MediaFoundationTriesAnAviOnlyWhenAviFileReadItButHasNoDecoder) {
    const struct {
        AviOutcome avi;  // opened fully, size fits, has a decoder, palette video
        bool tries;
    } cases[] = {
        {{false, false, false, false}, false},  // not read: no AVI, damaged, a hostile layout
        {{true, true, false, false}, true},     // no decoder (Motion JPEG, MPEG-4 Part 2)
        {{true, false, false, false}, false},   // a size no decoder is asked for
        {{true, true, true, false}, false},     // AVIFile decodes it
        {{true, true, false, true}, false},     // refused for its 256 colours
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MediaFoundationTriesAfterAvi(c.avi), c.tries)
            << c.avi.openedFully << c.avi.sizeFits << c.avi.hasDecoder << c.avi.paletteVideo;
    }
}

TEST(FrameTiming, FrameRateAndCount) {
    // The first frame's time overrules a stated rate that is more than 5% off it.
    const struct {
        FrameRate stated;
        int64_t frameTime;
        FrameRate settled;
    } rates[] = {
        {{30000, 1001}, 333667, {30000, 1001}},   // 29.97, measured to the tick
        {{25, 1}, 1000000, {10000000, 1000000}},  // an ASF stream given 25 for its 10
        {{25, 1}, 420000, {25, 1}},               // within 5%
        {{25, 1}, 440000, {10000000, 440000}},    // just beyond
        {{25, 1}, 0, {25, 1}},                    // one frame: nothing measured
        {{0, 0}, 400000, {10000000, 400000}},     // no rate stated
        {{10, 1}, -400000, {10, 1}},              // out of order
    };
    for (const auto& c : rates) {
        const FrameRate got = SettledFrameRate(c.stated, c.frameTime);
        EXPECT_EQ(got.numerator, c.settled.numerator) << c.frameTime;
        EXPECT_EQ(got.denominator, c.settled.denominator) << c.frameTime;
    }
    // Frames in a duration of 100 ns units, to the nearest frame.
    const struct {
        uint64_t duration;
        uint32_t numerator, denominator;
        int32_t frames;
    } counts[] = {
        {11990000, 10, 1, 12}, {12040000, 10, 1, 12}, {100100000, 30000, 1001, 300},
        {12000000, 0, 1, 0},   {12000000, 10, 0, 0},  {~uint64_t{0}, 1000, 1, INT32_MAX},
    };
    for (const auto& c : counts)
        EXPECT_EQ(FramesInDuration(c.duration, c.numerator, c.denominator), c.frames) << c.duration;
    // High definition (BT.709 by default) by either side, upright phone video too.
    EXPECT_FALSE(IsHighDefinition(720, 576));
    EXPECT_TRUE(IsHighDefinition(1280, 720));
    EXPECT_TRUE(IsHighDefinition(720, 1280));
}

// A top-level box: 32-bit big-endian size (of `declared` bytes when given), type, `body` bytes.
std::string Box(const char* type, size_t body, int64_t declared = -1) {
    const uint32_t size = declared >= 0 ? static_cast<uint32_t>(declared) : 8 + body;
    std::string box = {static_cast<char>(size >> 24), static_cast<char>(size >> 16),
                       static_cast<char>(size >> 8), static_cast<char>(size)};
    return box + type + std::string(body, 'x');
}

TEST(ReaderChoice, AMovieCutShortBeforeItsHeaderNeverReachesThePlatform) {
    using namespace std::string_literals;
    const std::string ftyp = Box("ftyp", 16);
    const std::string large = "\0\0\0\1mdat\0\0\0\0\0\0\0\x20"s + std::string(16, 'x');  // size 32
    const struct {
        const char* what;
        std::string bytes;
        bool whole;
    } cases[] = {
        {"header at the end", ftyp + Box("mdat", 100) + Box("moov", 40), true},
        {"header first, data cut", ftyp + Box("moov", 40) + Box("mdat", 100, 500), true},
        {"data cut, no header", ftyp + Box("free", 0) + Box("mdat", 100, 500), false},
        {"header cut", ftyp + Box("mdat", 10) + Box("moov", 40).substr(0, 30), false},
        {"zero size: to the end", ftyp + Box("moov", 40, 0), true},
        {"64-bit size", ftyp + large + Box("moov", 8), true},
        {"size below 8", ftyp + "\0\0\0\4\0\0\0\10moov"s, false},  // a step of 4 lands on a header
        {"only the type box", ftyp, false},
        {"zero-filled", std::string(64, '\0'), true},
    };
    for (const auto& c : cases) {
        test::MemoryBytes file(c.bytes);
        EXPECT_EQ(MovieHeaderIsWhole(file), c.whole) << c.what;
    }
}

}  // namespace
}  // namespace kineloop
