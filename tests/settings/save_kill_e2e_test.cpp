// A save ended at any moment (the dialog's process killed around 設定): Kineloop.ini is always
// whole, old or new; at most the one copy "Kineloop.ini.tmp" is left, and the next save removes it.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/dialog_places.h"
#include "driver/driver.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

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

// The file as the dialog saves it with no video and the frame range up to `flameTo` as typed.
std::string SavedFile(int flameTo) {
    return "[Section]\r\nAVI_File=\r\nFlame_From=0\r\nFlame_To=" + std::to_string(flameTo) +
           "\r\nPic_Width=0\r\nPic_Height=0\r\nFast=10\r\nFlame_Skip=1\r\nRate=1\r\n"
           "BGM\x8B\xE6\x95\xAA=0\r\nBGM\xD8\xCB\xDF\xB0\xC4=0\r\nBGM\xCC\xA7\xB2\xD9=\r\n";
}

TEST(SaveKill, AKilledSaveLeavesTheFileWholeAndAtMostItsCopyWhichTheNextSaveRemoves) {
    TempFolder folder;
    const std::wstring scr = InstallScreenSaver(folder);
    const std::wstring ini = folder / L"Kineloop.ini", copy = folder / L"Kineloop.ini.tmp";
    int stored = 1;
    ASSERT_TRUE(WriteFileBytes(ini, SavedFile(stored)));

    int copiesSeen = 0;
    for (int round = 0; round < 12; ++round) {
        const int edited = stored == 1 ? 2 : 1;
        auto saver = std::make_unique<SaverProcess>(scr, L"/c", folder.Path());
        const HWND dialog = WaitForTopWindow(saver->Id(), kCaption);
        ASSERT_TRUE(dialog);
        const HWND flameTo = ControlAt(dialog, {kPicC.x + 156 + 20, kPicC.y + 32 + 9});
        ASSERT_TRUE(SetControlText(flameTo, std::to_wstring(edited)));
        ClickControl(ControlAt(dialog, {344 + 36, 432 + 14}));
        // Killed as soon as the copy appears; otherwise once the dialog has had the time to save.
        const DWORD start = GetTickCount();
        bool copySeen = false;
        while (saver->Running() && GetTickCount() - start < 20u * round &&
               !(copySeen = FileExistsAt(copy))) {
        }
        saver->Terminate();
        copiesSeen += copySeen;

        const std::string now = ReadFileBytes(ini);
        ASSERT_TRUE(now == SavedFile(stored) || now == SavedFile(edited)) << round << ": " << now;
        stored = now == SavedFile(edited) ? edited : stored;
        for (const std::wstring& name : FilesIn(folder.Path()))
            EXPECT_TRUE(name == L"Kineloop.scr" || name == L"Kineloop.ini" ||
                        name == L"Kineloop.ini.tmp")
                << Narrow(name);
    }
    std::cout << copiesSeen << " of the kills came while the copy was there\n";

    // Whatever was left, the next save that goes through leaves no copy.
    ASSERT_TRUE(WriteFileBytes(copy, SavedFile(7)));
    SaverProcess saver(scr, L"/c", folder.Path());
    const HWND dialog = WaitForTopWindow(saver.Id(), kCaption);
    ASSERT_TRUE(dialog);
    // Without a video the frame range is not loaded: it is typed again.
    ASSERT_TRUE(SetControlText(ControlAt(dialog, {kPicC.x + 156 + 20, kPicC.y + 32 + 9}),
                               std::to_wstring(stored)));
    for (int attempt = 0; attempt < 5 && saver.Running(); ++attempt) {
        ClickControl(ControlAt(dialog, {344 + 36, 432 + 14}));
        WaitUntil([&] { return !saver.Running(); }, 6000);
    }
    ASSERT_FALSE(saver.Running());
    EXPECT_EQ(ReadFileBytes(ini), SavedFile(stored));
    EXPECT_FALSE(FileExistsAt(copy));
}

}  // namespace
}  // namespace kineloop
