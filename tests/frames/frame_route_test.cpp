// The way of a frame to the screen: stretched first, through the scratch file, drawn. The picture
// must be exactly what the show always drew, and no scratch file may outlive its frame.
#include "scratch/frame_route_win32.h"

#include <cstring>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "frames/packed_dib.h"
#include "platform/handles_win32.h"

namespace kineloop {
namespace {

using test::FileExistsAt;

// A 24-bit bottom-up bitmap of its own with the pixels drawn into it.
class Canvas {
  public:
    Canvas(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_.Reset(CreateCompatibleDC(nullptr));
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        size_ = static_cast<size_t>((width * 3 + 3) & ~3) * static_cast<size_t>(height);
    }
    ~Canvas() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }
    std::vector<uint8_t> Bytes() const {
        GdiFlush();
        const auto* bytes = static_cast<const uint8_t*>(bits_);
        return std::vector<uint8_t>(bytes, bytes + size_);
    }

  private:
    void* bits_ = nullptr;
    size_t size_ = 0;
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

class Route : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::wstring path = folder / L"Dummy.bmp";
    ScratchPlaces places{{path}};
    FrameRoute route{places};
};

// The previous way drew the whole frame stretched into the tile; the picture read back from the
// scratch file, drawn pixel for pixel, must give the same bytes, also where the tile is cut.
TEST_F(Route, ThePictureIsTheFrameStretchedAsItAlwaysWas) {
    struct Case {
        int32_t frameWidth, frameHeight;
        uint16_t bits;
        int width, height, limitWidth, limitHeight;
    } cases[] = {
        {320, 240, 24, 320, 240, 1024, 768},   // one to one
        {160, 120, 24, 320, 200, 1024, 768},   // larger, proportions not kept
        {640, 480, 24, 320, 240, 1024, 768},   // smaller
        {1280, 720, 24, 333, 187, 1024, 768},  // odd sizes: padded rows on both sides
        {61, 45, 24, 2000, 240, 1024, 768},    // a tile wider than the screen, cut at its edge
        {7, -3, 32, 20, 9, 1024, 768},         // top-down 32-bit rows
        {5, 5, 16, 9, 4, 1024, 768},
    };
    uint8_t seed = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.frameWidth) + "x" + std::to_string(c.frameHeight) + " to " +
                     std::to_string(c.width) + "x" + std::to_string(c.height));
        const std::vector<uint8_t> packed =
            test::PackedDib(test::UncompressedHeader(c.frameWidth, c.frameHeight, c.bits), seed++);
        const int keptWidth = std::min(c.width, c.limitWidth);
        const int keptHeight = std::min(c.height, c.limitHeight);
        ASSERT_EQ(route.Take(packed.data(), packed.size(), c.width, c.height, c.limitWidth,
                             c.limitHeight),
                  FrameRoute::Result::kReadBack);
        ASSERT_NE(route.LastPicture(), nullptr);
        EXPECT_EQ(route.LastPicture()->header.biWidth, keptWidth);
        EXPECT_EQ(route.LastPicture()->header.biHeight, keptHeight);

        Canvas before(keptWidth, keptHeight), after(keptWidth, keptHeight);
        SetStretchBltMode(before.Dc(), COLORONCOLOR);
        const DibHeader frame = DecodeDibHeader(packed.data());
        ASSERT_TRUE(StretchRows(before.Dc(), frame, packed.data() + kDibHeaderBytes, 0, 0, c.width,
                                c.height));
        ASSERT_TRUE(route.DrawLast(after.Dc(), 0, 0));
        EXPECT_TRUE(after.Bytes() == before.Bytes());
    }
}

// The file is kept open from frame to frame; it holds only the last picture, also over a longer
// leftover of an earlier run, and goes with its route.
TEST(RouteFile, HoldsTheLastPictureAloneAndGoesWithItsRoute) {
    test::TempFolder folder;
    const std::wstring path = folder / L"Dummy.bmp";
    ScratchPlaces places{{path}};
    ASSERT_TRUE(test::WriteFileBytes(path, std::string(300000, 'x')));
    {
        FrameRoute route{places};
        for (const auto& [width, height] : {std::pair{64, 48}, std::pair{32, 24}}) {
            const auto packed = test::PackedDib(test::UncompressedHeader(64, 48, 24));
            ASSERT_EQ(route.Take(packed.data(), packed.size(), width, height, 1024, 768),
                      FrameRoute::Result::kReadBack);
            WIN32_FILE_ATTRIBUTE_DATA file{};
            ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &file));
            EXPECT_EQ(file.nFileSizeLow, kBitmapHeadersBytes + route.LastPicture()->bits.size());
        }
    }
    EXPECT_FALSE(FileExistsAt(path));
}

TEST_F(Route, RefusedFramesAndTilesOfNoSizeLeaveThePreviousPicture) {
    const auto good = test::PackedDib(test::UncompressedHeader(8, 8, 24));
    ASSERT_EQ(route.Take(good.data(), good.size(), 16, 16, 1024, 768),
              FrameRoute::Result::kReadBack);
    const Picture before = *route.LastPicture();

    const auto palette = test::PackedDib(test::UncompressedHeader(8, 8, 8));
    EXPECT_EQ(route.Take(palette.data(), palette.size(), 16, 16, 1024, 768),
              FrameRoute::Result::kRefused);
    EXPECT_EQ(route.Take(nullptr, 0, 16, 16, 1024, 768), FrameRoute::Result::kRefused);
    EXPECT_EQ(route.Take(good.data(), good.size() - 1, 16, 16, 1024, 768),
              FrameRoute::Result::kRefused);
    for (const auto& [width, height] : {std::pair{0, 16}, std::pair{16, 0}, std::pair{-4, -4}})
        EXPECT_EQ(route.Take(good.data(), good.size(), width, height, 1024, 768),
                  FrameRoute::Result::kKeptPrevious);
    ASSERT_NE(route.LastPicture(), nullptr);
    EXPECT_EQ(route.LastPicture()->bits, before.bits);
}

TEST_F(Route, APlaceThatRefusesTheFileGivesWayAndNothingIsLeftAnywhere) {
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));  // a folder named Dummy.bmp
    const std::wstring perUser = folder / L"user";
    const std::wstring fallback = perUser + L"\\Dummy.bmp";
    ScratchPlaces twoPlaces({path, fallback});
    const auto packed = test::PackedDib(test::UncompressedHeader(8, 8, 24));
    {
        FrameRoute fallingBack(twoPlaces);
        for (int frame = 0; frame < 3; ++frame) {
            ASSERT_EQ(fallingBack.Take(packed.data(), packed.size(), 16, 16, 1024, 768),
                      FrameRoute::Result::kReadBack);
            EXPECT_EQ(fallingBack.ScratchPath(), fallback);
        }
    }
    EXPECT_TRUE(RemoveDirectoryW(perUser.c_str())) << "something was left in the fallback";

    // With no place at all the frame is not shown, and the picture stays as it was.
    ScratchPlaces nowhere({path, folder / L"no such folder\\nor this\\Dummy.bmp"});
    FrameRoute stuck(nowhere);
    EXPECT_EQ(stuck.Take(packed.data(), packed.size(), 16, 16, 1024, 768),
              FrameRoute::Result::kNoPlace);
    EXPECT_EQ(stuck.LastPicture(), nullptr);
}

}  // namespace
}  // namespace kineloop
