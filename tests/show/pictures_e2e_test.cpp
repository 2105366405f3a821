// Pictures as a video means them, end to end with the real Kineloop.scr: phone videos with a turn
// in their track header drawn as ffmpeg turns them, an anamorphic video described and kept in its
// seen shape, and a variable-rate video's real frame count in the dialog.
#include <string>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

std::wstring Media(const char* name) {
    return WindowsPath(test_media::MediaPath(name));
}

class Pictures : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    HWND dialog = nullptr;

    HWND In(POINT panel, int x, int y, int width, int height) {
        return ControlAt(dialog, {panel.x + x + width / 2, panel.y + y + height / 2});
    }
    // Starts the dialog and chooses a copy of `media` through its file-open dialog.
    void Choose(SaverProcess& saver, const char* media) {
        const std::wstring video = folder / Widen(media);
        ASSERT_TRUE(CopyFileW(Media(media).c_str(), video.c_str(), FALSE));
        ASSERT_TRUE(dialog = WaitForTopWindow(saver.Id(), kCaption));
        ClickControl(In(kPicB, 124, 36, 37, 25));
        ASSERT_TRUE(AnswerFileDialog(saver.Id(), kFileDialogTitle, video));
    }
};

// The middle of each quarter of the first tile (320 x 240 at 32, 24) shows the colour that
// ffmpeg's own turned decode has there.
TEST_F(Pictures, PhoneVideosAreDrawnTurnedAsTheirTrackHeaderSays) {
    const std::wstring ini = folder / L"Kineloop.ini";
    WriteSetting(ini, "Pic_Width", "320");
    WriteSetting(ini, "Pic_Height", "240");
    for (const auto& video :
         {test_media::kPhoneUpright, test_media::kPhoneTurned90, test_media::kPhoneTurned180}) {
        const std::string rgb = ReadFileBytes(Media(video.reference));
        ASSERT_EQ(rgb.size(), static_cast<size_t>(video.width) * video.height * 3);
        std::string wrong;  // the quarters that differ
        const auto matches = [&] {
            wrong.clear();
            for (const double x : {0.25, 0.75}) {
                for (const double y : {0.25, 0.75}) {
                    const size_t at = (static_cast<size_t>(y * video.height) * video.width +
                                       static_cast<size_t>(x * video.width)) *
                                      3;
                    const COLORREF seen =
                        ScreenPixel(32 + static_cast<int>(x * 320), 24 + static_cast<int>(y * 240));
                    if (!ColoursNear(seen, RGB(rgb[at], rgb[at + 1], rgb[at + 2]), 48))
                        wrong += " " + std::to_string(x) + "," + std::to_string(y);
                }
            }
            return wrong.empty();
        };
        WriteSetting(ini, "AVI_File", Narrow(Media(video.file)));
        SaverProcess saver(scr, L"/s", folder.Path());
        ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
        EXPECT_TRUE(WaitUntil(matches)) << video.file << wrong;
        PressKey(VK_SPACE);
        ASSERT_TRUE(saver.WaitForExit());
    }
}

// 720 x 480 of 32:27 pixels is described, kept in shape and shown as 853 x 480.
TEST_F(Pictures, AnAnamorphicVideoIsDescribedAndKeptInItsSeenShape) {
    SaverProcess saver(scr, L"/c", folder.Path());
    Choose(saver, test_media::kAnamorphic);
    const HWND width = In(kPicC, 284, 32, 45, 18), height = In(kPicC, 376, 32, 41, 17);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(width) == L"853"; }));
    EXPECT_EQ(ControlText(height), L"480");
    EXPECT_EQ(ControlText(In(kPicB, 248, 48, 71, 13)), L"853 * 480");
    // The thumbnail: 85 x 48, not the stored 85 x 57.
    EXPECT_TRUE(WaitUntil([&] {
        const RECT box = ControlRect(ControlAt(dialog, {kPicB.x + 406, kPicB.y + 99}), dialog);
        return box.right - box.left == 85 && box.bottom - box.top == 48;
    }));
    // Keep-aspect is ticked by default: a width typed in sets the height once the box is left.
    ClickControl(width);
    ASSERT_TRUE(WaitUntil([&] { return FocusIn(dialog) == width; }));
    SetControlText(width, L"320");
    ClickControl(In(kPicC, 68, 32, 45, 18));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(height) == L"180"; }));
}

// Counted by the video's own samples, not by the longer sound at the first gap's rate.
TEST_F(Pictures, AVariableRateVideoShowsItsRealLastFrame) {
    SaverProcess saver(scr, L"/c", folder.Path());
    Choose(saver, test_media::kVariableRate);
    const std::wstring last = std::to_wstring(test_media::kVariableRateFrames - 1);
    const HWND flameTo = In(kPicC, 156, 32, 41, 18);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(flameTo) == last; }))
        << Narrow(ControlText(flameTo));
    EXPECT_EQ(ControlText(In(kPicB, 248, 32, 77, 13)), L"0 ～ " + last);
}

}  // namespace
}  // namespace kineloop
