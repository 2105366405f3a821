// The program on a Western, Chinese or Korean system as on a Japanese one (run under each locale
// beside a recorded sound device, see CMakeLists.txt): a file made on a Japanese system keeps its
// music through the dialog and into the show; a path in the system's own code page is saved and
// played; a save killed around 設定 leaves the file whole and at most its one copy.
#include <cmath>
#include <iostream>
#include <memory>
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

// A letter that the system's code page holds and ASCII does not, with its bytes there.
struct OwnLetter {
    unsigned codePage;
    const wchar_t* letter;
    const char* bytes;
};
constexpr OwnLetter kOwnLetters[] = {{932, L"動", "\x93\xAE"},
                                     {1252, L"é", "\xE9"},
                                     {936, L"中", "\xD6\xD0"},
                                     {949, L"한", "\xC7\xD1"}};

class CodePageE2eTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";
    std::string video = CopyOf(test_media::MediaPath(test_media::kClip320x240), L"clip.avi");
    std::string song = CopyOf(KINELOOP_TONE_WAV, L"tone.wav");
    std::unique_ptr<SaverProcess> saver;
    HWND dialog = nullptr;

    void SetUp() override { std::cout << "ANSI code page " << GetACP() << "\n"; }
    std::string CopyOf(const std::string& built, const std::wstring& name) {
        EXPECT_TRUE(CopyFileW(WindowsPath(built).c_str(), (folder / name).c_str(), FALSE));
        return Narrow(folder / name);
    }
    // The file as a Japanese system saves these settings.
    std::string JapaneseMade(int flameTo) {
        return "[Section]\r\nAVI_File=" + video +
               "\r\nFlame_From=0\r\nFlame_To=" + std::to_string(flameTo) +
               "\r\nPic_Width=320\r\nPic_Height=240\r\nFast=200\r\nFlame_Skip=1\r\nRate=1\r\n"
               "BGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=5\r\nBGM\xCC\xA7\xB2\xD9=" +
               song + "\r\n";
    }
    void Open() {
        saver = std::make_unique<SaverProcess>(scr, L"/c", folder.Path());
        dialog = WaitForTopWindow(saver->Id(), kCaption);
        ASSERT_TRUE(dialog);
    }
    // The control whose middle is at (x, y) of the panel at `origin`.
    HWND At(POINT origin, int x, int y) { return ControlAt(dialog, {origin.x + x, origin.y + y}); }
    HWND CmdSet() { return At({0, 0}, 380, 446); }
    HWND PicWidth() { return At(kPicC, 306, 41); }
    // 設定, clicked again if a click that came while the dialog was settling was lost.
    void Save() {
        for (int attempt = 0; attempt < 5 && saver->Running(); ++attempt) {
            ClickControl(CmdSet());
            WaitUntil([&] { return !saver->Running(); }, 6000);
        }
        ASSERT_FALSE(saver->Running()) << "the dialog stayed open";
    }
    // The first of a centred 3 x 3 grid of 320 x 240 tiles shows one of the clip's frames.
    [[nodiscard]] std::unique_ptr<SaverProcess> StartShowAndSeeTheVideo() {
        auto show = std::make_unique<SaverProcess>(scr, L"/s", folder.Path());
        EXPECT_TRUE(WaitForTopWindow(show->Id(), L"Kine_Main"));
        EXPECT_TRUE(WaitUntil([] {
            const COLORREF seen = ScreenPixel(192, 144);
            for (int frame = 0; frame < 10; ++frame) {
                const test_media::Colour c = test_media::FrameColour(frame);
                if (ColoursNear(seen, RGB(c.r, c.g, c.b), 48))
                    return true;
            }
            return false;
        }));
        return show;
    }
};

TEST_F(CodePageE2eTest, AJapaneseMadeFileKeepsItsMusicThroughTheDialogAndIntoTheShow) {
    SoundRecording recording;
    ASSERT_TRUE(recording.Available()) << "run through tests/music/with-sound-server.sh";
    ASSERT_TRUE(WriteFileBytes(ini, JapaneseMade(9)));
    Open();
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicWidth()) == L"320"; }));
    // Music kind 2: the file shown and its button on; the track list off, holding its track.
    EXPECT_EQ(ControlText(At(kPicD, 238, 108)), Widen(song));
    EXPECT_TRUE(IsWindowEnabled(At(kPicD, 116, 76)));
    const HWND trackList = GetParent(At(kPicD, 88, 46));
    EXPECT_FALSE(IsWindowEnabled(trackList));
    EXPECT_EQ(ControlText(trackList), L"5");
    Save();
    EXPECT_EQ(ReadFileBytes(ini), JapaneseMade(9));

    const size_t start = recording.SampleCount();
    const auto show = StartShowAndSeeTheVideo();
    EXPECT_TRUE(recording.WaitForTone(start, 440, 16384 / std::sqrt(2.0))) << "no music heard";
    ClickAt(512, 384);
    EXPECT_TRUE(show->WaitForExit());
}

TEST_F(CodePageE2eTest, AVideoAtAPathWithALetterOfTheSystemsCodePageIsSavedAndPlayed) {
    const OwnLetter* own = nullptr;
    for (const OwnLetter& letter : kOwnLetters)
        own = letter.codePage == GetACP() ? &letter : own;
    ASSERT_NE(own, nullptr) << "no letter known for code page " << GetACP();
    const std::wstring name = std::wstring(L"vid") + own->letter + L"o";
    ASSERT_TRUE(CreateDirectoryW((folder / name).c_str(), nullptr));
    const std::string chosen = CopyOf(video, name + L"\\clip.avi");
    Open();
    ClickControl(At(kPicB, 142, 48));
    ASSERT_TRUE(AnswerFileDialog(saver->Id(), kFileDialogTitle, Widen(chosen)));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(PicWidth()) == L"320"; }));
    Save();
    const std::string stored = Narrow(folder.Path()) + "\\vid" + own->bytes + "o\\clip.avi";
    EXPECT_NE(ReadFileBytes(ini).find("\r\nAVI_File=" + stored + "\r\n"), std::string::npos);
    const auto show = StartShowAndSeeTheVideo();
    ClickAt(512, 384);
    EXPECT_TRUE(show->WaitForExit());
}

// Each kill comes as soon as the save's copy appears, or a moment after 設定 when it never does.
TEST_F(CodePageE2eTest, AKilledSaveLeavesTheFileWholeAndAtMostItsCopyWhichTheNextSaveRemoves) {
    const std::wstring copy = folder / L"Kineloop.ini.tmp";
    int flameTo = 9;
    ASSERT_TRUE(WriteFileBytes(ini, JapaneseMade(flameTo)));
    for (int round = 0; round < 8; ++round) {
        Open();
        ASSERT_TRUE(SetControlText(At(kPicC, 176, 41), flameTo == 9 ? L"8" : L"9"));
        ClickControl(CmdSet());
        const DWORD start = GetTickCount();
        while (saver->Running() && GetTickCount() - start < 30u * round && !FileExistsAt(copy)) {
        }
        saver->Terminate();
        const std::string now = ReadFileBytes(ini);
        ASSERT_TRUE(now == JapaneseMade(8) || now == JapaneseMade(9)) << now;
        flameTo = now == JapaneseMade(8) ? 8 : 9;
        WIN32_FIND_DATAW found;  // no *.tmp file but the save's own copy
        const HANDLE search = FindFirstFileW((folder / L"*.tmp").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            EXPECT_EQ(found.cFileName, std::wstring(L"Kineloop.ini.tmp"));
            EXPECT_FALSE(FindNextFileW(search, &found)) << Narrow(found.cFileName);
            FindClose(search);
        }
    }
    ASSERT_TRUE(WriteFileBytes(copy, "left"));
    Open();
    Save();
    EXPECT_EQ(ReadFileBytes(ini), JapaneseMade(flameTo));
    EXPECT_FALSE(FileExistsAt(copy));
}

}  // namespace
}  // namespace kineloop
