// Videos on a disk that has to wake (6 s before its first read) and then reads slowly (50 ms a
// read), end to end: they open and play in the show and the dialog, and the show can be ended
// while the disk wakes. One that wakes after the open's limit is reported, and does not keep
// other videos from opening once it has woken. Run beside with-slow-disk.sh, which names the disk
// in KINELOOP_SLOW_DISK.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

// A disk's wake and the open after it, with room for a loaded machine.
constexpr DWORD kWokenWithinMs = 40000;

class SlowDiskTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";

    // Each file is cold until its first read: every scenario takes files of its own.
    static std::wstring OnSlowDisk(const char* name) {
        const char* disk = std::getenv("KINELOOP_SLOW_DISK");
        return disk ? WindowsPath(std::string(disk) + "/" + name) : std::wstring();
    }
    void Choose(const std::wstring& video) {
        WriteSetting(ini, "AVI_File", Narrow(video));
        WriteSetting(ini, "Pic_Width", "320");
        WriteSetting(ini, "Pic_Height", "240");
        WriteSetting(ini, "Fast", "300");
    }
};

TEST_F(SlowDiskTest, AnMp4AndAnAviOnAWakingDiskPlay) {
    for (const char* name : {test_media::kH264, test_media::kCinepak}) {
        const std::wstring video = OnSlowDisk(name);
        ASSERT_FALSE(video.empty()) << "no slow disk: run beside with-slow-disk.sh";
        Choose(video);
        SaverProcess saver(scr, L"/s", folder.Path());
        ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
        EXPECT_TRUE(WaitUntil(
            [&] {
                return ColoursNear(ScreenPixel(352 + 160, 24 + 160),
                                   RGB(test_media::FrameColour(1).r, test_media::FrameColour(1).g,
                                       test_media::FrameColour(1).b),
                                   48);
            },
            kWokenWithinMs))
            << name << ": no second tile";
        EXPECT_EQ(FindTopWindow(saver.Id(), L"", L"#32770"), nullptr) << name << " was refused";
        PressKey(VK_SPACE);
        EXPECT_TRUE(saver.WaitForExit(5000)) << name;
    }
}

TEST_F(SlowDiskTest, AKeyEndsTheShowWhileTheDiskWakes) {
    Choose(OnSlowDisk(test_media::kH264WithAudio));
    SaverProcess saver(scr, L"/s", folder.Path());
    ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(5000));
}

TEST_F(SlowDiskTest, TheDialogTakesAVideoOnAWakingDisk) {
    const std::wstring video = OnSlowDisk(test_media::kH264Odd);
    SaverProcess saver(scr, L"/c", folder.Path());
    const HWND dialog = WaitForTopWindow(saver.Id(), kCaption);
    ASSERT_TRUE(dialog);
    ClickControl(ControlAt(dialog, {kPicB.x + 124 + 18, kPicB.y + 36 + 12}));  // "..."
    ASSERT_TRUE(AnswerFileDialog(saver.Id(), kFileDialogTitle, video));
    const HWND flameTo = ControlAt(dialog, {kPicC.x + 156 + 20, kPicC.y + 32 + 9});
    EXPECT_TRUE(WaitUntil([&] { return ControlText(flameTo) == L"11"; }, kWokenWithinMs))
        << Narrow(ControlText(flameTo));
    EXPECT_FALSE(WaitForMessageBoxTitled(saver.Id(), L"Kineloop", 500)) << "refused";
}

TEST_F(SlowDiskTest, AVideoTooSlowToOpenIsReportedAndTheNextOpensOnceTheDiskWoke) {
    const std::wstring asleep = OnSlowDisk("deep/h264.mp4");
    SaverProcess saver(scr, L"/c", folder.Path());
    const HWND dialog = WaitForTopWindow(saver.Id(), kCaption);
    ASSERT_TRUE(dialog);
    const HWND more = ControlAt(dialog, {kPicB.x + 124 + 18, kPicB.y + 36 + 12});  // "..."
    const HWND flameTo = ControlAt(dialog, {kPicC.x + 156 + 20, kPicC.y + 32 + 9});
    ClickControl(more);
    ASSERT_TRUE(AnswerFileDialog(saver.Id(), kFileDialogTitle, asleep));
    const auto box = WaitForMessageBoxTitled(saver.Id(), L"Kineloop", kWokenWithinMs);
    ASSERT_TRUE(box) << "no report";
    EXPECT_EQ(box->text, L"Error : \r\n" + asleep);
    AnswerMessageBox(*box);
    // Refused at once while the platform still waits for that disk; taken once it woke.
    const std::wstring awake = WindowsPath(test_media::MediaPath(test_media::kH264Odd));
    bool taken = false;
    for (int choice = 0; choice < 20 && !taken; ++choice) {
        ClickControl(more);
        ASSERT_TRUE(AnswerFileDialog(saver.Id(), kFileDialogTitle, awake));
        taken = WaitUntil([&] { return ControlText(flameTo) == L"11"; }, 2000);
        if (const auto refusal = WaitForMessageBoxTitled(saver.Id(), L"Kineloop", 100))
            AnswerMessageBox(*refusal);
    }
    EXPECT_TRUE(taken);
}

}  // namespace
}  // namespace kineloop
