// The scratch file's places on a real file system: where the run starts, and how a place that
// refuses the file gives way to the next. (The bytes of the trip itself: frame_route_test.cpp.)
#include "scratch/scratch_file_win32.h"

#include <thread>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "platform/program_folder_win32.h"
#include "scratch/bitmap_file.h"
#include "scratch/tile_picture.h"

namespace kineloop {
namespace {

using test::FileExistsAt;

class Scratch : public ::testing::Test {
  protected:
    // One 3 x 2 picture through `scratch`.
    ScratchFile::Trip Pass(ScratchFile& scratch, Picture& into) {
        return scratch.PassThrough(BitmapFileHeaders(*TilePictureHeader(3, 2)), rows.data(),
                                   rows.size(), into);
    }
    test::TempFolder folder;
    const std::vector<uint8_t> rows = std::vector<uint8_t>(24, 0x5A);
};

TEST(ScratchPathTest, IsDummyBmpInTheProgramFolder) {
    EXPECT_EQ(ScratchPath(), ProgramFolder() + L"\\Dummy.bmp");
}

TEST(ScratchPathTest, TheRunStartsBesideTheProgramWithTheUsersFoldersBehind) {
    ASSERT_NE(ProgramScratchPlaces().Current(), nullptr);
    EXPECT_EQ(*ProgramScratchPlaces().Current(), ScratchPath());
    EXPECT_EQ(ScratchFile().Path(), ScratchPath());
    const std::wstring perUser = PerUserFolder();
    ASSERT_FALSE(perUser.empty());
    EXPECT_EQ(perUser.substr(perUser.size() - 9), L"\\Kineloop");
    EXPECT_FALSE(TemporaryFolder().empty());
    EXPECT_NE(TemporaryFolder().back(), L'\\');
}

// A place that refuses the file gives way to the next for every scratch file of the run; the
// fallback's folder is made when first needed, and nothing is left in it once the files are done.
TEST_F(Scratch, AFailedWriteFallsBackForEveryScratchFileOfTheRun) {
    const std::wstring blocked = folder / L"program";
    ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
    const std::wstring taken = blocked + L"\\Dummy.bmp";
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));  // a folder named Dummy.bmp
    const std::wstring perUser = folder / L"user";
    const std::wstring fallback = perUser + L"\\Dummy.bmp";
    ScratchPlaces places({taken, fallback});
    Picture picture;
    {
        ScratchFile show(places);
        EXPECT_EQ(show.Path(), taken);
        ASSERT_EQ(Pass(show, picture), ScratchFile::Trip::kReadBack);
        EXPECT_EQ(show.Path(), fallback);
        EXPECT_EQ(picture.bits, rows);
    }
    EXPECT_FALSE(FileExistsAt(fallback));

    // The blocked place is not tried again, even once it could take the file.
    ASSERT_TRUE(RemoveDirectoryW(taken.c_str()));
    {
        ScratchFile dialog(places);
        ASSERT_EQ(Pass(dialog, picture), ScratchFile::Trip::kReadBack);
        EXPECT_EQ(dialog.Path(), fallback);
    }
    EXPECT_FALSE(FileExistsAt(taken));
    EXPECT_TRUE(RemoveDirectoryW(perUser.c_str())) << "something was left in the fallback";
}

// Something else holding the file for a moment (a scanner, an indexer) does not move the run on.
TEST_F(Scratch, APlaceHeldForAMomentIsKept) {
    const std::wstring first = folder / L"Dummy.bmp";
    ScratchPlaces places({first, folder / L"user\\Dummy.bmp"});
    HANDLE held = CreateFileW(first.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread letGo([held] {
        Sleep(25);
        CloseHandle(held);
    });
    ScratchFile scratch(places);
    Picture picture;
    EXPECT_EQ(Pass(scratch, picture), ScratchFile::Trip::kReadBack);
    letGo.join();
    EXPECT_EQ(scratch.Path(), first);
    EXPECT_EQ(*places.Current(), first);
}

TEST_F(Scratch, AFrameIsRefusedOnlyWhenEveryPlaceFails) {
    const std::wstring taken = folder / L"Dummy.bmp";
    ASSERT_TRUE(CreateDirectoryW(taken.c_str(), nullptr));
    // Two missing levels: only the last one is ever made.
    const std::wstring unreachable = folder / L"no such folder\\nor this\\Dummy.bmp";
    ScratchPlaces places({taken, unreachable});
    ScratchFile scratch(places);
    Picture picture;
    EXPECT_EQ(Pass(scratch, picture), ScratchFile::Trip::kNoPlace);
    EXPECT_EQ(Pass(scratch, picture), ScratchFile::Trip::kNoPlace);
    ASSERT_NE(places.Current(), nullptr);
    EXPECT_EQ(*places.Current(), unreachable);
    EXPECT_FALSE(FileExistsAt(folder / L"no such folder"));
}

}  // namespace
}  // namespace kineloop
