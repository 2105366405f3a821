// What an MP4's own boxes say of its first video track (turn, pixel shape, sample count and
// duration), hostile box layouts refused, and the picture shape and frame count built on them.
#include "video/frame_timing.h"
#include "video/movie_boxes.h"
#include "video/picture_shape.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kineloop {
namespace {

struct Bytes final : ByteSource {
    explicit Bytes(std::string from) : bytes(std::move(from)) {}
    uint64_t Size() const override { return bytes.size(); }
    bool Read(uint64_t offset, void* into, size_t count) override {
        if (offset > bytes.size() || count > bytes.size() - offset)
            return false;
        std::memcpy(into, bytes.data() + offset, count);
        return true;
    }
    std::string bytes;
};

std::string U32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string Box(const char* type, const std::string& body) {
    return U32(static_cast<uint32_t>(8 + body.size())) + type + body;
}

// A box whose header says `size` whatever its body is.
std::string Declared(uint32_t size, const char* type, const std::string& body) {
    return U32(size) + type + body;
}

std::string Tkhd(int32_t a, int32_t b, int32_t c, int32_t d, bool wide = false) {
    const std::string times(wide ? 32 : 20, '\0');
    const std::string matrix =
        U32(a) + U32(b) + U32(0) + U32(c) + U32(d) + U32(0) + U32(0) + U32(0) + U32(0x40000000);
    return Box("tkhd", std::string(1, wide ? 1 : 0) + std::string(3, '\0') + times +
                           std::string(16, '\0') + matrix + U32(720 << 16) + U32(480 << 16));
}

std::string Hdlr(const char* handler) {
    return Box("hdlr", U32(0) + U32(0) + handler + std::string(12, '\0') + "name");
}

std::string Mdhd(uint32_t timescale, uint32_t duration) {
    return Box("mdhd", U32(0) + U32(0) + U32(0) + U32(timescale) + U32(duration) + U32(0));
}

// A video sample entry of fixed fields, then `children` (avcC, pasp ...).
std::string Stsd(const std::string& children) {
    return Box("stsd", U32(0) + U32(1) + Box("avc1", std::string(78, '\0') + children));
}

std::string Pasp(uint32_t wide, uint32_t high) {
    return Box("pasp", U32(wide) + U32(high));
}

std::string Stsz(uint32_t count) {
    std::string table;
    for (uint32_t i = 0; i < count; ++i)
        table += U32(1000);
    return Box("stsz", U32(0) + U32(0) + U32(count) + table);
}

std::string Stts(const std::vector<std::pair<uint32_t, uint32_t>>& runs) {
    std::string body = U32(0) + U32(static_cast<uint32_t>(runs.size()));
    for (const auto& [count, delta] : runs)
        body += U32(count) + U32(delta);
    return Box("stts", body);
}

std::string Track(const std::string& tkhd, const char* handler, const std::string& mdhd,
                  const std::string& stbl) {
    return Box("trak", tkhd + Box("mdia", mdhd + Hdlr(handler) + Box("minf", Box("stbl", stbl))));
}

std::string Movie(const std::string& moovBody) {
    return Box("ftyp", "isom" + U32(512) + "isomavc1") + Box("moov", moovBody) +
           Box("mdat", std::string(64, 'x'));
}

const std::string kUpright = Tkhd(0x10000, 0, 0, 0x10000);
const std::string kAudio = Track(kUpright, "soun", Mdhd(44100, 441000), Stsz(3));

// A phone's upright recording: a sound track first, then the video, its pictures stored turned.
std::string PhoneVideo(const std::string& tkhd, const std::string& stsd) {
    return Movie(Box("mvhd", std::string(100, '\0')) + kAudio +
                 Track(tkhd, "vide", Mdhd(15360, 36864), stsd + Stts({{48, 768}}) + Stsz(48)));
}

TEST(MovieFacts, TheTurnComesFromTheVideoTracksMatrix) {
    const struct {
        int32_t a, b, c, d;
        uint32_t turn;
    } matrices[] = {
        {0x10000, 0, 0, 0x10000, 0},
        {0, 0x10000, -0x10000, 0, 90},
        {-0x10000, 0, 0, -0x10000, 180},
        {0, -0x10000, 0x10000, 0, 270},
        {0, 0x20000, -0x20000, 0, 90},     // scaled twice as large
        {-0x10000, 0, 0, 0x10000, 0},      // mirrored, not turned
        {0, 0x10000, 0x10000, 0, 0},       // a turn and a mirror
        {46341, 46341, -46341, 46341, 0},  // 45 degrees
        {0, 0, 0, 0, 0},
    };
    for (const auto& m : matrices) {
        EXPECT_EQ(RotationOfMatrix(m.a, m.b, m.c, m.d), m.turn) << m.a << " " << m.b;
        for (const bool wide : {false, true}) {
            Bytes file(PhoneVideo(Tkhd(m.a, m.b, m.c, m.d, wide), Stsd("")));
            const MovieFacts facts = ReadMovieFacts(file);
            EXPECT_TRUE(facts.read);
            EXPECT_EQ(facts.rotation, m.turn) << m.a << " " << m.b << " version " << wide;
        }
    }
}

TEST(MovieFacts, PixelShapeCountAndDurationOfTheFirstVideoTrack) {
    Bytes phone(PhoneVideo(Tkhd(0, 0x10000, -0x10000, 0), Stsd(Box("avcC", "xyz") + Pasp(32, 27))));
    const MovieFacts facts = ReadMovieFacts(phone);
    ASSERT_TRUE(facts.read);
    EXPECT_EQ(facts.rotation, 90u);
    EXPECT_EQ(facts.aspectWidth, 32u);
    EXPECT_EQ(facts.aspectHeight, 27u);
    EXPECT_EQ(facts.sampleCount, 48u) << "the video's, not the sound's";
    EXPECT_EQ(facts.timescale, 15360u);
    EXPECT_EQ(facts.duration, 36864u);

    const struct {
        const char* what;
        std::string stbl;
        uint32_t samples;
    } counts[] = {
        {"stts alone", Stsd("") + Stts({{12, 1000}, {36, 333}}), 48},
        {"stsz wins", Stsd("") + Stts({{5, 1000}}) + Stsz(7), 7},
        {"fragmented: none here", Stsd("") + Stts({}) + Stsz(0), 0},
    };
    for (const auto& c : counts) {
        Bytes file(Movie(Track(kUpright, "vide", Mdhd(1000, 0xFFFFFFFF), c.stbl)));
        const MovieFacts got = ReadMovieFacts(file);
        EXPECT_TRUE(got.read) << c.what;
        EXPECT_EQ(got.sampleCount, c.samples) << c.what;
        EXPECT_EQ(got.duration, 0u) << "all ones is an unknown duration";
        EXPECT_EQ(got.aspectWidth, 0u) << "no pasp";
    }
    // Only the first video track counts; a file without one says nothing.
    Bytes two(Movie(Track(kUpright, "vide", Mdhd(10, 12), Stsz(12)) +
                    Track(Tkhd(-0x10000, 0, 0, -0x10000), "vide", Mdhd(10, 99), Stsz(99))));
    EXPECT_EQ(ReadMovieFacts(two).sampleCount, 12u);
    EXPECT_EQ(ReadMovieFacts(two).rotation, 0u);
    Bytes sound(Movie(kAudio));
    EXPECT_TRUE(ReadMovieFacts(sound).read);
    EXPECT_EQ(ReadMovieFacts(sound).sampleCount, 0u);
}

TEST(MovieFacts, HostileBoxesLeaveTheFactsUnread) {
    const std::string video = Track(kUpright, "vide", Mdhd(10, 12), Stsd(Pasp(4, 3)) + Stsz(12));
    // Boxes inside boxes, each one deeper, down to the deepest allowed and one beyond.
    std::string deep = Box("free", "");
    for (int i = 0; i < kMostMovieBoxDepth; ++i)
        deep = Box("mdia", deep);
    std::string many;
    for (int i = 0; i < kMostMovieBoxes; ++i)
        many += Box("free", "");
    const std::string huge = U32(1) + "trak" + U32(0x7FFFFFFF) + U32(0xFFFFFFF0) + video;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"a track past the end of the header", Movie(Declared(4000, "trak", video.substr(8)))},
        {"a size of zero inside the header", Movie(Declared(0, "trak", video.substr(8)))},
        {"a size below its own header", Movie(Declared(4, "trak", video.substr(8)))},
        {"a huge 64-bit size", Movie(huge)},
        {"the header cut short", Movie(video).substr(0, 40 + video.size() / 2)},
        {"boxes nested too deep", Movie(deep)},
        {"a track in a track", Movie(Box("trak", video))},
        {"too many boxes", Movie(many + video)},
        {"a size table past its box",
         Movie(Track(kUpright, "vide", Mdhd(10, 12), Box("stsz", U32(0) + U32(0) + U32(99))))},
        {"time entries past their box",
         Movie(Track(kUpright, "vide", Mdhd(10, 12), Box("stts", U32(0) + U32(0x20000000))))},
        {"a track header cut before its matrix",
         Movie(Box("trak", Box("tkhd", std::string(40, '\0')) + video.substr(8)))},
        {"a sample entry shorter than its fields",
         Movie(Track(kUpright, "vide", Mdhd(10, 12),
                     Box("stsd", U32(0) + U32(1) + Box("avc1", std::string(20, '\0')))))},
        {"a pasp past its sample entry",
         Movie(
             Track(kUpright, "vide", Mdhd(10, 12), Stsd(Declared(200, "pasp", U32(4) + U32(3)))))},
        {"no movie file", "\x1a\x45\xdf\xa3" + std::string(60, '\0')},
        {"zero-filled", std::string(64, '\0')},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        Bytes file(c.bytes);
        const MovieFacts facts = ReadMovieFacts(file);
        EXPECT_FALSE(facts.read) << c.what;
        EXPECT_EQ(facts.aspectWidth, 0u) << c.what;
        EXPECT_EQ(facts.sampleCount, 0u) << c.what;
    }
    Bytes shallower(Movie(deep.substr(8)));
    EXPECT_TRUE(ReadMovieFacts(shallower).read);
}

TEST(PictureShape, OneTurnAndOnePixelShapeMakeTheShownSize) {
    const struct {
        uint32_t platform, file;
        int32_t storedWidth, storedHeight, decodedWidth, decodedHeight;
        uint32_t turn;
    } turns[] = {
        {0, 90, 720, 480, 720, 480, 90},     // Wine: the file alone says
        {90, 90, 720, 480, 720, 480, 90},    // both say it: turned once
        {270, 90, 720, 480, 720, 480, 270},  // they differ: the platform's word
        {0, 180, 720, 480, 720, 480, 180},
        {90, 0, 720, 480, 480, 720, 0},     // the platform turned it itself
        {0, 270, 480, 480, 480, 480, 270},  // square: nothing to tell by
        {45, 0, 720, 480, 720, 480, 0},
        {450, 0, 720, 480, 720, 480, 90},
    };
    for (const auto& t : turns) {
        EXPECT_EQ(TurnToApply(t.platform, t.file, t.storedWidth, t.storedHeight, t.decodedWidth,
                              t.decodedHeight),
                  t.turn)
            << t.platform << " " << t.file;
    }
    const struct {
        PixelAspect platform, file, applied;
    } aspects[] = {
        {{0, 0}, {32, 27}, {32, 27}},  // Wine: the file's pasp
        {{1, 1}, {32, 27}, {32, 27}},  // a platform that says square by default
        {{8, 9}, {32, 27}, {8, 9}},    // the platform's own word
        {{0, 0}, {0, 27}, {1, 1}},    {{0, 0}, {17, 1}, {1, 1}},
        {{0, 0}, {16, 1}, {16, 1}},   {{0, 0}, {0, 0}, {1, 1}},
    };
    for (const auto& a : aspects) {
        const PixelAspect got = AspectToApply(a.platform, a.file);
        EXPECT_EQ(got.width, a.applied.width) << a.file.width << ":" << a.file.height;
        EXPECT_EQ(got.height, a.applied.height) << a.file.width << ":" << a.file.height;
    }
    const struct {
        int32_t width, height;
        PixelAspect aspect;
        uint32_t turn;
        int32_t shownWidth, shownHeight;
    } sizes[] = {
        {720, 480, {32, 27}, 0, 853, 480}, {720, 480, {32, 27}, 90, 480, 853},
        {720, 480, {8, 9}, 0, 640, 480},   {720, 480, {1, 1}, 270, 480, 720},
        {720, 480, {0, 0}, 180, 720, 480}, {1, 1, {1, 16}, 0, 1, 1},
        {3, 2, {3, 2}, 0, 5, 2},  // 4.5 rounds half up
        {16384, 4, {16, 1}, 0, 262144, 4},
    };
    for (const auto& s : sizes) {
        int32_t w = 0, h = 0;
        ShownSize(s.width, s.height, s.aspect, s.turn, w, h);
        EXPECT_EQ(w, s.shownWidth) << s.width << " " << s.aspect.width << " " << s.turn;
        EXPECT_EQ(h, s.shownHeight) << s.width << " " << s.aspect.width << " " << s.turn;
    }
}

TEST(FrameTiming, TheMiddleGapAndTheBestCountClue) {
    const struct {
        std::vector<int64_t> times;
        int64_t frameTime;
    } gaps[] = {
        {{800000, 1800000, 2800000, 3800000}, 1000000},
        {{0, 2500000, 2833333, 3166666, 3499999, 3833332}, 333333},  // one odd first gap
        {{0, 1000000, 1333333, 1666666}, 333333},
        {{0, 400000}, 400000},
        {{5}, 0},
        {{}, 0},
        {{300, 200, 100}, 0},  // out of order: no gap
    };
    for (const auto& g : gaps)
        EXPECT_EQ(MedianFrameTime(g.times), g.frameTime) << g.times.size();

    const FrameRate ten{10, 1};
    const struct {
        const char* what;
        FrameCountClues clues;
        int32_t frames;
    } counts[] = {
        {"read to the end at the open", {5, 48, 0, 0, 50000000, ten}, 5},
        {"the container's own count", {-1, 48, 36864, 15360, 50000000, ten}, 48},
        {"the video track's duration", {-1, 0, 36, 15, 50000000, ten}, 24},
        {"the file's, audio and all", {-1, 0, 0, 0, 50000000, ten}, 50},
        {"no timescale", {-1, 0, 36, 0, 12000000, ten}, 12},
        {"no rate", {-1, 0, 36, 15, 12000000, {0, 0}}, 0},
        {"a count beyond 31 bits", {-1, 0xFFFFFFFF, 0, 0, 0, ten}, INT32_MAX},
        {"a duration beyond any count", {-1, 0, ~uint64_t{0}, 1, 0, ten}, INT32_MAX},
    };
    for (const auto& c : counts)
        EXPECT_EQ(CountFrames(c.clues), c.frames) << c.what;
}

}  // namespace
}  // namespace kineloop
