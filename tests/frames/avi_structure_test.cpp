// The look at an AVI file's layout before the platform parses it: ordinary files pass, files that
// would have the parser read through a missing stream or allocate beyond the file do not.
#include "video/avi_structure.h"

#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "frames/memory_bytes.h"

#include "bitmap/dib.h"

namespace kineloop {
namespace {

using test::MemoryBytes;

std::string Le32(uint32_t value) {
    std::string bytes(4, '\0');
    WriteLe32(value, reinterpret_cast<uint8_t*>(bytes.data()));
    return bytes;
}

std::string Chunk(const std::string& id, const std::string& data) {
    std::string chunk = id + Le32(static_cast<uint32_t>(data.size())) + data;
    if (data.size() % 2)
        chunk += '\0';
    return chunk;
}

std::string List(const std::string& type, const std::string& children) {
    return Chunk("LIST", type + children);
}

// A small AVI file of one video stream and `frames` frames, built to order.
struct AviFile {
    uint32_t declaredStreams = 1;
    int streamLists = 1;
    uint32_t flags = 0x10;  // has an index
    uint32_t length = 3;
    uint32_t start = 0;
    uint32_t sampleSize = 0;
    uint32_t formatBytes = 40;
    std::string frameId = "00dc";
    std::string indexId = "00dc";
    bool index = true;
    std::string afterStreams;  // chunks of the header list after the stream lists

    std::string Build() const {
        std::string avih(56, '\0');
        WriteLe32(flags, reinterpret_cast<uint8_t*>(&avih[12]));
        WriteLe32(declaredStreams, reinterpret_cast<uint8_t*>(&avih[24]));
        std::string strh = "vidscvid" + std::string(48, '\0');
        WriteLe32(start, reinterpret_cast<uint8_t*>(&strh[28]));
        WriteLe32(length, reinterpret_cast<uint8_t*>(&strh[32]));
        WriteLe32(sampleSize, reinterpret_cast<uint8_t*>(&strh[44]));
        std::string strf(formatBytes, '\0');
        if (formatBytes >= 4)
            WriteLe32(40, reinterpret_cast<uint8_t*>(&strf[0]));
        std::string lists;
        for (int i = 0; i < streamLists; ++i)
            lists += List("strl", Chunk("strh", strh) + Chunk("strf", strf));
        std::string movi, idx1;
        for (uint32_t frame = 0; frame < 3; ++frame) {
            idx1 += indexId + Le32(0x10) + Le32(4 + static_cast<uint32_t>(movi.size())) + Le32(6);
            movi += Chunk(frameId, "frame" + std::to_string(frame));
        }
        std::string body =
            "AVI " + List("hdrl", Chunk("avih", avih) + lists + afterStreams) + List("movi", movi);
        if (index)
            body += Chunk("idx1", idx1);
        return Chunk("RIFF", body);
    }
};

bool Safe(const std::string& bytes) {
    MemoryBytes source(bytes);
    return AviLayoutIsSafe(source);
}

TEST(AviLayout, OrdinaryFilesAndFilesThatAreNoAviPass) {
    EXPECT_TRUE(Safe(AviFile{}.Build()));
    AviFile noIndex;
    noIndex.index = false;
    noIndex.flags = 0;
    EXPECT_TRUE(Safe(noIndex.Build()));
    EXPECT_TRUE(Safe(""));
    EXPECT_TRUE(Safe("This is a text file, not a video.\n"));
    EXPECT_TRUE(Safe(Chunk("RIFF", "WAVE" + Chunk("fmt ", std::string(16, '\0')))));
}

TEST(AviLayout, MoreStreamsDeclaredThanDescribedAreRefused) {
    AviFile file;
    file.declaredStreams = 2;
    EXPECT_TRUE(Safe(file.Build()));  // the platform finds no second list and stops
    file.afterStreams = Chunk("JUNK", std::string(20, '\0'));
    EXPECT_FALSE(Safe(file.Build()));  // it takes the padding for a stream it leaves missing
    file.streamLists = 2;
    EXPECT_TRUE(Safe(file.Build()));
    file.declaredStreams = 200;  // refused by the platform itself
    EXPECT_TRUE(Safe(file.Build()));
    file.declaredStreams = 0;  // every chunk then names the stream one past the last
    EXPECT_FALSE(Safe(file.Build()));
}

TEST(AviLayout, ChunksOfTheStreamOnePastTheLastAreRefused) {
    AviFile file;
    file.indexId = "01dc";
    EXPECT_FALSE(Safe(file.Build()));
    file.indexId = "02dc";  // refused by the platform itself
    EXPECT_TRUE(Safe(file.Build()));

    // Without an index the frame list is what the platform reads.
    AviFile unindexed;
    unindexed.index = false;
    unindexed.flags = 0;
    unindexed.frameId = "01dc";
    EXPECT_FALSE(Safe(unindexed.Build()));
    unindexed.flags = 0x10;  // said to have an index, there is none: the list is not walked
    EXPECT_TRUE(Safe(unindexed.Build()));
    AviFile indexed;
    indexed.frameId = "01dc";  // the index, which names stream 0, is used instead
    EXPECT_TRUE(Safe(indexed.Build()));
    indexed.flags = 0;  // an index the main header disowns is not
    EXPECT_FALSE(Safe(indexed.Build()));
    // A cut index is dropped, and the frame list read instead.
    indexed.flags = 0x10;
    const std::string whole = indexed.Build();
    EXPECT_TRUE(Safe(whole));
    EXPECT_FALSE(Safe(whole.substr(0, whole.size() - 4)));
}

TEST(AviLayout, VideoOfFixedSampleSizeMustBeWholeSamplesFromZero) {
    AviFile file;
    file.sampleSize = 6;  // the size of every frame chunk
    EXPECT_TRUE(Safe(file.Build()));
    file.start = 5;
    EXPECT_FALSE(Safe(file.Build()));
    file.start = 0;
    file.sampleSize = 0x10000;
    EXPECT_FALSE(Safe(file.Build()));
    file.index = false;
    file.flags = 0;
    EXPECT_FALSE(Safe(file.Build()));
}

TEST(AviLayout, SizesBeyondTheFileAreRefused) {
    AviFile file;
    file.length = 1000000;  // a frame index of 16 MB for a file of 300 bytes
    EXPECT_FALSE(Safe(file.Build()));
    file.length = 3;
    file.formatBytes = 4;  // a bitmap header is read from it
    EXPECT_FALSE(Safe(file.Build()));

    // A header chunk that says it is longer than the file.
    std::string bytes = AviFile{}.Build();
    const size_t strf = bytes.find("strf");
    WriteLe32(0x7FFFFFF0, reinterpret_cast<uint8_t*>(&bytes[strf + 4]));
    EXPECT_FALSE(Safe(bytes));

    // An index entry for a chunk longer than the file.
    bytes = AviFile{}.Build();
    WriteLe32(0xFFFFFFFF, reinterpret_cast<uint8_t*>(&bytes[bytes.find("idx1") + 8 + 12]));
    EXPECT_FALSE(Safe(bytes));

    // An index of a size taken for negative.
    bytes = AviFile{}.Build();
    WriteLe32(0x80000000, reinterpret_cast<uint8_t*>(&bytes[bytes.find("idx1") + 4]));
    EXPECT_FALSE(Safe(bytes));
}

TEST(AviLayout, AnyDamageEndsWithAnAnswer) {
    const std::string good = AviFile{}.Build();
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = good;
        for (int i = 0; i < 3; ++i)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        if (round % 3 == 0)
            bytes.resize(random() % bytes.size());
        Safe(bytes);  // terminates, reads nothing outside the file (the sanitizer watches)
    }
    for (size_t size = 0; size <= good.size(); ++size)
        Safe(good.substr(0, size));
}

}  // namespace
}  // namespace kineloop
