// Videos the platform hangs on, end to end: the show and the dialog say they cannot open one, and
// a click or key during the hang always ends the program within moments. A long step through a
// large video is work, not a hang.
#include <string>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

// An MPEG-1 elementary stream opens at once here, without frames it can count: reported at once.
constexpr DWORD kReportedWithinMs = 10000;
// The process is gone within 1.5 s of the end; this leaves room for a loaded machine, and is
// far from the minutes a show once stayed after a click during a hang.
constexpr DWORD kEndedWithinMs = 5000;

class StuckTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";

    static std::wstring Media(const char* name) {
        return WindowsPath(std::string(KINELOOP_STUCK_MEDIA) + "/" + name);
    }
    std::wstring Choose(const char* name) {
        const std::wstring video = Media(name);
        WriteSetting(ini, "AVI_File", Narrow(video));
        WriteSetting(ini, "Pic_Width", "320");
        WriteSetting(ini, "Pic_Height", "240");
        return video;
    }
};

TEST_F(StuckTest, AVideoWhoseOpenHangsIsReportedAndAKeyEndsTheShow) {
    const std::wstring video = Choose("hang.mpv");
    SaverProcess saver(scr, L"/s", folder.Path());
    const auto box = WaitForMessageBox(saver.Id(), kReportedWithinMs);
    ASSERT_TRUE(box) << "no report";
    EXPECT_EQ(box->text, L"Error : \r\n" + video);
    AnswerMessageBox(*box);
    ASSERT_TRUE(WaitUntil([&] { return !FindTopWindow(saver.Id(), L"", L"#32770"); }));
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(kEndedWithinMs));
}

TEST_F(StuckTest, TheDialogRefusesTheVideoWithItsMessage) {
    const std::wstring video = WindowsPath(std::string(KINELOOP_STUCK_MEDIA) + "/hang.mpv");
    SaverProcess saver(scr, L"/c", folder.Path());
    const HWND dialog = WaitForTopWindow(saver.Id(), kCaption);
    ASSERT_TRUE(dialog);
    ClickControl(ControlAt(dialog, {kPicB.x + 124 + 18, kPicB.y + 36 + 12}));  // "..."
    ASSERT_TRUE(AnswerFileDialog(saver.Id(), kFileDialogTitle, video));
    const auto box = WaitForMessageBoxTitled(saver.Id(), L"Kineloop", kReportedWithinMs);
    ASSERT_TRUE(box) << "no report";
    EXPECT_EQ(box->text, L"Error : \r\n" + video);
    AnswerMessageBox(*box);
    EXPECT_TRUE(WaitForTopWindow(saver.Id(), kCaption));
}

// Clicks and keys alike, each a second into the hang, ten times over.
TEST_F(StuckTest, AClickOrKeyDuringAHangEndsTheProgram) {
    Choose("hang.mp4");
    for (int run = 0; run < 10; ++run) {
        SaverProcess saver(scr, L"/s", folder.Path());
        ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main"))
            << "run " << run << ": " << saver.State();
        Sleep(1000);  // the open is under way, held up in the platform
        const ULONGLONG asked = GetTickCount64();
        if (run % 2 == 0)
            ClickAt(400, 300);
        else
            PressKey(VK_ESCAPE);
        EXPECT_TRUE(saver.WaitForExit(kEndedWithinMs)) << "run " << run;
        std::printf("run %d: ended %llu ms after the %s\n", run, GetTickCount64() - asked,
                    run % 2 == 0 ? "click" : "key");
    }
}

// Frame 300 of a 4K video lies seconds of decoding past frame 0: the show keeps drawing frames
// 0, 300, 0, 300, 0, each the colour ffmpeg decodes, with nothing reported.
TEST_F(StuckTest, ALongStepThroughALargeVideoKeepsDrawingTheFramesAskedFor) {
    Choose("large.mp4");
    WriteSetting(ini, "Flame_Skip", "300");
    WriteSetting(ini, "Fast", "0");
    const std::string rgb = ReadFileBytes(Media("large_0_300.rgb"));
    ASSERT_EQ(rgb.size(), 12u) << "two pixels of frames 0 and 300";
    const auto colour = [&](size_t at) {
        return RGB(uint8_t(rgb[at]), uint8_t(rgb[at + 1]), uint8_t(rgb[at + 2]));
    };
    const COLORREF frames[] = {colour(0), colour(6)};
    // Where each tile shows the picture's (960, 1080), in its one-colour half.
    const POINT tiles[] = {{112, 144}, {432, 144}, {752, 144}, {112, 384}, {432, 384}};
    SaverProcess saver(scr, L"/s", folder.Path());
    ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
    ASSERT_TRUE(WaitUntil(
        [&] { return ColoursNear(ScreenPixel(tiles[4].x, tiles[4].y), frames[0], 16); }, 180000))
        << "the fifth tile was not drawn";
    for (int tile = 0; tile < 5; ++tile) {
        const COLORREF seen = ScreenPixel(tiles[tile].x, tiles[tile].y);
        EXPECT_TRUE(ColoursNear(seen, frames[tile % 2], 16))
            << "tile " << tile << ": " << std::hex << seen << " for " << frames[tile % 2];
    }
    EXPECT_FALSE(FindTopWindow(saver.Id(), L"", L"#32770")) << "a message";
}

}  // namespace
}  // namespace kineloop
