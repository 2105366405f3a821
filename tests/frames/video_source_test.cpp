// The frame source the show and the dialog open, under Wine against the real AVIFile and Media
// Foundation: which library reads each kind of file, frame counts, colours and the picture's
// orientation of the formats only Media Foundation decodes, and files no library can show.
#include "video/open_video_win32.h"

#include "video/media_foundation_reader_win32.h"

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "frames/frames_test_support.h"
#include "platform/handles_win32.h"
#include "platform/text_win32.h"
#include "video/yuv_to_dib.h"

namespace kineloop {
namespace {

using test::MediaFile;
using test::MessageBoxWatcher;
using test_media::FrameColour;

struct FormatCase {
    const char* file;
    int32_t width, height;
};

std::ostream& operator<<(std::ostream& out, const FormatCase& c) {
    return out << c.file;
}

// Lossy codecs smear a few pixels at the band's edge.
int WrongAtMost(const FormatCase& c) {
    return c.width * c.height / 40;
}

class ReadThroughMediaFoundation : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ReadThroughMediaFoundation, FramesComeBackUprightInTheirColours) {
    const FormatCase& c = GetParam();
    MessageBoxWatcher boxes;
    const auto source = OpenFrameSource(MediaFile(c.file), WaitStyle::AllMessages);
    EXPECT_EQ(source->Library(), VideoLibrary::MediaFoundation);
    ASSERT_TRUE(source->OpenedFully());
    ASSERT_TRUE(source->HasDecoder());
    EXPECT_EQ(source->FirstFrame(), 0);
    EXPECT_EQ(source->FrameCount(), 12);
    EXPECT_EQ(source->FrameWidth(), c.width);
    EXPECT_EQ(source->FrameHeight(), c.height);
    EXPECT_NEAR(source->FramesPerSecond(), 10.0, 0.01);

    // Forwards with a skip, backwards (a new pass), and the thumbnail's frame 0 again.
    for (int32_t n : {0, 6, 7, 11, 3, 0}) {
        const void* frame = source->ReadFrame(n);
        ASSERT_NE(frame, nullptr) << "frame " << n;
        const auto* header = static_cast<const BITMAPINFOHEADER*>(frame);
        EXPECT_EQ(header->biWidth, c.width);
        EXPECT_EQ(header->biHeight, c.height) << "bottom-up rows";
        EXPECT_EQ(header->biBitCount, 24);
        EXPECT_EQ(source->FrameBytes(),
                  40u + static_cast<size_t>((c.width * 3 + 3) & ~3) * c.height);
        EXPECT_LE(test::WrongPixels(frame, FrameColour(n), true, 40), WrongAtMost(c))
            << "frame " << n << " centre "
            << test::Describe(test::PixelOf(frame, c.width / 2, c.height * 3 / 4)) << " top "
            << test::Describe(test::PixelOf(frame, c.width / 2, 0)) << " expected "
            << test::Describe(FrameColour(n));
    }
    EXPECT_EQ(source->ReadFrame(12), nullptr);
    EXPECT_EQ(source->ReadFrame(-1), nullptr);
    EXPECT_NE(source->ReadFrame(1), nullptr) << "a frame past the end spoils nothing";
    EXPECT_FALSE(source->Close());
    EXPECT_EQ(source->ReadFrame(0), nullptr);
    EXPECT_TRUE(boxes.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, ReadThroughMediaFoundation,
                         ::testing::Values(FormatCase{test_media::kH264, 64, 48},
                                           FormatCase{test_media::kH264WithAudio, 64, 48},
                                           FormatCase{test_media::kH264Odd, 350, 198},
                                           FormatCase{test_media::kMjpeg, 64, 48},
                                           FormatCase{test_media::kMpeg4Avi, 64, 48},
                                           FormatCase{test_media::kWmv, 64, 48},
                                           FormatCase{test_media::kVp9, 64, 48},
                                           FormatCase{test_media::kVp9WithAudio, 64, 48},
                                           FormatCase{test_media::kVp9Mkv, 64, 48}));

// The show names the frame it asks for next while it handles the last one. Whatever it then asks
// for, the frames are those of plain reads, and a source closed or dropped with a read ahead
// under way ends cleanly.
// The show keeps two frames read ahead, each handed to its work on the video thread: they are
// taken in order, a frame asked for instead is read as usual, and a source dropped with two under
// way ends cleanly.
TEST(OpenFrameSource, FramesReadAheadWithWorkAreTakenInOrder) {
    using Copy = std::shared_ptr<std::vector<uint8_t>>;
    const auto copyInto = [](const Copy& copy) {
        return [copy](const DecodedFrame& frame) {
            // The decoder's own sample is turned into the bitmap ReadFrame would give.
            if (frame.sample) {
                SampleToPackedDib(*frame.sample, frame.rotation, *copy);
                return;
            }
            const auto* first = static_cast<const uint8_t*>(frame.packed);
            copy->assign(first, first + frame.bytes);
        };
    };
    const auto isFrame = [](const void* frame, int32_t n) {
        return frame != nullptr &&
               test::WrongPixels(frame, FrameColour(n), true, 40) <= 64 * 48 / 40;
    };
    for (const char* file : {test_media::kCinepak, test_media::kH264}) {
        const auto source = OpenFrameSource(MediaFile(file), WaitStyle::AllMessages);
        ASSERT_NE(source->ReadFrame(0), nullptr) << file;
        const Copy one = std::make_shared<std::vector<uint8_t>>(),
                   two = std::make_shared<std::vector<uint8_t>>();
        ASSERT_TRUE(source->ReadAhead(1, copyInto(one))) << file;
        ASSERT_TRUE(source->ReadAhead(2, copyInto(two))) << file;
        EXPECT_FALSE(source->TakeAhead(2)) << file << ": frame 1 comes first";
        ASSERT_TRUE(source->TakeAhead(1)) << file;
        EXPECT_TRUE(isFrame(one->data(), 1)) << file;
        ASSERT_TRUE(source->ReadAhead(3, copyInto(one))) << file;
        EXPECT_TRUE(isFrame(source->ReadFrame(5), 5)) << file << ": 2 and 3 were read ahead";
        EXPECT_FALSE(source->TakeAhead(2)) << file;
        EXPECT_TRUE(isFrame(source->ReadFrame(2), 2)) << file;
        source->ReadAhead(3, copyInto(one));
        source->ReadAhead(4, copyInto(two));
    }
    EXPECT_FALSE(VideoThreadGaveUp());
}

// A WebM stores no count of its frames: one is guessed from its length at the rate of its first
// gaps, here 30 a second where the last 12 of its 48 frames come at 10. A pass that reaches the
// true end knows better, and looks for no frame past it again.
TEST(MediaFoundationReader, APassThatReachesTheEndCountsTheFramesThere) {
    int32_t guessed = 0, counted = 0;
    bool lastRead = false, pastRead = true, lastAgain = false;
    const bool ran = RunOnVideoThread(
        [&] {
            MediaFoundationReader reader;
            reader.Open(MediaFile(test_media::kVariableRateWebm));
            guessed = reader.FrameCount();
            const void* last = reader.ReadFrame(47);
            lastRead = last && test::WrongPixels(last, FrameColour(47 - 36), false, 40) == 0;
            pastRead = reader.ReadFrame(guessed - 1) != nullptr;
            counted = reader.FrameCount();
            lastAgain = reader.ReadFrame(47) != nullptr;
            reader.Close();
        },
        WaitStyle::AllMessages, kOpenLimitMs);
    ASSERT_TRUE(ran);
    EXPECT_GT(guessed, 48) << "the guess must overshoot for this test to tell";
    EXPECT_TRUE(lastRead);
    EXPECT_FALSE(pastRead);
    EXPECT_EQ(counted, 48);
    EXPECT_TRUE(lastAgain);
}

TEST(OpenFrameSource, AviFileKeepsTheAviFilesItDecodesAndThePaletteOnes) {
    for (const auto& [file, hasDecoder] :
         {std::pair{test_media::kCinepak, true}, std::pair{test_media::kMsVideo1, true},
          std::pair{test_media::kUncompressed24, true}, std::pair{test_media::kCinepakHalf, true},
          std::pair{test_media::kTopDown8, false}}) {
        const auto source = OpenFrameSource(MediaFile(file), WaitStyle::AllMessages);
        EXPECT_EQ(source->Library(), VideoLibrary::AviFile) << file;
        EXPECT_TRUE(source->OpenedFully()) << file;
        EXPECT_EQ(source->HasDecoder(), hasDecoder) << file;
        EXPECT_FALSE(source->Close()) << file;
    }
}

// A file that is no video, a zero-filled one as a half-downloaded file is, or one that is missing
// gets one report from Close, whatever its name says it is.
TEST(OpenFrameSource, FilesNoLibraryCanShowAreReportedOnce) {
    test::TempFolder folder;
    const std::wstring zeros = folder / L"zeros.avi";
    {
        UniqueHandle file(CreateFileW(zeros.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER size;
        size.QuadPart = 64ll << 20;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.Get()));
    }
    const std::wstring zerosMp4 = folder / L"zeros.mp4";
    ASSERT_TRUE(CopyFileW(zeros.c_str(), zerosMp4.c_str(), FALSE));
    const std::wstring textMp4 = folder / L"text.mp4";
    ASSERT_TRUE(CopyFileW(MediaFile(test_media::kNotAvi).c_str(), textMp4.c_str(), FALSE));
    for (const std::wstring& path :
         {zeros, zerosMp4, textMp4, MediaFile(test_media::kNotAvi), MediaFile(test_media::kEmpty),
          MediaFile(test_media::kAudioOnly), folder / L"missing.mp4", folder / L"missing.avi"}) {
        const auto source = OpenFrameSource(path, WaitStyle::AllMessages);
        EXPECT_FALSE(source->HasDecoder()) << Narrow(path);
        EXPECT_EQ(source->ReadFrame(0), nullptr);
        EXPECT_TRUE(source->Close()) << Narrow(path);
        EXPECT_FALSE(source->Close());
    }
}

}  // namespace
}  // namespace kineloop
