// The snapshot file on a real file system: its bytes and size, failed writes, deletion, pictures
// read back and drawn by GDI, and the whole protocol over every frame of a real video.
#include "frames/snapshot_win32.h"

#include <cstring>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "frames/avi_frame_reader_win32.h"
#include "frames/frames_test_support.h"
#include "frames/packed_dib.h"
#include "platform/program_folder_win32.h"

namespace kineloop {
namespace {

using test::FileExistsAt;
using test::ReadFileBytes;

std::vector<uint8_t> Frame(int32_t width, int32_t height, uint16_t bits = 24, uint8_t seed = 1) {
    return test::PackedDib(test::UncompressedHeader(width, height, bits), seed);
}

FDIBPointer Taken(const std::vector<uint8_t>& packed) {
    FDIBPointer dib;
    EXPECT_TRUE(dib.CreateFromPackedDIBPointer(packed.data(), packed.size()));
    return dib;
}

std::string FileBytesOf(const std::vector<uint8_t>& packed) {
    const FDIBPointer dib = Taken(packed);
    const auto headers = dib.FileHeaderBytes();
    return std::string(headers.begin(), headers.end()) +
           std::string(packed.begin() + kDibHeaderBytes, packed.end());
}

class Snapshot : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::wstring path = folder / L"Dummy.bmp";
    ScratchSnapshot scratch{path};
};

TEST_F(Snapshot, FileIsBothHeadersAndTheRowsByteForByte) {
    const std::vector<uint8_t> packed = Frame(3, 2);
    ASSERT_TRUE(scratch.Write(Taken(packed)));
    const std::string file = ReadFileBytes(path);
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(ReadLe32(reinterpret_cast<const uint8_t*>(&file[2])), 78u);
    EXPECT_EQ(ReadLe32(reinterpret_cast<const uint8_t*>(&file[6])), 0u);  // both reserved
    EXPECT_EQ(ReadLe32(reinterpret_cast<const uint8_t*>(&file[10])), 54u);
    EXPECT_EQ(file.substr(14), std::string(packed.begin(), packed.end()));
}

TEST_F(Snapshot, WritingOverALongerFileLeavesExactlyTheNewFrame) {
    ASSERT_TRUE(test::WriteFileBytes(path, std::string(100000, 'x')));
    const std::vector<uint8_t> small = Frame(3, 2);
    ASSERT_TRUE(scratch.Write(Taken(small)));
    EXPECT_EQ(ReadFileBytes(path), FileBytesOf(small));
}

TEST_F(Snapshot, RefusedFrameWritesThePreviousFrameAgain) {
    const std::vector<uint8_t> first = Frame(5, 4, 24, 9);
    FDIBPointer dib = Taken(first);
    const std::vector<uint8_t> palette = Frame(8, 8, 8);
    EXPECT_FALSE(dib.CreateFromPackedDIBPointer(palette.data(), palette.size()));
    ASSERT_TRUE(scratch.Write(dib));
    EXPECT_EQ(ReadFileBytes(path), FileBytesOf(first));
}

TEST_F(Snapshot, FailedWritesAreReported) {
    EXPECT_FALSE(scratch.Write(FDIBPointer{}));  // nothing accepted yet
    EXPECT_FALSE(FileExistsAt(path));

    const FDIBPointer dib = Taken(Frame(3, 2));
    ScratchSnapshot nowhere(folder / L"no such folder\\Dummy.bmp");
    EXPECT_FALSE(nowhere.Write(dib));

    const std::wstring taken = folder / L"Taken.bmp";
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
    EXPECT_FALSE(ScratchSnapshot(taken).Write(dib));  // a folder of that name

    ASSERT_TRUE(test::WriteFileBytes(path, "old"));
    {
        // Another program holds the file and lets nobody else open it.
        UniqueHandle holder(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(scratch.Write(dib));
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST_F(Snapshot, DeleteRemovesTheFile) {
    ASSERT_TRUE(scratch.Write(Taken(Frame(3, 2))));
    ASSERT_TRUE(FileExistsAt(path));
    scratch.Delete();
    EXPECT_FALSE(FileExistsAt(path));
    scratch.Delete();  // nothing there: nothing happens
}

TEST_F(Snapshot, PictureLoadedIsTheFrame) {
    Picture picture;
    for (const auto& packed : {Frame(61, 45), Frame(7, -3, 32), Frame(5, 5, 16), Frame(1, 1)}) {
        ASSERT_TRUE(scratch.Write(Taken(packed)));
        ASSERT_TRUE(scratch.Load(picture));
        EXPECT_EQ(0, std::memcmp(&picture.header, packed.data(), kDibHeaderBytes));
        EXPECT_EQ(picture.bits,
                  std::vector<uint8_t>(packed.begin() + kDibHeaderBytes, packed.end()));
    }
}

TEST_F(Snapshot, BadFileLeavesThePictureAsItWas) {
    Picture picture;
    const std::vector<uint8_t> packed = Frame(4, 4);
    ASSERT_TRUE(scratch.Write(Taken(packed)));
    ASSERT_TRUE(scratch.Load(picture));
    const Picture before = picture;

    const std::string good = FileBytesOf(Frame(6, 6));
    for (const std::string& bad : {good.substr(0, good.size() - 1), good + "extra",
                                   good.substr(0, 54), std::string("BM"), std::string()}) {
        ASSERT_TRUE(test::WriteFileBytes(path, bad));
        EXPECT_FALSE(scratch.Load(picture)) << bad.size();
        EXPECT_EQ(0, std::memcmp(&picture.header, &before.header, sizeof before.header));
        EXPECT_EQ(picture.bits, before.bits);
    }
    scratch.Delete();
    EXPECT_FALSE(scratch.Load(picture));
    EXPECT_EQ(picture.bits, before.bits);
}

// Draws the picture 1:1 into a 24-bit bitmap of its own and returns that bitmap's pixel.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_.Reset(CreateCompatibleDC(nullptr));
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
    }
    ~Canvas() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }
    test_media::Colour At(int x, int y) const {
        GdiFlush();
        BITMAPINFOHEADER header{sizeof header, width_, -height_, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        return test::PixelOfRows(header, static_cast<const uint8_t*>(bits_), x, y);
    }

  private:
    int width_, height_;
    void* bits_ = nullptr;
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

TEST_F(Snapshot, StandardFilesOfAnotherWriterLoadAndDraw) {
    for (const char* name :
         {test_media::kPicture16, test_media::kPicture24, test_media::kPicture32}) {
        ASSERT_TRUE(CopyFileW(test::MediaFile(name).c_str(), path.c_str(), FALSE));
        Picture picture;
        ASSERT_TRUE(scratch.Load(picture)) << name;
        EXPECT_EQ(picture.header.biWidth, 61);
        Canvas canvas(61, 45);
        ASSERT_TRUE(StretchPicture(canvas.Dc(), picture, 0, 0, 61, 45));
        EXPECT_TRUE(test::Near(canvas.At(30, 2), test_media::kBandColour, 8)) << name;
        EXPECT_TRUE(test::Near(canvas.At(30, 40), test_media::FrameColour(0), 8))
            << name << " " << test::Describe(canvas.At(30, 40));
    }
}

TEST_F(Snapshot, TopDownAndBottomUpRowsDrawTheSameWayUp) {
    for (int32_t height : {2, -2}) {
        std::vector<uint8_t> packed = Frame(1, height);
        // First row in memory blue, second row red.
        const uint8_t rows[8] = {255, 0, 0, 0, 0, 0, 255, 0};
        std::memcpy(packed.data() + kDibHeaderBytes, rows, sizeof rows);
        ASSERT_TRUE(scratch.Write(Taken(packed)));
        Picture picture;
        ASSERT_TRUE(scratch.Load(picture));
        Canvas canvas(1, 2);
        ASSERT_TRUE(StretchPicture(canvas.Dc(), picture, 0, 0, 1, 2));
        const test_media::Colour top = canvas.At(0, 0);
        EXPECT_EQ(top.b, height > 0 ? 0 : 255)
            << height;  // bottom-up: memory's first row is lowest
        EXPECT_EQ(top.r, height > 0 ? 255 : 0) << height;
    }
}

TEST(ScratchPathTest, IsDummyBmpInTheProgramFolder) {
    EXPECT_EQ(ScratchPath(), ProgramFolder() + L"\\Dummy.bmp");
}

TEST(ScratchPathTest, TheRunStartsBesideTheProgramWithTheUsersFoldersBehind) {
    ASSERT_NE(ProgramScratchPlaces().Current(), nullptr);
    EXPECT_EQ(*ProgramScratchPlaces().Current(), ScratchPath());
    EXPECT_EQ(ScratchSnapshot().Path(), ScratchPath());
    const std::wstring perUser = PerUserFolder();
    ASSERT_FALSE(perUser.empty());
    EXPECT_EQ(perUser.substr(perUser.size() - 9), L"\\Kineloop");
    EXPECT_FALSE(TemporaryFolder().empty());
    EXPECT_NE(TemporaryFolder().back(), L'\\');
}

// A place that refuses the write gives way to the next for every snapshot of the run; the
// fallback's folder is made when first needed, and nothing is left in it after the frame.
TEST_F(Snapshot, AFailedWriteFallsBackForEverySnapshotOfTheRun) {
    const std::wstring blocked = folder / L"program";
    ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
    const std::wstring taken = blocked + L"\\Dummy.bmp";
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));  // a folder named Dummy.bmp
    const std::wstring perUser = folder / L"user";
    const std::wstring fallback = perUser + L"\\Dummy.bmp";
    ScratchPlaces places({taken, fallback});

    const std::vector<uint8_t> packed = Frame(3, 2);
    ScratchSnapshot show(places);
    EXPECT_EQ(show.Path(), taken);
    ASSERT_TRUE(show.Write(Taken(packed)));
    EXPECT_EQ(show.Path(), fallback);
    EXPECT_EQ(ReadFileBytes(fallback), FileBytesOf(packed));
    Picture picture;
    EXPECT_TRUE(show.Load(picture));
    show.Delete();
    EXPECT_FALSE(FileExistsAt(fallback));

    // The blocked place is not tried again, even once it could take the file.
    ASSERT_TRUE(RemoveDirectoryW(taken.c_str()));
    ScratchSnapshot dialog(places);
    ASSERT_TRUE(dialog.Write(Taken(packed)));
    EXPECT_EQ(dialog.Path(), fallback);
    EXPECT_FALSE(FileExistsAt(taken));
    dialog.Delete();
    EXPECT_TRUE(RemoveDirectoryW(perUser.c_str())) << "something was left in the fallback";
}

TEST_F(Snapshot, AFrameIsRefusedOnlyWhenEveryPlaceFails) {
    const std::wstring taken = folder / L"Dummy.bmp";
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
    // Two missing levels: only the last one is ever made.
    const std::wstring unreachable = folder / L"no such folder\\nor this\\Dummy.bmp";
    ScratchPlaces places({taken, unreachable});
    ScratchSnapshot snapshot(places);
    const FDIBPointer dib = Taken(Frame(3, 2));
    EXPECT_FALSE(snapshot.Write(dib));
    EXPECT_FALSE(snapshot.Write(dib));
    ASSERT_NE(places.Current(), nullptr);
    EXPECT_EQ(*places.Current(), unreachable);
    EXPECT_FALSE(FileExistsAt(folder / L"no such folder"));
}

// The protocol of one frame as the show runs it, over every frame of a video, on the real
// scratch path: the picture is the decoded frame exactly, and no file is left afterwards.
TEST(SnapshotProtocol, EveryFrameOfAVideoGoesThroughTheScratchFile) {
    AviFrameReader reader;
    reader.Open(test::MediaFile(test_media::kCinepak));
    ASSERT_TRUE(reader.HasDecoder());
    FDIBPointer dib;
    ScratchSnapshot scratch;
    Picture picture;
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t n = 0; n < reader.FrameCount(); ++n) {
            const void* frame = reader.ReadFrame(n);
            ASSERT_NE(frame, nullptr);
            ASSERT_TRUE(dib.CreateFromPackedDIBPointer(frame, reader.FrameBytes()));
            ASSERT_TRUE(scratch.Write(dib));
            ASSERT_TRUE(scratch.Load(picture));
            EXPECT_EQ(0, std::memcmp(&picture.header, frame, kDibHeaderBytes));
            ASSERT_EQ(picture.bits.size(), reader.RequestedFormat().biSizeImage);
            EXPECT_EQ(0, std::memcmp(picture.bits.data(),
                                     static_cast<const uint8_t*>(frame) + kDibHeaderBytes,
                                     picture.bits.size()))
                << n;
            scratch.Delete();
            EXPECT_FALSE(test::FileExistsAt(scratch.Path()));
        }
    }
    test::CloseAndReport(reader);
}

}  // namespace
}  // namespace kineloop
