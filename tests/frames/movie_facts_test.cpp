// What an MP4's own boxes say of its first video track, hostile box layouts refused, and the turn,
// shape and frame count the reader takes from them and from the platform.
#include "video/frame_timing.h"
#include "video/movie_boxes.h"
#include "video/picture_shape.h"

#include <string>

#include <gtest/gtest.h>

#include "frames/memory_bytes.h"

namespace kineloop {
namespace {

using Bytes = test::MemoryBytes;

std::string U32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
// A box whose header says `size` (its true size when 0).
std::string Box(const char* type, const std::string& body, uint32_t size = 0) {
    return U32(size ? size : uint32_t(8 + body.size())) + type + body;
}
// tkhd of version 0 with the matrix a b / c d; version 1 has longer times before it.
std::string Tkhd(int32_t a, int32_t b, int32_t c, int32_t d, char version = 0) {
    return Box("tkhd", version + std::string(version ? 51 : 39, '\0') + U32(a) + U32(b) + U32(0) +
                           U32(c) + U32(d) + std::string(24, '\0'));
}
const std::string kUpright = Tkhd(0x10000, 0, 0, 0x10000);
// A track of `handler` (mdhd: 10 a second, 2.4 s) whose sample table holds `stbl`.
std::string Track(const std::string& tkhd, const char* handler, const std::string& stbl) {
    const std::string mdhd = Box("mdhd", std::string(12, '\0') + U32(10) + U32(24) + U32(0));
    const std::string hdlr = Box("hdlr", U32(0) + U32(0) + handler + std::string(12, '\0'));
    return Box("trak", tkhd + Box("mdia", mdhd + hdlr + Box("minf", Box("stbl", stbl))));
}
// A video sample entry of fixed fields, then `children`; a size table of `count` samples.
std::string Stsd(const std::string& children) {
    return Box("stsd", U32(0) + U32(1) + Box("avc1", std::string(78, '\0') + children));
}
std::string Stsz(uint32_t count) {
    return Box("stsz", U32(0) + U32(0) + U32(count) + std::string(4 * count, '\0'));
}
std::string Movie(const std::string& moov) {
    return Box("ftyp", "isom") + Box("moov", moov) + Box("mdat", "data");
}

// A phone's recording: sound first, then the video turned, of pixels of 32:27.
TEST(MovieFacts, TheFirstVideoTracksTurnShapeAndCount) {
    const std::string pasp = Box("pasp", U32(32) + U32(27));
    const struct {
        std::string tkhd;
        uint32_t turn;
    } turns[] = {
        {kUpright, 0},
        {Tkhd(0, 0x10000, -0x10000, 0), 90},
        {Tkhd(-0x10000, 0, 0, -0x10000, 1), 180},
        {Tkhd(0, -0x20000, 0x20000, 0), 270},    // scaled
        {Tkhd(-0x10000, 0, 0, 0x10000), 0},      // mirrored
        {Tkhd(46341, 46341, -46341, 46341), 0},  // 45 degrees
    };
    for (const auto& t : turns) {
        Bytes file(Movie(Track(kUpright, "soun", Stsz(3)) +
                         Track(t.tkhd, "vide", Stsd(Box("avcC", "x") + pasp) + Stsz(48)) +
                         Track(Tkhd(0, 0x10000, -0x10000, 0), "vide", Stsz(5))));
        const MovieFacts facts = ReadMovieFacts(file);
        ASSERT_TRUE(facts.read);
        EXPECT_EQ(facts.rotation, t.turn) << t.turn;
        EXPECT_EQ(facts.aspectWidth * 1000 + facts.aspectHeight, 32027u);
        EXPECT_EQ(facts.sampleCount, 48u);
        EXPECT_EQ(facts.duration * 1000 + facts.timescale, 24010u);
    }
    // Without a size table the time table counts.
    Bytes timed(Movie(Track(
        kUpright, "vide", Box("stts", U32(0) + U32(2) + U32(12) + U32(100) + U32(36) + U32(33)))));
    const MovieFacts varied = ReadMovieFacts(timed);
    EXPECT_EQ(varied.sampleCount, 48u);
    EXPECT_EQ(varied.sampleDelta, 0u) << "two durations";
    EXPECT_FALSE(varied.keyTable);
    // One duration but for a last single sample, and key frames listed from 1.
    Bytes even(Movie(Track(kUpright, "vide",
                           Box("stts", U32(0) + U32(2) + U32(47) + U32(100) + U32(1) + U32(40)) +
                               Box("stss", U32(0) + U32(3) + U32(41) + U32(1) + U32(21)))));
    const MovieFacts keyed = ReadMovieFacts(even);
    EXPECT_EQ(keyed.sampleDelta, 100u);
    EXPECT_TRUE(keyed.keyTable);
    EXPECT_EQ(keyed.keyFrames, (std::vector<uint32_t>{0, 20, 40}));
}

TEST(MovieFacts, HostileBoxesLeaveTheFactsUnread) {
    const std::string video = Track(kUpright, "vide", Stsd(Box("pasp", U32(4) + U32(3))) + Stsz(2));
    const std::string body = video.substr(8);
    std::string deep = Box("free", ""), many;
    for (int i = 0; i < kMostMovieBoxDepth; ++i)
        deep = Box("mdia", deep);
    for (int i = 0; i < kMostMovieBoxes; ++i)
        many += Box("free", "");
    const std::string cases[] = {
        Movie(Box("trak", body, 4000)),                            // past the header's end
        Movie(Box("trak", body, 0xFFFFFFFF)),                      // huge
        Movie(U32(1) + "trak" + U32(0x7FFFFFFF) + U32(0) + body),  // huge in 64 bits
        Movie(Box("free", "") + U32(0) + "trak" + body),           // zero inside
        Movie(Box("trak", body, 4)),                               // below its own header
        Movie(deep),                                               // nested too deep
        Movie(many + video),                                       // too many
        Movie(Box("trak", video)),                                 // a track in a track
        Movie(Track(kUpright, "vide", Box("stsz", U32(0) + U32(0) + U32(99)))),  // table past box
        Movie(Track(kUpright, "vide", Box("stss", U32(0) + U32(9) + U32(1)))),   // table past box
        Movie(Track(kUpright, "vide", Stsd(Box("pasp", "", 200)))),  // past its sample entry
        Movie(video).substr(0, 60),                                  // cut short
        "\x1a\x45\xdf\xa3" + std::string(60, '\0'),                  // no movie file
    };
    for (const std::string& bytes : cases) {
        Bytes file(bytes);
        EXPECT_FALSE(ReadMovieFacts(file).read) << &bytes - cases;
    }
    for (const std::string& whole : {Movie(video), Movie(deep.substr(8))}) {
        Bytes file(whole);
        EXPECT_TRUE(ReadMovieFacts(file).read);
    }
}

TEST(PictureShape, OneTurnOneShapeAndTheSizeSeen) {
    const struct {
        uint32_t platform, file;
        int32_t decodedWidth, decodedHeight;
        uint32_t turn;
    } turns[] = {
        {0, 90, 720, 480, 90},     // Wine: the file alone says
        {90, 90, 720, 480, 90},    // both say it: turned once
        {270, 90, 720, 480, 270},  // they differ: the platform's word
        {90, 0, 480, 720, 0},      // the platform turned it itself
        {45, 0, 720, 480, 0},
    };
    for (const auto& t : turns)
        EXPECT_EQ(TurnToApply(t.platform, t.file, 720, 480, t.decodedWidth, t.decodedHeight),
                  t.turn);
    const struct {
        PixelAspect platform, file;
        uint32_t turn;
        int32_t width, height;
    } sizes[] = {
        {{0, 0}, {32, 27}, 0, 853, 480}, {{1, 1}, {32, 27}, 90, 480, 853},
        {{8, 9}, {32, 27}, 0, 640, 480}, {{0, 0}, {17, 1}, 0, 720, 480},  // beyond any video's
        {{0, 0}, {0, 0}, 270, 480, 720}, {{0, 0}, {3, 2}, 0, 1080, 480},
    };
    for (const auto& s : sizes) {
        int32_t w = 0, h = 0;
        ShownSize(720, 480, AspectToApply(s.platform, s.file), s.turn, w, h);
        EXPECT_EQ(w * 10000 + h, s.width * 10000 + s.height)
            << s.file.width << ":" << s.file.height;
    }
}

TEST(FrameTiming, TheMiddleGapAndTheBestCountClue) {
    EXPECT_EQ(MedianFrameTime({0, 2500000, 2833333, 3166666, 3499999}), 333333);  // odd first gap
    EXPECT_EQ(MedianFrameTime({0, 1000000, 1333333, 1666666}), 333333);
    EXPECT_EQ(MedianFrameTime({300, 200}), 0);
    const FrameRate ten{10, 1};
    const struct {
        FrameCountClues clues;
        int32_t frames;
    } counts[] = {
        {{5, 48, 36, 15, 50000000, ten}, 5},    // read to the end at the open
        {{-1, 48, 36, 15, 50000000, ten}, 48},  // the container's own count
        {{-1, 0, 36, 15, 50000000, ten}, 24},   // the video track's duration
        {{-1, 0, 0, 0, 50000000, ten}, 50},     // the file's, sound and all
        {{-1, 0xFFFFFFFF, 0, 0, 0, ten}, INT32_MAX},
    };
    for (const auto& c : counts)
        EXPECT_EQ(CountFrames(c.clues), c.frames) << c.frames;
}

}  // namespace
}  // namespace kineloop
