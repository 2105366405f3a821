// The program on a Western, Chinese or Korean system (run under those locales beside a recorded
// sound device, see CMakeLists.txt): a settings file made on a Japanese system opens in the dialog
// with its music, 設定 keeps it byte for byte, and the show plays its video with its music; a
// video at a path with a letter of the system's own code page is chosen, saved and played.
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "media/test_media.h"
#include "music/sound_recording.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

const double kToneRms = 16384 / std::sqrt(2.0);  // the test tone is at half of full scale
constexpr double kWavTone = 440;

// A letter that the system's code page holds and ASCII does not, with its bytes there.
struct OwnLetter {
    unsigned codePage;
    const wchar_t* letter;
    const char* bytes;
};
constexpr OwnLetter kOwnLetters[] = {
    {932, L"動", "\x93\xAE"},
    {1252, L"é", "\xE9"},
    {936, L"中", "\xD6\xD0"},
    {949, L"한", "\xC7\xD1"},
};

// Whether the screen at (x, y) shows one of the colour clip's frames.
bool ShowsAFrame(int x, int y) {
    const COLORREF seen = ScreenPixel(x, y);
    for (int frame = 0; frame < 10; ++frame) {
        const test_media::Colour c = test_media::FrameColour(frame);
        if (ColoursNear(seen, RGB(c.r, c.g, c.b), 48))
            return true;
    }
    return false;
}

class CodePageE2eTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";
    std::unique_ptr<SaverProcess> saver;
    HWND dialog = nullptr;
    SoundRecording recording;

    void SetUp() override {
        std::cout << "ANSI code page " << GetACP() << "\n";
        ASSERT_TRUE(recording.Available()) << "run through tests/music/with-sound-server.sh";
    }

    std::wstring CopyOf(const std::string& built, const std::wstring& name) {
        const std::wstring copy = folder / name;
        EXPECT_TRUE(CopyFileW(WindowsPath(built).c_str(), copy.c_str(), FALSE));
        return copy;
    }
    HWND Open() {
        saver = std::make_unique<SaverProcess>(scr, L"/c", folder.Path());
        dialog = WaitForTopWindow(saver->Id(), kCaption);
        return dialog;
    }
    HWND Control(POINT origin, int x, int y, int width, int height) {
        const HWND control =
            ControlAt(dialog, {origin.x + x + width / 2, origin.y + y + height / 2});
        EXPECT_NE(control, nullptr) << x << "," << y;
        return control;
    }
    HWND CmdSet() { return Control({0, 0}, 344, 432, 73, 29); }
    HWND CmdAviGet() { return Control(kPicB, 124, 36, 37, 25); }
    HWND LblFname() { return Control(kPicB, 16, 68, 353, 33); }
    HWND PicWidth() { return Control(kPicC, 284, 32, 45, 18); }
    HWND CmdFile() { return Control(kPicD, 100, 64, 33, 25); }
    HWND LblBgmFile() { return Control(kPicD, 16, 92, 445, 33); }
    HWND BgmRepeat() {
        HWND control = ControlAt(dialog, {kPicD.x + 80 + 8, kPicD.y + 36 + 10});
        wchar_t name[32] = {};
        while (control && GetClassNameW(control, name, 32) && lstrcmpiW(name, L"ComboBox") != 0)
            control = GetParent(control);
        EXPECT_NE(control, nullptr);
        return control;
    }
    // 設定, clicked again if a click that came while the dialog was settling was lost.
    void Save() {
        for (int attempt = 0; attempt < 5 && saver->Running(); ++attempt) {
            ClickControl(CmdSet());
            if (WaitUntil([&] { return !saver->Running(); }, 6000))
                break;
        }
        if (saver->Running()) {
            const auto box = WaitForMessageBoxTitled(saver->Id(), L"Kineloop", 1000);
            FAIL() << "the dialog stayed open: " << (box ? Narrow(box->text) : "no message");
        }
    }
    // The show: the first of a centred 3 x 3 grid of 320 x 240 tiles shows the clip.
    std::unique_ptr<SaverProcess> StartShowAndSeeTheVideo() {
        auto show = std::make_unique<SaverProcess>(scr, L"/s", folder.Path());
        EXPECT_TRUE(WaitForTopWindow(show->Id(), L"Kine_Main"));
        EXPECT_TRUE(WaitUntil([] { return ShowsAFrame(192, 144); }));
        return show;
    }
    void EndShow(SaverProcess& show) {
        ClickAt(512, 384);
        EXPECT_TRUE(show.WaitForExit());
    }
};

TEST_F(CodePageE2eTest, AJapaneseMadeFileKeepsItsMusicThroughTheDialogAndIntoTheShow) {
    const std::string video =
        Narrow(CopyOf(test_media::MediaPath(test_media::kClip320x240), L"clip.avi"));
    const std::string song = Narrow(CopyOf(KINELOOP_TONE_WAV, L"tone.wav"));
    const std::string japaneseMade =
        "[Section]\r\nAVI_File=" + video +
        "\r\nFlame_From=0\r\nFlame_To=9\r\nPic_Width=320\r\nPic_Height=240\r\nFast=200\r\n"
        "Flame_Skip=1\r\nRate=1\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=5\r\n"
        "BGM\xCC\xA7\xB2\xD9=" +
        song + "\r\n";
    ASSERT_TRUE(WriteFileBytes(ini, japaneseMade));

    ASSERT_TRUE(Open());
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicWidth()) == L"320"; }));
    EXPECT_EQ(ControlText(LblFname()), Widen(video));
    // Music kind 2, the music file: its button on, the track list off but holding its track.
    EXPECT_EQ(ControlText(LblBgmFile()), Widen(song));
    EXPECT_TRUE(IsWindowEnabled(CmdFile()));
    EXPECT_FALSE(IsWindowEnabled(BgmRepeat()));
    EXPECT_EQ(ControlText(BgmRepeat()), L"5");
    Save();
    EXPECT_EQ(ReadFileBytes(ini), japaneseMade);

    const size_t start = recording.SampleCount();
    const auto show = StartShowAndSeeTheVideo();
    EXPECT_TRUE(recording.WaitForTone(start, kWavTone, kToneRms)) << "the music was not heard";
    EndShow(*show);
}

TEST_F(CodePageE2eTest, AVideoAtAPathWithALetterOfTheSystemsCodePageIsSavedAndPlayed) {
    const OwnLetter* own = nullptr;
    for (const OwnLetter& letter : kOwnLetters)
        if (letter.codePage == GetACP())
            own = &letter;
    ASSERT_NE(own, nullptr) << "no letter known for code page " << GetACP();
    const std::wstring folderName = std::wstring(L"vid") + own->letter + L"o";
    ASSERT_TRUE(CreateDirectoryW((folder / folderName).c_str(), nullptr));
    const std::wstring video =
        CopyOf(test_media::MediaPath(test_media::kClip320x240), folderName + L"\\clip.avi");

    ASSERT_TRUE(Open());
    ClickControl(CmdAviGet());
    ASSERT_TRUE(AnswerFileDialog(saver->Id(), kFileDialogTitle, video));
    ASSERT_TRUE(WaitUntil([&] { return ControlText(LblFname()) == video; }));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicWidth()) == L"320"; }));
    Save();
    const std::string stored = Narrow(folder.Path()) + "\\vid" + own->bytes + "o\\clip.avi";
    EXPECT_NE(ReadFileBytes(ini).find("AVI_File=" + stored + "\r\n"), std::string::npos)
        << ReadFileBytes(ini);

    const auto show = StartShowAndSeeTheVideo();
    EndShow(*show);
}

}  // namespace
}  // namespace kineloop
