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
namespace test_media {
// Names the video in the test's name and messages.
void PrintTo(const TurnedVideo& video, std::ostream* out) {
    *out << video.file;
}
}  // namespace test_media

namespace {

using namespace test;
using test_media::TurnedVideo;

std::wstring Media(const char* name) {
    return WindowsPath(test_media::MediaPath(name));
}

class TurnedPhoneVideo : public ::testing::TestWithParam<TurnedVideo> {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";
};

// The first tile (320 x 240 at 32, 24) holds the whole picture stretched: the middle of each of
// its four quarters shows the colour ffmpeg's own decode has there.
TEST_P(TurnedPhoneVideo, TilesMatchFfmpegsOwnTurnedPicture) {
    const TurnedVideo& video = GetParam();
    const std::string reference = ReadFileBytes(Media(video.reference));
    ASSERT_EQ(reference.size(), static_cast<size_t>(video.width) * video.height * 3);
    const auto expected = [&](double fx, double fy) {
        const size_t at = (static_cast<size_t>(fy * video.height) * video.width +
                           static_cast<size_t>(fx * video.width)) *
                          3;
        const auto* rgb = reinterpret_cast<const uint8_t*>(reference.data()) + at;
        return RGB(rgb[0], rgb[1], rgb[2]);
    };
    const auto seen = [](double fx, double fy) {
        return ScreenPixel(32 + static_cast<int>(fx * 320), 24 + static_cast<int>(fy * 240));
    };
    const double quarters[] = {0.25, 0.75};
    const auto matches = [&] {
        for (double fy : quarters) {
            for (double fx : quarters) {
                if (!ColoursNear(seen(fx, fy), expected(fx, fy), 48))
                    return false;
            }
        }
        return true;
    };

    WriteSetting(ini, "AVI_File", Narrow(Media(video.file)));
    WriteSetting(ini, "Pic_Width", "320");
    WriteSetting(ini, "Pic_Height", "240");
    WriteSetting(ini, "Fast", "200");
    SaverProcess saver(scr, L"/s", folder.Path());
    ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main"));
    EXPECT_TRUE(WaitUntil(matches));
    for (double fy : quarters) {
        for (double fx : quarters) {
            EXPECT_TRUE(ColoursNear(seen(fx, fy), expected(fx, fy), 48))
                << "at " << fx << ", " << fy << ": " << std::hex << seen(fx, fy) << " for "
                << expected(fx, fy);
        }
    }
    EXPECT_EQ(FindTopWindow(saver.Id(), L"", L"#32770"), nullptr) << "nothing to report";
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Turns, TurnedPhoneVideo,
                         ::testing::Values(test_media::kPhoneUpright, test_media::kPhoneTurned90,
                                           test_media::kPhoneTurned180));

class PicturesInTheDialog : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    HWND dialog = nullptr;

    HWND In(POINT origin, int x, int y, int width, int height) {
        return ControlAt(dialog, {origin.x + x + width / 2, origin.y + y + height / 2});
    }
    HWND FlameFrom() { return In(kPicC, 68, 32, 45, 18); }
    HWND FlameTo() { return In(kPicC, 156, 32, 41, 18); }
    HWND PicWidth() { return In(kPicC, 284, 32, 45, 18); }
    HWND PicHeight() { return In(kPicC, 376, 32, 41, 17); }
    HWND LblFlameFT() { return In(kPicB, 248, 32, 77, 13); }
    HWND LblFlameSize() { return In(kPicB, 248, 48, 71, 13); }

    // Starts the dialog and chooses a copy of `media` through its file-open dialog.
    void Choose(SaverProcess& saver, const char* media) {
        const std::wstring video = folder / Widen(media);
        ASSERT_TRUE(CopyFileW(Media(media).c_str(), video.c_str(), FALSE));
        dialog = WaitForTopWindow(saver.Id(), kCaption);
        ASSERT_TRUE(dialog);
        ClickControl(In(kPicB, 124, 36, 37, 25));
        ASSERT_TRUE(AnswerFileDialog(saver.Id(), kFileDialogTitle, video));
    }
};

// 720 x 480 of 32:27 pixels is seen, described and kept in shape as 853 x 480.
TEST_F(PicturesInTheDialog, AnAnamorphicVideoIsDescribedAndKeptInItsSeenShape) {
    SaverProcess saver(scr, L"/c", folder.Path());
    Choose(saver, test_media::kAnamorphic);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(PicWidth()) == L"853"; }))
        << Narrow(ControlText(PicWidth()));
    EXPECT_EQ(ControlText(PicHeight()), L"480");
    EXPECT_EQ(ControlText(LblFlameSize()), L"853 * 480");
    EXPECT_EQ(ControlText(LblFlameFT()), L"0 ～ 5");
    // The thumbnail has the seen shape too: 85 x 48, not the stored 85 x 57.
    const HWND thumbnail = ControlAt(dialog, {kPicB.x + 376 + 30, kPicB.y + 99});
    ASSERT_TRUE(thumbnail);
    EXPECT_TRUE(WaitUntil([&] {
        const RECT box = ControlRect(thumbnail, dialog);
        return box.right - box.left == 85 && box.bottom - box.top == 48;
    }));
    // The keep-aspect box is ticked by default: a width typed in sets the height once left.
    ClickControl(PicWidth());
    SetControlText(PicWidth(), L"320");
    ClickControl(FlameFrom());
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicHeight()) == L"180"; }))
        << Narrow(ControlText(PicHeight()));
    EXPECT_FALSE(WaitForMessageBoxTitled(saver.Id(), L"Kineloop", 500)) << "nothing to report";
}

// Counted from the video's own samples, not from the longer sound at the first gap's rate.
TEST_F(PicturesInTheDialog, AVariableRateVideoShowsItsRealLastFrame) {
    SaverProcess saver(scr, L"/c", folder.Path());
    Choose(saver, test_media::kVariableRate);
    const std::wstring last = std::to_wstring(test_media::kVariableRateFrames - 1);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(PicWidth()) == L"64"; }));
    EXPECT_EQ(ControlText(FlameTo()), last);
    EXPECT_EQ(ControlText(LblFlameFT()), L"0 ～ " + last);
}

}  // namespace
}  // namespace kineloop
