// The settings file on whatever code page the system has (run under several locales, see
// CMakeLists.txt): a file made on a Japanese system loads with every key and a save keeps it, the
// Japanese keys always in Shift-JIS; values in the system's own code page.
#include <iostream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "platform/text_win32.h"
#include "settings/settings_file_win32.h"
#include "settings/settings_loader.h"
#include "settings/settings_update_win32.h"
#include "settings/settings_writer.h"

namespace kineloop {
namespace {

using test::TempFolder;

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

std::optional<OwnLetter> OwnLetterOfSystem() {
    for (const OwnLetter& own : kOwnLetters)
        if (own.codePage == GetACP())
            return own;
    return std::nullopt;
}

class CodePageTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring ini = folder / L"Kineloop.ini";
    std::string programFolder = Narrow(folder.Path());

    std::string MakeFile(const std::wstring& name) {
        const std::wstring path = folder / name;
        test::WriteFileBytes(path, "RIFF");
        return Narrow(path);
    }
    LoadedSettings Load() {
        SettingsFile file(ini);
        return LoadSettings(file, programFolder);
    }
    bool Save(const SaverSettings& s) {
        SettingsFileUpdate update(ini);
        return WriteSettings(s, update) && update.Commit();
    }
};

TEST_F(CodePageTest, AJapaneseMadeFileLoadsWithEveryKeyAndASaveKeepsItByteForByte) {
    std::cout << "ANSI code page " << GetACP() << "\n";
    const std::string video = MakeFile(L"clip.avi"), song = MakeFile(L"song.wav");
    const std::string japaneseMade =
        "[Section]\r\nAVI_File=" + video +
        "\r\nFlame_From=1\r\nFlame_To=9\r\nPic_Width=160\r\nPic_Height=120\r\nFast=40\r\n"
        "Flame_Skip=2\r\nRate=0\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=5\r\n"
        "BGM\xCC\xA7\xB2\xD9=" +
        song + "\r\n";
    ASSERT_TRUE(test::WriteFileBytes(ini, japaneseMade));

    const LoadedSettings loaded = Load();
    const SaverSettings& s = loaded.values;
    EXPECT_EQ(s.AVI_File, video);
    EXPECT_EQ(s.Flame_From, 1);
    EXPECT_EQ(s.Flame_To, 9);
    EXPECT_EQ(s.Pic_Width, 160);
    EXPECT_EQ(s.Pic_Height, 120);
    EXPECT_EQ(s.Fast, 40);
    EXPECT_EQ(s.Flame_Skip, 2);
    EXPECT_EQ(s.Rate, 0);
    EXPECT_EQ(s.BgmKind, 2);
    EXPECT_EQ(s.BgmRepeat, 5);
    EXPECT_EQ(s.BgmFile, song);

    ASSERT_TRUE(Save(s));
    EXPECT_EQ(test::ReadFileBytes(ini), japaneseMade);
    // A fresh folder gets the very same file.
    ASSERT_TRUE(DeleteFileW(ini.c_str()));
    ASSERT_TRUE(Save(s));
    EXPECT_EQ(test::ReadFileBytes(ini), japaneseMade);
}

TEST_F(CodePageTest, APathIsStoredInTheSystemsCodePageAndFoundAgain) {
    const std::optional<OwnLetter> own = OwnLetterOfSystem();
    ASSERT_TRUE(own) << "no letter known for code page " << GetACP();
    const std::string video = MakeFile(std::wstring(L"v") + own->letter + L".avi");
    SaverSettings s;
    s.AVI_File = video;
    s.Pic_Width = 64;
    ASSERT_TRUE(Save(s));
    const std::string stored = programFolder + "\\v" + own->bytes + ".avi";
    EXPECT_NE(test::ReadFileBytes(ini).find("AVI_File=" + stored + "\r\n"), std::string::npos);
    EXPECT_EQ(Load().values.AVI_File, video);
    EXPECT_EQ(Load().values.Pic_Width, 64);
}

// A save ended between writing its copy and replacing the file leaves "Kineloop.ini.tmp" and
// nothing else; the next save removes it, even one that then fails, and no other file.
TEST_F(CodePageTest, ASaveRemovesTheCopyAnEndedSaveLeftAndNoOtherFile) {
    const std::string old = "[Section]\r\nFast=40\r\n";
    const std::wstring leftover = folder / L"Kineloop.ini.tmp";
    const std::wstring others[] = {folder / L"Kin1A2B.tmp", folder / L"Kineloop.ini.tmp.txt",
                                   folder / L"Kineloop.tmp", folder / L"kineloop.ini.bak"};
    for (const std::wstring& other : others)
        ASSERT_TRUE(test::WriteFileBytes(other, "mine"));

    SaverSettings s;
    s.Fast = 25;
    s.AVI_File = "C:\\\xE0\xB8\x81.avi";  // Thai: no ANSI code page here holds it
    ASSERT_TRUE(test::WriteFileBytes(ini, old));
    ASSERT_TRUE(test::WriteFileBytes(leftover, "[Section]\r\nFast=99\r\n"));
    EXPECT_FALSE(Save(s));
    EXPECT_FALSE(test::FileExistsAt(leftover));
    EXPECT_EQ(test::ReadFileBytes(ini), old);

    s.AVI_File.clear();
    ASSERT_TRUE(test::WriteFileBytes(leftover, "[Section]\r\nFast=99\r\n"));
    ASSERT_TRUE(Save(s));
    EXPECT_FALSE(test::FileExistsAt(leftover));
    EXPECT_EQ(Load().values.Fast, 25);
    for (const std::wstring& other : others)
        EXPECT_EQ(test::ReadFileBytes(other), "mine") << Narrow(other);
}

}  // namespace
}  // namespace kineloop
