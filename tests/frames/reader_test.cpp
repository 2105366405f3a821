// AviFrameReader on the test videos through the real AVIFile: the values it finds, every frame as
// encoded, the "Error : " message when and as it should come, readers one after another.
#include "video/avi_frame_reader_win32.h"

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "bitmap/packed_frame.h"
#include "frames/frames_test_support.h"

namespace kineloop {
namespace {

using test::MediaFile;
using test::MessageBoxWatcher;
using test_media::FrameColour;

struct CodecCase {
    const char* file;
    int32_t width, height;
    int tolerance;
    bool redBlueSwappedUnderWine;
};

std::ostream& operator<<(std::ostream& out, const CodecCase& c) {
    return out << c.file;
}

class DecodedByThePlatform : public ::testing::TestWithParam<CodecCase> {};

// Wine's MS Video 1 decoder writes red where a 24-bit bitmap keeps blue when it widens the
// codec's 5-5-5 colours (msvidc32 convert_depth); the file itself is right (its colour words
// are the standard 0RRRRRGGGGGBBBBB, and other decoders show the colours as encoded).
test_media::Colour Expected(const CodecCase& c, int frame) {
    test_media::Colour colour = FrameColour(frame);
    if (c.redBlueSwappedUnderWine && test::RunningUnderWine())
        std::swap(colour.r, colour.b);
    return colour;
}

TEST_P(DecodedByThePlatform, EveryFrameComesBackAsEncoded) {
    const CodecCase& c = GetParam();
    MessageBoxWatcher boxes;
    AviFrameReader reader;
    reader.Open(MediaFile(c.file));
    EXPECT_TRUE(reader.OpenedFully());
    EXPECT_TRUE(reader.HasDecoder());
    EXPECT_EQ(reader.OpenStatus(), 0);
    EXPECT_EQ(reader.FirstFrame(), 0);
    EXPECT_EQ(reader.FrameCount(), 12);
    EXPECT_EQ(reader.FrameWidth(), c.width);
    EXPECT_EQ(reader.FrameHeight(), c.height);
    const BITMAPINFOHEADER& asked = reader.RequestedFormat();
    EXPECT_EQ(asked.biSize, 40u);
    EXPECT_EQ(asked.biWidth, c.width);
    EXPECT_EQ(asked.biHeight, c.height);
    EXPECT_EQ(asked.biPlanes, 1);
    EXPECT_EQ(asked.biBitCount, 24);
    EXPECT_EQ(asked.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(asked.biSizeImage, static_cast<DWORD>(((c.width * 3 + 3) & ~3) * c.height));
    EXPECT_EQ(reader.FrameBytes(), 40 + asked.biSizeImage);

    for (int32_t n = reader.FirstFrame(); n < reader.FirstFrame() + reader.FrameCount(); ++n) {
        const void* frame = reader.ReadFrame(n);
        ASSERT_NE(frame, nullptr) << "frame " << n;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(frame);
        EXPECT_EQ(header->biSize, 40u);
        EXPECT_EQ(header->biWidth, c.width);
        EXPECT_EQ(header->biHeight, c.height);
        EXPECT_EQ(header->biBitCount, 24);
        EXPECT_EQ(header->biSizeImage, asked.biSizeImage);
        EXPECT_EQ(test::WrongPixels(frame, Expected(c, n), true, c.tolerance), 0)
            << "frame " << n << " centre "
            << test::Describe(test::PixelOf(frame, c.width / 2, c.height / 2)) << " expected "
            << test::Describe(Expected(c, n));
    }
    // Backwards and skipping, as a pass with a step does.
    for (int32_t n : {11, 3, 7, 0}) {
        const void* frame = reader.ReadFrame(n);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(test::WrongPixels(frame, Expected(c, n), true, c.tolerance), 0) << n;
    }
    EXPECT_EQ(reader.ReadFrame(12), nullptr);
    EXPECT_EQ(reader.ReadFrame(-1), nullptr);
    test::CloseAndReport(reader);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(reader.ReadFrame(0), nullptr);
    EXPECT_EQ(reader.FrameBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Codecs, DecodedByThePlatform,
                         ::testing::Values(CodecCase{test_media::kCinepak, 64, 48, 12, false},
                                           CodecCase{test_media::kMsVideo1, 64, 48, 10, true},
                                           // 61 pixels: rows of 183 bytes padded to 184
                                           CodecCase{test_media::kUncompressed24, 61, 45, 0,
                                                     false}));

TEST(AviFrameReader, TenFrameClipsShowTheirColourTable) {
    for (const auto& [file, width, height] : {std::tuple{test_media::kClip160x120, 160, 120},
                                              std::tuple{test_media::kClip320x240, 320, 240}}) {
        AviFrameReader reader;
        reader.Open(MediaFile(file));
        ASSERT_TRUE(reader.HasDecoder()) << file;
        EXPECT_EQ(reader.FrameCount(), 10);
        EXPECT_EQ(reader.FrameWidth(), width);
        EXPECT_EQ(reader.FrameHeight(), height);
        for (int n = 0; n < 10; ++n) {
            const void* frame = reader.ReadFrame(n);
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(test::WrongPixels(frame, FrameColour(n), false, 12), 0) << file << " " << n;
        }
        test::CloseAndReport(reader);
    }
}

TEST(AviFrameReader, StreamsWithoutAPlatformDecoderReadNoFrames) {
    MessageBoxWatcher boxes;
    for (const char* file : {test_media::kMjpeg}) {
        AviFrameReader reader;
        reader.Open(MediaFile(file));
        EXPECT_TRUE(reader.OpenedFully()) << file;
        EXPECT_EQ(reader.OpenStatus(), 0);
        EXPECT_EQ(reader.FrameCount(), 12);
        EXPECT_EQ(reader.FrameWidth(), 64);
        EXPECT_EQ(reader.FrameHeight(), 48);
        EXPECT_EQ(reader.RequestedFormat().biSizeImage, 64u * 3 * 48);
        // No 24-bit decoder here for Motion JPEG, nor a converter from 8-bit palette rows.
        EXPECT_FALSE(reader.HasDecoder()) << file;
        EXPECT_EQ(reader.ReadFrame(0), nullptr);
        EXPECT_EQ(reader.FrameBytes(), 0u);
        test::CloseAndReport(reader);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Wine hands 8-bit palette rows to its run-length decoder, which answers with garbage under a
// header that still gives the 8-bit image size (the file is right: other players show it as
// encoded). Whatever the platform does, no wrong picture may pass the snapshot copy.
TEST(AviFrameReader, PaletteFramesAreShownRightOrNotAtAll) {
    AviFrameReader reader;
    reader.Open(MediaFile(test_media::kPalette8));
    EXPECT_EQ(reader.OpenStatus(), 0);
    EXPECT_TRUE(reader.OpenedFully());
    EXPECT_EQ(reader.FrameCount(), 12);
    EXPECT_EQ(reader.FrameWidth(), 64);
    EXPECT_EQ(reader.FrameHeight(), 48);
    int taken = 0;
    for (int32_t n = 0; n < reader.FrameCount(); ++n) {
        const void* frame = reader.ReadFrame(n);
        if (!AcceptPackedFrame(frame, reader.FrameBytes()))
            continue;
        ++taken;
        EXPECT_EQ(test::WrongPixels(frame, FrameColour(n), true, 0), 0) << n;
    }
    if (test::RunningUnderWine()) {
        EXPECT_EQ(taken, 0);
    }
    test::CloseAndReport(reader);
}

TEST(AviFrameReader, OneFrameStreamHasFirstAndLastFrameEqual) {
    AviFrameReader reader;
    reader.Open(MediaFile(test_media::kOneFrame));
    EXPECT_EQ(reader.FirstFrame(), 0);
    EXPECT_EQ(reader.FrameCount(), 1);
    const void* frame = reader.ReadFrame(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(test::WrongPixels(frame, FrameColour(0), true, 12), 0);
    EXPECT_EQ(reader.ReadFrame(1), nullptr);
    test::CloseAndReport(reader);
}

TEST(AviFrameReader, StreamThatStartsAtFiveIsReadFromFive) {
    AviFrameReader reader;
    reader.Open(MediaFile(test_media::kStart5));
    EXPECT_EQ(reader.OpenStatus(), 0);
    const int32_t first = reader.FirstFrame();
    EXPECT_EQ(first, test_media::kStart5First);
    ASSERT_TRUE(reader.HasDecoder());
    // Wine numbers the samples from the first chunk stored, whatever the start, and takes the
    // number of chunks in the index for the length: samples 5 to 11 are chunks 5 to 11. Elsewhere
    // the length is the header's and samples 5 to 11 are chunks 0 to 6.
    const bool wine = test::RunningUnderWine();
    EXPECT_EQ(reader.FrameCount(), wine ? test_media::kStart5Chunks : test_media::kStart5Length);
    for (int32_t n = first; n < first + test_media::kStart5Length; ++n) {
        const void* frame = reader.ReadFrame(n);
        ASSERT_NE(frame, nullptr) << n;
        EXPECT_EQ(test::WrongPixels(frame, FrameColour(wine ? n : n - first), true, 12), 0) << n;
    }
    EXPECT_EQ(reader.ReadFrame(first - 1), nullptr);
    test::CloseAndReport(reader);
}

// A reader that failed at a status call shows the message once, in Close, after the releases.
class FailedOpen : public ::testing::Test {
  protected:
    test::TempFolder folder;

    std::vector<test::SeenBox> OpenAndClose(const std::wstring& path, int32_t* status = nullptr,
                                            bool* releasedBeforeBox = nullptr) {
        MessageBoxWatcher boxes([&](const test::SeenBox&) {
            if (releasedBeforeBox)
                *releasedBeforeBox = test::WritableByOthers(path);
        });
        AviFrameReader reader;
        reader.Open(path);
        EXPECT_FALSE(reader.OpenedFully());
        EXPECT_FALSE(reader.HasDecoder());
        EXPECT_EQ(reader.ReadFrame(0), nullptr);
        EXPECT_EQ(reader.FrameBytes(), 0u);
        if (status)
            *status = reader.OpenStatus();
        test::CloseAndReport(reader);
        test::CloseAndReport(reader);  // a second Close shows nothing more
        return boxes.Boxes();
    }

    void ExpectOneErrorBox(const std::vector<test::SeenBox>& boxes, const std::wstring& path) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, L"Kineloop");
        EXPECT_EQ(boxes[0].text, L"Error : \r\n" + path);
        EXPECT_TRUE(boxes[0].informationIcon);
    }
};

TEST_F(FailedOpen, FilesThatAreNoVideoShowTheMessageWithTheirPath) {
    for (const std::wstring& path : {MediaFile(test_media::kNotAvi), MediaFile(test_media::kEmpty),
                                     folder / L"missing.avi", folder / L"no folder\\missing.avi"}) {
        int32_t status = 0;
        ExpectOneErrorBox(OpenAndClose(path, &status), path);
        EXPECT_NE(status, 0);
    }
}

TEST_F(FailedOpen, FileWithoutVideoStreamIsReleasedBeforeTheMessage) {
    const std::wstring path = folder / L"audio.avi";
    ASSERT_TRUE(CopyFileW(MediaFile(test_media::kAudioOnly).c_str(), path.c_str(), FALSE));
    {
        // While the file is open, others may not write it: that is what the box checks below.
        AviFrameReader held;
        held.Open(path);
        EXPECT_FALSE(test::WritableByOthers(path));
        MessageBoxWatcher boxes;
        test::CloseAndReport(held);
    }
    bool released = false;
    int32_t status = 0;
    ExpectOneErrorBox(OpenAndClose(path, &status, &released), path);
    EXPECT_EQ(status, static_cast<int32_t>(AVIERR_NODATA));
    EXPECT_TRUE(released);
}

TEST_F(FailedOpen, FileLockedForWritingByAnotherProgram) {
    const std::wstring path = folder / L"locked.avi";
    ASSERT_TRUE(CopyFileW(MediaFile(test_media::kCinepak).c_str(), path.c_str(), FALSE));
    UniqueHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    ExpectOneErrorBox(OpenAndClose(path), path);
}

TEST(AviFrameReader, JapanesePathsWork) {
    test::TempFolder folder;
    const std::wstring sub = folder / L"動画フォルダ";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    const std::wstring path = sub + L"\\映像テスト.avi";
    ASSERT_TRUE(CopyFileW(MediaFile(test_media::kCinepak).c_str(), path.c_str(), FALSE));

    MessageBoxWatcher boxes;
    AviFrameReader reader;
    reader.Open(path);
    ASSERT_TRUE(reader.HasDecoder());
    const void* frame = reader.ReadFrame(4);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(test::WrongPixels(frame, FrameColour(4), true, 12), 0);
    test::CloseAndReport(reader);

    const std::wstring missing = sub + L"\\無い.avi";
    reader.Open(missing);
    test::CloseAndReport(reader);
    const std::vector<test::SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Error : \r\n" + missing);
}

TEST(AviFrameReader, ReadersOpenedOneAfterAnother) {
    test::TempFolder folder;
    const std::wstring missing = folder / L"gone.avi";
    MessageBoxWatcher boxes;
    for (int round = 0; round < 3; ++round) {
        for (const char* file : {test_media::kCinepak, test_media::kMsVideo1, test_media::kOneFrame,
                                 test_media::kMjpeg}) {
            AviFrameReader reader;
            reader.Open(MediaFile(file));
            EXPECT_EQ(reader.OpenStatus(), 0) << file;
            EXPECT_EQ(reader.FrameCount(), file == test_media::kOneFrame ? 1 : 12) << file;
            if (reader.HasDecoder()) {
                EXPECT_NE(reader.ReadFrame(0), nullptr) << file << " round " << round;
            }
            test::CloseAndReport(reader);
        }
        AviFrameReader failing;
        failing.Open(missing);
        test::CloseAndReport(failing);
    }
    // One reader opened again on other files, without a Close between.
    AviFrameReader reused;
    reused.Open(MediaFile(test_media::kMsVideo1));
    reused.Open(MediaFile(test_media::kClip160x120));
    EXPECT_EQ(reused.FrameWidth(), 160);
    EXPECT_NE(reused.ReadFrame(9), nullptr);
    test::CloseAndReport(reused);
    EXPECT_EQ(boxes.Boxes().size(), 3u);
}

TEST(AviFrameReader, DestructionReleasesTheFileWithoutAMessage) {
    test::TempFolder folder;
    const std::wstring path = folder / L"clip.avi";
    ASSERT_TRUE(CopyFileW(MediaFile(test_media::kCinepak).c_str(), path.c_str(), FALSE));
    MessageBoxWatcher boxes;
    {
        AviFrameReader reader;
        reader.Open(path);
        ASSERT_NE(reader.ReadFrame(2), nullptr);
        EXPECT_FALSE(test::WritableByOthers(path));
    }
    EXPECT_TRUE(test::WritableByOthers(path));
    {
        AviFrameReader failed;
        failed.Open(folder / L"missing.avi");
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
}  // namespace kineloop
