// Videos that only Media Foundation decodes, and a zero-filled video, end to end: the real
// Kineloop.scr shows an MP4's tiles, takes an MP4 in its dialog, and never hangs on a file the
// platform takes seconds a gigabyte to refuse.
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/handles_win32.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

// Under load the end still comes well before the 10 s a gigabyte the platform spends refusing a
// zero-filled file.
constexpr DWORD kPromptlyMs = 8000;

bool Near(COLORREF seen, test_media::Colour expected, int tolerance = 48) {
    return ColoursNear(seen, RGB(expected.r, expected.g, expected.b), tolerance);
}

class FormatsTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";

    // A file of `bytes` zero bytes that takes no room on the disk, as a pre-allocated download.
    std::wstring ZeroFilled(const std::wstring& name, int64_t bytes) {
        const std::wstring path = folder / name;
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(file);
        LARGE_INTEGER size;
        size.QuadPart = bytes;
        EXPECT_TRUE(SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN));
        EXPECT_TRUE(SetEndOfFile(file.Get()));
        return path;
    }
};

// Frames of 64 x 48 with a white top quarter, stretched to tiles of 320 x 240 in reading order.
TEST_F(FormatsTest, TheShowDrawsAnMp4sFramesUprightAndAKeyEndsIt) {
    WriteSetting(ini, "AVI_File", Narrow(WindowsPath(test_media::MediaPath(test_media::kH264))));
    WriteSetting(ini, "Pic_Width", "320");
    WriteSetting(ini, "Pic_Height", "240");
    WriteSetting(ini, "Fast", "200");
    WriteSetting(ini, "Flame_Skip", "1");
    SaverProcess saver(scr, L"/s", folder.Path());
    ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
    const int xs[] = {32, 352, 672};
    ASSERT_TRUE(WaitUntil([&] {
        return Near(ScreenPixel(672 + 160, 24 + 160), test_media::FrameColour(2));
    })) << "no third tile";
    for (int tile = 0; tile < 3; ++tile) {
        EXPECT_TRUE(Near(ScreenPixel(xs[tile] + 160, 24 + 160), test_media::FrameColour(tile)))
            << "tile " << tile;
        EXPECT_TRUE(Near(ScreenPixel(xs[tile] + 160, 24 + 20), test_media::kBandColour))
            << "tile " << tile << " is not upright";
    }
    EXPECT_EQ(FindTopWindow(saver.Id(), L"", L"#32770"), nullptr) << "nothing to report";
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(kPromptlyMs));
}

TEST_F(FormatsTest, AZeroFilledVideoIsReportedOnceAndAKeyEndsTheShow) {
    const std::wstring video = ZeroFilled(L"download.avi", 1ll << 30);
    WriteSetting(ini, "AVI_File", Narrow(video));
    WriteSetting(ini, "Pic_Width", "320");
    WriteSetting(ini, "Pic_Height", "240");
    SaverProcess saver(scr, L"/s", folder.Path());
    const auto box = WaitForMessageBox(saver.Id(), kPromptlyMs);
    ASSERT_TRUE(box) << "no report";
    EXPECT_EQ(box->text, L"Error : \r\n" + video);
    AnswerMessageBox(*box);
    ASSERT_TRUE(WaitUntil([&] { return !FindTopWindow(saver.Id(), L"", L"#32770"); }));
    ASSERT_TRUE(WaitForTopWindow(saver.Id(), L"Kine_Main")) << saver.State();
    PressKey(VK_RETURN);
    EXPECT_TRUE(saver.WaitForExit(kPromptlyMs));
    EXPECT_EQ(saver.ExitCode(), 0u) << "it ended, but not by itself";
}

TEST_F(FormatsTest, AZeroFilledStoredVideoIsReportedOnceBeforeTheDialogShows) {
    const std::wstring video = ZeroFilled(L"download.avi", 1ll << 30);
    WriteSetting(ini, "AVI_File", Narrow(video));
    SaverProcess saver(scr, L"/c", folder.Path());
    const auto box = WaitForMessageBoxTitled(saver.Id(), L"Kineloop", kPromptlyMs);
    ASSERT_TRUE(box) << "no report";
    EXPECT_EQ(box->text, L"Error : \r\n" + video);
    AnswerMessageBox(*box);
    EXPECT_TRUE(WaitForTopWindow(saver.Id(), kCaption, L"", kPromptlyMs));
    EXPECT_FALSE(WaitForMessageBoxTitled(saver.Id(), L"Kineloop", 1000)) << "reported twice";
}

// Chosen through the real file-open dialog, an MP4 fills the range, the size and the thumbnail
// as an AVI does, and is saved.
TEST_F(FormatsTest, AnMp4ChosenInTheDialogFillsItsFieldsAndIsSaved) {
    const std::wstring video = folder / L"電話 動画.mp4";
    ASSERT_TRUE(CopyFileW(WindowsPath(test_media::MediaPath(test_media::kH264)).c_str(),
                          video.c_str(), FALSE));
    SaverProcess saver(scr, L"/c", folder.Path());
    const HWND dialog = WaitForTopWindow(saver.Id(), kCaption);
    ASSERT_TRUE(dialog);
    auto at = [&](POINT origin, int x, int y, int width, int height) {
        return ControlAt(dialog, {origin.x + x + width / 2, origin.y + y + height / 2});
    };
    const HWND cmdAviGet = at(kPicB, 124, 36, 37, 25);
    ClickControl(cmdAviGet);
    ASSERT_TRUE(AnswerFileDialog(saver.Id(), kFileDialogTitle, video));
    const HWND flameTo = at(kPicC, 156, 32, 41, 18);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(flameTo) == L"11"; }))
        << Narrow(ControlText(flameTo));
    EXPECT_EQ(ControlText(at(kPicC, 68, 32, 45, 18)), L"0");
    EXPECT_EQ(ControlText(at(kPicC, 284, 32, 45, 18)), L"64");
    EXPECT_EQ(ControlText(at(kPicC, 376, 32, 41, 17)), L"48");
    EXPECT_EQ(ControlText(at(kPicB, 248, 32, 77, 13)), L"0 ～ 11");
    EXPECT_EQ(ControlText(at(kPicB, 248, 48, 71, 13)), L"64 * 48");
    // The thumbnail: 85 x 63.75, its bottom at 101; frame 0 red below its white band.
    const HWND thumbnail = ControlAt(dialog, {kPicB.x + 376 + 30, kPicB.y + 99});
    ASSERT_TRUE(thumbnail);
    EXPECT_TRUE(WaitUntil([&] {
        return Near(ControlPixel(thumbnail, 42, 50), test_media::FrameColour(0)) &&
               Near(ControlPixel(thumbnail, 42, 4), test_media::kBandColour);
    }));
    EXPECT_FALSE(WaitForMessageBoxTitled(saver.Id(), L"Kineloop", 500)) << "nothing to report";

    ClickControl(at({0, 0}, 344, 432, 73, 29));  // 設定
    ASSERT_TRUE(saver.WaitForExit());
    const std::string saved = ReadFileBytes(ini);
    const int length =
        WideCharToMultiByte(CP_ACP, 0, video.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, video.c_str(), -1, ansi.data(), length, nullptr, nullptr);
    EXPECT_NE(saved.find("AVI_File=" + ansi + "\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Flame_To=11\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Pic_Width=64\r\n"), std::string::npos) << saved;
}

}  // namespace
}  // namespace kineloop
