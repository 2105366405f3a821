// The settings dialog end to end where a user's settings could be lost: names the settings
// file's code page cannot hold, files the show could not play, a full volume, a long path.
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

bool Near(COLORREF a, COLORREF b, int tolerance = 48) {
    return ColoursNear(a, b, tolerance);
}

// A value of the settings file as the program reads it.
std::wstring StoredValue(const std::wstring& ini, const wchar_t* key) {
    std::wstring value(32768, L'\0');
    value.resize(GetPrivateProfileStringW(L"Section", key, L"", value.data(),
                                          static_cast<DWORD>(value.size()), ini.c_str()));
    return value;
}

// Whether two paths name the very same file (not merely one that looks alike).
bool SameFile(const std::wstring& a, const std::wstring& b) {
    auto identity = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
        const HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const bool read = GetFileInformationByHandle(file, &info) != FALSE;
        CloseHandle(file);
        return read;
    };
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

class SavingTest : public ::testing::Test {
  protected:
    TempFolder temp;
    std::wstring folder = temp.Path();
    std::wstring scr;
    std::wstring ini;
    std::unique_ptr<SaverProcess> saver;
    HWND dialog = nullptr;

    void Install(const std::wstring& where) {
        folder = where;
        scr = where + L"\\Kineloop.scr";
        ASSERT_TRUE(CopyFileW(BuiltScreenSaver().c_str(), scr.c_str(), FALSE));
        ini = where + L"\\Kineloop.ini";
    }
    void SetUp() override { Install(temp.Path()); }

    HWND Open() {
        saver = std::make_unique<SaverProcess>(scr, L"/c", folder);
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
    HWND CmdCan() { return Control({0, 0}, 420, 432, 73, 29); }
    HWND CmdAviGet() { return Control(kPicB, 124, 36, 37, 25); }
    HWND LblFname() { return Control(kPicB, 16, 68, 353, 33); }
    HWND LblFlameFT() { return Control(kPicB, 248, 32, 77, 13); }
    HWND LblFlameSize() { return Control(kPicB, 248, 48, 71, 13); }
    HWND FlameTo() { return Control(kPicC, 156, 32, 41, 18); }
    HWND PicWidth() { return Control(kPicC, 284, 32, 45, 18); }
    HWND PicHeight() { return Control(kPicC, 376, 32, 41, 17); }
    HWND CmdFile() { return Control(kPicD, 100, 64, 33, 25); }
    HWND ImgBgm2() { return Control(kPicD, 16, 72, 13, 13); }
    HWND LblBgmFile() { return Control(kPicD, 16, 92, 445, 33); }
    HWND PicDisp() { return ControlAt(dialog, {kPicB.x + 376 + 30, kPicB.y + 99}); }

    // Chooses a file through `button` and the real file-open dialog.
    void Choose(HWND button, const std::wstring& path) {
        ClickControl(button);
        ASSERT_TRUE(AnswerFileDialog(saver->Id(), kFileDialogTitle, path));
    }
    // Waits for the program's one message box, answers it and returns its text; fails the test
    // when a second one follows.
    std::wstring OneMessage() {
        const auto box = WaitForMessageBoxTitled(saver->Id(), L"Kineloop");
        if (!box)
            return L"(no message)";
        AnswerMessageBox(*box);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->window); }));
        EXPECT_FALSE(WaitForMessageBoxTitled(saver->Id(), L"Kineloop", 1500)) << "a second box";
        return box->text;
    }
    // Clicks `button` until `done` holds: on a loaded machine a click that comes while the
    // dialog is still settling can be lost, and one more click does no harm.
    bool ClickUntil(HWND button, const std::function<bool()>& done) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            ClickControl(button);
            if (WaitUntil(done, 6000))
                return true;
        }
        return false;
    }
    // Set, and the dialog closes.
    void Save() {
        ASSERT_TRUE(ClickUntil(CmdSet(), [&] { return !saver->Running(); }));
    }
};

// The names "한국어" and "café" have no Shift-JIS form, and "café" would best-fit to the
// "cafe.avi" beside it: either the show plays exactly the chosen file, or the choice is refused
// with a message and the file is left byte for byte as it was. The same for a music file.
TEST_F(SavingTest, NamesTheCodePageCannotHoldArePlayedExactlyOrRefused) {
    const std::wstring videos = folder + L"\\ビデオ";
    ASSERT_TRUE(CreateDirectoryW(videos.c_str(), nullptr));
    const std::wstring red = WindowsPath(KINELOOP_RED_AVI), blue = WindowsPath(KINELOOP_BLUE_AVI);
    const std::wstring korean = videos + L"\\한국어.avi", cafe = videos + L"\\café.avi";
    const std::wstring music = videos + L"\\음악.wav";
    ASSERT_TRUE(CopyFileW(red.c_str(), korean.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(red.c_str(), cafe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(blue.c_str(), (videos + L"\\cafe.avi").c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(music, "RIFF"));

    for (const std::wstring& video : {korean, cafe}) {
        const std::string before = "[Section]\r\nFast=40\r\n";
        ASSERT_TRUE(WriteFileBytes(ini, before));
        ASSERT_TRUE(Open());
        Choose(CmdAviGet(), video);
        bool refused = false;
        ASSERT_TRUE(WaitUntil([&] {
            refused = FindTopWindow(saver->Id(), L"Kineloop", L"#32770") != nullptr;
            return refused || ControlText(PicWidth()) == L"320";
        }));
        if (refused) {
            EXPECT_NE(OneMessage().find(video), std::wstring::npos);
            EXPECT_EQ(ControlText(LblFname()), L"");
            ClickControl(CmdCan());
            ASSERT_TRUE(saver->WaitForExit());
            EXPECT_EQ(ReadFileBytes(ini), before);
            continue;
        }
        ClickControl(ImgBgm2());
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(CmdFile()) != FALSE; }));
        Choose(CmdFile(), music);
        ASSERT_TRUE(WaitUntil([&] {
            refused = FindTopWindow(saver->Id(), L"Kineloop", L"#32770") != nullptr;
            return refused || !ControlText(LblBgmFile()).empty();
        }));
        if (refused) {
            EXPECT_NE(OneMessage().find(music), std::wstring::npos);
        }
        Save();

        EXPECT_TRUE(SameFile(StoredValue(ini, L"AVI_File"), video)) << Narrow(video);
        if (!refused) {
            const std::wstring storedMusic = StoredValue(ini, L"BGMﾌｧｲﾙ");
            EXPECT_TRUE(SameFile(storedMusic, music));
            // The next start of the dialog still has the music file, and its kind.
            ASSERT_TRUE(Open());
            EXPECT_EQ(ControlText(LblBgmFile()), storedMusic);
            EXPECT_TRUE(IsWindowEnabled(CmdFile()));
            ClickControl(CmdCan());
            ASSERT_TRUE(saver->WaitForExit());
        }
        // The show plays the red 320 x 240 video, not the blue one: the first of a centred 3 x 3
        // grid of 320 x 240 tiles.
        SaverProcess show(scr, L"/s", folder);
        ASSERT_TRUE(WaitForTopWindow(show.Id(), L"Kine_Main"));
        EXPECT_TRUE(WaitUntil([] { return Near(ScreenPixel(192, 144), RGB(255, 0, 0)); }))
            << Narrow(video);
    }
}

// A file the show could not play is refused with one message, whatever the reason; the panel
// keeps describing the stored video, which Set then keeps.
TEST_F(SavingTest, AChosenVideoThatCannotBeShownIsRefusedAndTheStoredOneKept) {
    const std::wstring good = folder + L"\\good.avi";
    ASSERT_TRUE(CopyFileW(WindowsPath(test_media::MediaPath(test_media::kClip320x240)).c_str(),
                          good.c_str(), FALSE));
    std::string junk;
    for (unsigned i = 0, x = 12345; i < 100; ++i, x = x * 1103515245u + 12345u)
        junk.push_back(static_cast<char>(x >> 16));
    const std::wstring junkAvi = folder + L"\\junk.avi";
    ASSERT_TRUE(WriteFileBytes(junkAvi, junk));
    WriteSetting(ini, "AVI_File", Narrow(good));
    WriteSetting(ini, "Pic_Width", "100");
    WriteSetting(ini, "Pic_Height", "75");
    ASSERT_TRUE(Open());
    ASSERT_TRUE(WaitUntil([&] { return ControlText(LblFlameFT()) == L"0 ～ 9"; }));
    const std::wstring panel[] = {ControlText(LblFname()), ControlText(LblFlameFT()),
                                  ControlText(LblFlameSize()), ControlText(PicWidth()),
                                  ControlText(PicHeight())};
    ASSERT_TRUE(WaitUntil([&] { return Near(ControlPixel(PicDisp(), 42, 32), RGB(255, 0, 0)); }));

    struct Case {
        std::wstring path;
        std::wstring message;
    };
    // (A 24-bit AVI that AVIFile has no decoder for is no longer refused: Media Foundation
    // shows it.)
    const std::wstring topDown8 = WindowsPath(test_media::MediaPath(test_media::kTopDown8));
    const Case cases[] = {
        {junkAvi, L"Error : \r\n" + junkAvi},
        {topDown8, L"Error : AVI 256色は無効 \r\n" + topDown8},
    };
    for (const Case& c : cases) {
        Choose(CmdAviGet(), c.path);
        EXPECT_EQ(OneMessage(), c.message);
        const std::wstring now[] = {ControlText(LblFname()), ControlText(LblFlameFT()),
                                    ControlText(LblFlameSize()), ControlText(PicWidth()),
                                    ControlText(PicHeight())};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(now[i], panel[i]) << Narrow(c.path) << " field " << i;
        EXPECT_TRUE(Near(ControlPixel(PicDisp(), 42, 32), RGB(255, 0, 0))) << Narrow(c.path);
    }
    Save();
    EXPECT_EQ(StoredValue(ini, L"AVI_File"), good);
}

// A full volume: Set says the file could not be written and the dialog stays open; the old file
// is byte for byte intact, and where there was none, none (and no copy) is left behind.
TEST_F(SavingTest, OnAFullVolumeNothingIsWrittenAndTheDialogStaysOpen) {
    const char* volume = std::getenv("KINELOOP_FULL_VOLUME");
    ASSERT_NE(volume, nullptr) << "run through tests/settings_dialog/with-small-volume.sh";
    const std::wstring place = WindowsPath(volume) + L"\\saver";
    ASSERT_TRUE(CreateDirectoryW(place.c_str(), nullptr));
    Install(place);

    // Fills what is left of the volume, down to the last byte.
    int fillers = 0;
    auto fillVolume = [&] {
        const std::wstring name = place + L"\\filler" + std::to_wstring(++fillers);
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const std::string block(65536, 'x');
        for (DWORD size = 65536; size > 0; size /= 2) {
            DWORD written = 0;
            while (WriteFile(file, block.data(), size, &written, nullptr) && written == size) {
            }
        }
        CloseHandle(file);
    };
    auto saveFails = [&] {
        SetControlText(FlameTo(), L"77");
        ASSERT_TRUE(ClickUntil(CmdSet(), [&] {
            return FindTopWindow(saver->Id(), L"Kineloop", L"#32770") || !saver->Running();
        }));
        const std::wstring message = OneMessage();
        EXPECT_NE(message.find(L"保存されていません"), std::wstring::npos) << Narrow(message);
        EXPECT_TRUE(saver->Running());
        EXPECT_EQ(ControlText(FlameTo()), L"77");
        ClickControl(CmdCan());
        ASSERT_TRUE(saver->WaitForExit());
    };

    // A 4094-byte file, that a cut write would have left broken in its video path.
    std::string old = "[Section]\r\nAVI_File=" + Narrow(folder) + "\\gone.avi\r\nFast=40\r\n; ";
    old += std::string(4094 - old.size() - 2, '-') + "\r\n";
    ASSERT_EQ(old.size(), 4094u);
    ASSERT_TRUE(WriteFileBytes(ini, old));
    fillVolume();
    ASSERT_TRUE(Open());
    saveFails();
    EXPECT_EQ(ReadFileBytes(ini), old);

    ASSERT_TRUE(DeleteFileW(ini.c_str()));
    fillVolume();
    ASSERT_TRUE(Open());
    saveFails();
    EXPECT_FALSE(FileExistsAt(ini));
    for (const std::wstring& name : FilesIn(place))
        EXPECT_TRUE(name == L"Kineloop.scr" || name.rfind(L"filler", 0) == 0) << Narrow(name);
    for (const std::wstring& name : FilesIn(place))
        DeleteFileW((place + L"\\" + name).c_str());
    RemoveDirectoryW(place.c_str());
}

// A chosen path longer than the old 255-character buffer is taken whole.
TEST_F(SavingTest, APathLongerThanTheOldBufferIsChosen) {
    std::wstring path = folder;
    while (path.size() < 230) {
        path += L"\\" + std::wstring(40, L'f');
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    }
    path += L"\\" + std::wstring(258 - path.size() - 5, L'v') + L".avi";
    ASSERT_EQ(path.size(), 258u);
    ASSERT_TRUE(CopyFileW(WindowsPath(test_media::MediaPath(test_media::kClip320x240)).c_str(),
                          path.c_str(), FALSE));
    ASSERT_TRUE(Open());
    Choose(CmdAviGet(), path);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(LblFname()) == path; }));
    Save();
    EXPECT_EQ(StoredValue(ini, L"AVI_File"), path);
}

}  // namespace
}  // namespace kineloop
