// The show end to end: the real Kineloop.scr on a 1024 x 768 virtual screen, watched pixel by
// pixel.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

constexpr COLORREF kBlack = RGB(0, 0, 0);

// Ten-frame clips whose frame n is one solid colour all over.
constexpr int kColourClipFrames = 10;

std::wstring ColourClip(int width, int height) {
    return WindowsPath(test_media::MediaPath(
        width == 160 && height == 120 ? test_media::kClip160x120 : test_media::kClip320x240));
}

COLORREF ColourClipColour(int frame) {
    const test_media::Colour c = test_media::FrameColour(frame);
    return RGB(c.r, c.g, c.b);
}

bool Near(COLORREF a, COLORREF b, int tolerance = 48) {
    return ColoursNear(a, b, tolerance);
}

// Which frame of the colour clip the screen shows at (x, y): its number, -1 for black, -2 for
// anything else.
int FrameAt(int x, int y) {
    const COLORREF seen = ScreenPixel(x, y);
    for (int frame = 0; frame < kColourClipFrames; ++frame)
        if (Near(seen, ColourClipColour(frame)))
            return frame;
    return Near(seen, kBlack, 16) ? -1 : -2;
}

class ShowTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";

    void Configure(const std::wstring& video, int picWidth, int picHeight, int fast, int skip) {
        WriteSetting(ini, "AVI_File", Narrow(video));
        WriteSetting(ini, "Pic_Width", std::to_string(picWidth));
        WriteSetting(ini, "Pic_Height", std::to_string(picHeight));
        WriteSetting(ini, "Fast", std::to_string(fast));
        WriteSetting(ini, "Flame_Skip", std::to_string(skip));
    }

    // Starts the show and waits for its window, so that nothing left on the screen by an earlier
    // test is taken for this show's drawing.
    std::unique_ptr<SaverProcess> StartShow(const wchar_t* arguments = L"/s") {
        auto saver = std::make_unique<SaverProcess>(scr, arguments, folder.Path());
        EXPECT_TRUE(WaitForTopWindow(saver->Id(), L"Kine_Main"));
        return saver;
    }

    // Waits until the screen at (x, y) shows `frame`.
    static bool WaitForFrame(int x, int y, int frame) {
        return WaitUntil([&] { return FrameAt(x, y) == frame; });
    }
};

TEST_F(ShowTest, FillsACentredThreeByThreeGridInReadingOrder) {
    ASSERT_EQ(ScreenSize().cx, 1024);
    ASSERT_EQ(ScreenSize().cy, 768);
    Configure(ColourClip(320, 240), 320, 240, 700, 1);
    const auto saver = StartShow();

    // The ninth tile fills last; the eight before it must hold the frames in reading order.
    ASSERT_TRUE(WaitForFrame(672 + 160, 504 + 120, 8));
    const int xs[] = {32, 352, 672}, ys[] = {24, 264, 504};
    for (int i = 1; i < 9; ++i) {
        const int x = xs[i % 3], y = ys[i / 3];
        EXPECT_EQ(FrameAt(x + 160, y + 120), i) << "tile " << i;
        EXPECT_EQ(FrameAt(x, y), i) << "top-left pixel of tile " << i;
        EXPECT_EQ(FrameAt(x + 319, y + 239), i) << "bottom-right pixel of tile " << i;
    }
    // Black margins around the grid.
    for (POINT p : {POINT{31, 24}, POINT{0, 0}, POINT{992, 24}, POINT{1023, 767}, POINT{500, 23},
                    POINT{500, 744}, POINT{10, 400}})
        EXPECT_EQ(FrameAt(p.x, p.y), -1) << p.x << "," << p.y;
    // The tenth frame goes back to the first tile.
    EXPECT_TRUE(WaitForFrame(32 + 160, 24 + 120, 9));
    EXPECT_EQ(FrameAt(352 + 160, 24 + 120), 1);
}

TEST_F(ShowTest, TilesThatFitExactlyStartAtTheCorner) {
    Configure(ColourClip(320, 240), 512, 384, 600, 1);
    const auto saver = StartShow();
    ASSERT_TRUE(WaitForFrame(1023, 767, 3));
    EXPECT_EQ(FrameAt(0, 0), 0);
    EXPECT_EQ(FrameAt(511, 383), 0);
    EXPECT_EQ(FrameAt(512, 0), 1);
    EXPECT_EQ(FrameAt(0, 384), 2);
    EXPECT_EQ(FrameAt(512, 384), 3);
}

TEST_F(ShowTest, ATileWiderThanTheScreenIsDrawnAtTheGridOrigin) {
    Configure(ColourClip(320, 240), 2000, 240, 600, 1);
    const auto saver = StartShow();
    ASSERT_TRUE(WaitForFrame(1000, 264 + 100, 1));
    EXPECT_EQ(FrameAt(512, 24), 0);
    EXPECT_EQ(FrameAt(1023, 263), 0);
    EXPECT_EQ(FrameAt(511, 24), -1);
    EXPECT_EQ(FrameAt(512, 23), -1);
}

TEST_F(ShowTest, FrameStepPicksTheFramesOfEachPass) {
    Configure(ColourClip(320, 240), 320, 240, 500, 3);
    const auto saver = StartShow();
    // Frames 0, 3, 6, 9, then 0 again in the fifth tile.
    ASSERT_TRUE(WaitForFrame(352 + 160, 264 + 120, 0));
    EXPECT_EQ(FrameAt(32 + 160, 24 + 120), 0);
    EXPECT_EQ(FrameAt(352 + 160, 24 + 120), 3);
    EXPECT_EQ(FrameAt(672 + 160, 24 + 120), 6);
    EXPECT_EQ(FrameAt(32 + 160, 264 + 120), 9);
}

TEST_F(ShowTest, StepZeroShowsTheFirstFrameInEveryTile) {
    Configure(ColourClip(320, 240), 320, 240, 200, 0);
    const auto saver = StartShow();
    ASSERT_TRUE(WaitForFrame(32 + 160, 264 + 120, 0));
    for (int x : {32, 352, 672})
        EXPECT_EQ(FrameAt(x + 160, 24 + 120), 0);
}

TEST_F(ShowTest, SmallFramesAreStretchedToTheTileWithoutKeepingProportions) {
    Configure(ColourClip(160, 120), 320, 200, 1500, 1);
    const auto saver = StartShow();
    // Grid origin (32, 84): the first tile covers 320 x 200 pixels and no more.
    ASSERT_TRUE(WaitForFrame(32, 84, 0));
    EXPECT_EQ(FrameAt(351, 283), 0);
    EXPECT_EQ(FrameAt(191, 183), 0);
    EXPECT_EQ(FrameAt(32, 284), -1);
    EXPECT_EQ(FrameAt(31, 84), -1);
}

TEST_F(ShowTest, AClickOrAKeyEndsTheShowButMovingTheMouseDoesNot) {
    Configure(ColourClip(320, 240), 320, 240, 300, 1);
    {
        const auto saver = StartShow();
        ASSERT_TRUE(WaitForFrame(32 + 160, 24 + 120, 0));
        EXPECT_EQ(CursorVisible(), std::optional<bool>(false)) << "a show started with /s hides it";
        for (int i = 0; i < 10; ++i)
            MoveMouseTo(100 + 50 * i, 100 + 30 * i);
        // Let the show draw on after the movements: it must still be running.
        ASSERT_TRUE(WaitForFrame(352 + 160, 264 + 120, 4));
        EXPECT_TRUE(saver->Running());
        ClickAt(500, 400);
        EXPECT_TRUE(saver->WaitForExit());
    }
    {
        // Started without arguments, the show leaves the cursor as it was.
        const auto saver = StartShow(L"");
        ASSERT_TRUE(WaitForFrame(32 + 160, 24 + 120, 0));
        EXPECT_EQ(CursorVisible(), std::optional<bool>(true));
        PressKey(VK_SPACE);
        EXPECT_TRUE(saver->WaitForExit());
    }
    {
        const auto saver = StartShow();
        ASSERT_TRUE(WaitForFrame(32 + 160, 24 + 120, 0));
        PressKey(VK_SHIFT);
        EXPECT_TRUE(saver->WaitForExit());
    }
    EXPECT_FALSE(FileExistsAt(folder / L"Dummy.bmp"));
}

TEST_F(ShowTest, NoVideoAsksForOneWithTheCursorVisibleAndEndsAfterOk) {
    for (const wchar_t* arguments : {L"/s", L""}) {
        SaverProcess saver(scr, arguments, folder.Path());
        const auto box = WaitForMessageBox(saver.Id());
        ASSERT_TRUE(box) << arguments;
        EXPECT_EQ(box->caption, L"Kineloop");
        EXPECT_EQ(box->text, L"AVIファイルを指定してください！！");
        EXPECT_TRUE(saver.Running());
        EXPECT_EQ(CursorVisible(), std::optional<bool>(true)) << arguments;
        AnswerMessageBox(*box);
        EXPECT_TRUE(saver.WaitForExit()) << arguments;
    }
}

TEST_F(ShowTest, AnUnreadableVideoIsReportedThenTheScreenStaysBlackUntilAClick) {
    const std::wstring video = folder / L"壊れた.avi";
    WriteFileBytes(video, std::string(4096, 'x'));
    Configure(video, 320, 240, 10, 1);
    SaverProcess saver(scr, L"/s", folder.Path());
    const auto box = WaitForMessageBox(saver.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, L"Kineloop");
    EXPECT_EQ(box->text, L"Error : \r\n" + video);
    AnswerMessageBox(*box);
    ASSERT_TRUE(WaitUntil([&] { return !FindTopWindow(saver.Id(), L"", L"#32770"); }));
    ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
    EXPECT_TRUE(WaitUntil([] { return FrameAt(512, 384) == -1; }));
    EXPECT_TRUE(saver.Running());
    ClickAt(512, 384);
    EXPECT_TRUE(saver.WaitForExit());
}

// %LOCALAPPDATA%\Kineloop, where the scratch file goes when the program's folder refuses it.
std::wstring PerUserFolder() {
    wchar_t expanded[MAX_PATH * 2] = L"";
    const DWORD length = ExpandEnvironmentStringsW(L"%LOCALAPPDATA%", expanded, MAX_PATH * 2);
    return length > 1 && length <= MAX_PATH * 2 ? std::wstring(expanded) + L"\\Kineloop" : L"";
}

bool FolderIsEmpty(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;
    bool empty = true;
    do {
        const std::wstring name = found.cFileName;
        empty = empty && (name == L"." || name == L"..");
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

TEST_F(ShowTest, AProgramFolderThatRefusesTheScratchFileStillShowsTheMosaic) {
    // A folder named Dummy.bmp beside the program: no scratch file can be written there.
    ASSERT_TRUE(CreateDirectoryW((folder / L"Dummy.bmp").c_str(), nullptr));
    const std::wstring perUser = PerUserFolder();
    ASSERT_FALSE(perUser.empty());
    DeleteFileW((perUser + L"\\Dummy.bmp").c_str());
    RemoveDirectoryW(perUser.c_str());  // made again by the show when it falls back
    Configure(ColourClip(320, 240), 320, 240, 100, 1);
    {
        const auto saver = StartShow();
        ASSERT_TRUE(WaitForFrame(672 + 160, 24 + 120, 2)) << "no mosaic without the scratch file";
        EXPECT_EQ(FrameAt(32 + 160, 24 + 120), 0);
        EXPECT_EQ(FrameAt(352 + 160, 24 + 120), 1);
        EXPECT_EQ(FindTopWindow(saver->Id(), L"", L"#32770"), nullptr) << "nothing to report";
        PressKey(VK_SPACE);
        EXPECT_TRUE(saver->WaitForExit());
    }
    EXPECT_TRUE(FileExistsAt(perUser)) << "the per-user folder was not used";
    EXPECT_TRUE(FolderIsEmpty(perUser)) << "the show left something in " << Narrow(perUser);
    EXPECT_FALSE(FileExistsAt(perUser + L"\\Dummy.bmp"));
}

// The scratch file lives while the show runs: it is gone once the show ends, and a show killed
// in the middle leaves none behind beside the program.
TEST_F(ShowTest, NoScratchFileRemainsAfterTheShowNorAfterTheShowIsKilledMidFrame) {
    const std::wstring scratch = folder / L"Dummy.bmp";
    Configure(ColourClip(320, 240), 320, 240, 500, 1);
    {
        const auto saver = StartShow();
        const int xs[] = {32, 352, 672};
        for (int frame = 0; frame < 3; ++frame)
            ASSERT_TRUE(WaitForFrame(xs[frame] + 160, 24 + 120, frame));
        PressKey(VK_SPACE);
        EXPECT_TRUE(saver->WaitForExit());
    }
    EXPECT_FALSE(FileExistsAt(scratch)) << "after the show";
    // No pause and a large tile, so that a frame spends long with its file; the show is killed
    // the moment the file is seen.
    Configure(ColourClip(320, 240), 1000, 740, 0, 1);
    int killedMidFrame = 0;
    for (int attempt = 0; attempt < 6 && killedMidFrame < 3; ++attempt) {
        SaverProcess saver(scr, L"/s", folder.Path());
        ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
        const bool seen = WaitUntil([&] { return FileExistsAt(scratch); }, 10000, 1);
        saver.Terminate();
        ASSERT_FALSE(saver.Running());
        if (seen)
            ++killedMidFrame;
        // The system removes the file as it closes the killed program's handles.
        EXPECT_TRUE(WaitUntil([&] { return !FileExistsAt(scratch); }, 10000))
            << "Dummy.bmp left behind after kill " << attempt;
    }
    EXPECT_GT(killedMidFrame, 0) << "the scratch file was never seen during a frame";
}

// Videos that open but can never show a frame are reported once, like a file that cannot be
// opened, and the screen then stays black and idle until a key.
TEST_F(ShowTest, AVideoThatCanNeverShowAFrameIsReportedOnceThenAKeyEndsTheBlackScreen) {
    for (const char* name :
         {test_media::kWideUncompressed, test_media::kCinepakHalf, test_media::kTopDown8}) {
        SCOPED_TRACE(name);
        const std::wstring video = WindowsPath(test_media::MediaPath(name));
        Configure(video, 320, 240, 10, 1);
        SaverProcess saver(scr, L"/s", folder.Path());
        const auto box = WaitForMessageBox(saver.Id());
        ASSERT_TRUE(box) << "no report";
        EXPECT_EQ(box->caption, L"Kineloop");
        EXPECT_EQ(box->text, L"Error : \r\n" + video);
        AnswerMessageBox(*box);
        ASSERT_TRUE(WaitUntil([&] { return !FindTopWindow(saver.Id(), L"", L"#32770"); }));
        ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
        for (POINT p : {POINT{512, 384}, POINT{32 + 160, 24 + 120}, POINT{0, 0}})
            EXPECT_TRUE(WaitUntil([&] { return FrameAt(p.x, p.y) == -1; })) << p.x << "," << p.y;
        EXPECT_TRUE(saver.Running());
        EXPECT_EQ(FindTopWindow(saver.Id(), L"", L"#32770"), nullptr) << "reported twice";
        PressKey(VK_RETURN);
        EXPECT_TRUE(saver.WaitForExit());
    }
    EXPECT_FALSE(FileExistsAt(folder / L"Dummy.bmp"));
}

TEST_F(ShowTest, APassThatShowsNothingStillLetsAClickEndTheShow) {
    Configure(ColourClip(320, 240), 320, 240, 0, -1);
    const auto saver = StartShow();
    ClickAt(512, 384);
    EXPECT_TRUE(saver->WaitForExit());
}

}  // namespace
}  // namespace kineloop
