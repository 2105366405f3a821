// The settings file on disk, through the real private-profile functions: the bytes the writer
// leaves, and the loader's rules on real files and folders.
#include "settings/settings_file_win32.h"

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "platform/text_win32.h"
#include "settings/settings_loader.h"
#include "settings/settings_update_win32.h"
#include "settings/storable_path_win32.h"
#include "settings/settings_writer.h"
#include "settings_dialog/dialog_values.h"

namespace kineloop {
namespace {

using test::TempFolder;

class SettingsFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring ini = folder / L"Kineloop.ini";
    std::string programFolder = Narrow(folder.Path());

    std::string MakeFile(const std::wstring& name) {
        const std::wstring path = folder / name;
        test::WriteFileBytes(path, "RIFF");
        return Narrow(path);
    }
    // Writes the file as an older version on a Japanese system left it: Shift-JIS bytes.
    void WriteIni(const std::string& shiftJisLines) {
        test::WriteFileBytes(ini, "[Section]\r\n" + shiftJisLines);
    }
    LoadedSettings Load() {
        SettingsFile file(ini);
        return LoadSettings(file, programFolder);
    }
};

TEST_F(SettingsFileTest, WriterPutsElevenKeysInOrderWithShiftJisKeys) {
    SettingsFileUpdate file(ini);
    SaverSettings s;
    s.AVI_File = "C:\\Movies\\clip.avi";
    s.BgmKind = 2;
    s.BgmFile = "C:\\Music\\song.mp3";
    DialogValues dialog{"0", "99", "320", "240", "1", 10, 1, ""};
    ASSERT_TRUE(SaveDialogSettings(s, dialog, file));
    ASSERT_TRUE(file.Commit());

    const std::string expected =
        "[Section]\r\n"
        "AVI_File=C:\\Movies\\clip.avi\r\n"
        "Flame_From=0\r\n"
        "Flame_To=99\r\n"
        "Pic_Width=320\r\n"
        "Pic_Height=240\r\n"
        "Fast=10\r\n"
        "Flame_Skip=1\r\n"
        "Rate=1\r\n"
        "BGM\x8B\xE6\x95\xAA=2\r\n"
        "BGM\xD8\xCB\xDF\xB0\xC4=0\r\n"
        "BGM\xCC\xA7\xB2\xD9=C:\\Music\\song.mp3\r\n";
    EXPECT_EQ(test::ReadFileBytes(ini), expected);
}

TEST_F(SettingsFileTest, ReadsShiftJisKeysOfAnExistingFile) {
    const std::string song = MakeFile(L"曲.wav");
    ASSERT_EQ(song.substr(song.size() - 7), "曲.wav");
    // The music file path in the file is Shift-JIS too ("曲" is 8B C8).
    WriteIni("BGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=4\r\nBGM\xCC\xA7\xB2\xD9=" +
             song.substr(0, song.size() - 7) + "\x8B\xC8.wav\r\n");
    const LoadedSettings loaded = Load();
    EXPECT_EQ(loaded.values.BgmKind, 2);
    EXPECT_EQ(loaded.values.BgmRepeat, 4);
    EXPECT_EQ(loaded.values.BgmFile, song);
    EXPECT_EQ(loaded.BgmFolder, programFolder);
    EXPECT_NE(test::ReadFileBytes(ini).find("\x8B\xC8.wav"), std::string::npos);
}

// The loader's rules are tested natively against an in-memory file; here only what the real file
// adds: loading creates no file, and the values reach the rules through the profile functions.
TEST_F(SettingsFileTest, LoadingCreatesNoFileAndReadsTheValuesAsTheFileHoldsThem) {
    const LoadedSettings defaults = Load();
    EXPECT_EQ(defaults.values.Fast, 10);
    EXPECT_EQ(defaults.AviFolder, programFolder);
    EXPECT_FALSE(test::FileExistsAt(ini));

    const std::string video = MakeFile(L"v.avi");
    WriteIni("AVI_File=" + video + "\r\nPic_Width=12.7\r\nFlame_Skip=  3  \r\nFast=abc\r\n" +
             "BGM\x8B\xE6\x95\xAA=2\r\n");
    const SaverSettings s = Load().values;
    EXPECT_EQ(s.AVI_File, video);
    EXPECT_EQ(s.Pic_Width, 12);
    EXPECT_EQ(s.Flame_Skip, 3);
    EXPECT_EQ(s.Fast, 0);
    EXPECT_EQ(s.BgmKind, 0);  // no music file set
    WriteIni("BGM\x8B\xE6\x95\xAA=1\r\n");
    EXPECT_EQ(Load().values.BgmKind, 1);
}

TEST_F(SettingsFileTest, FileExistsTakesATrailingBackslashButNoFolder) {
    const std::string video = MakeFile(L"v.avi");
    EXPECT_TRUE(FileExists(video));
    EXPECT_TRUE(FileExists(video + "\\"));
    EXPECT_FALSE(FileExists(programFolder));
    EXPECT_FALSE(FileExists(programFolder + "\\"));
    EXPECT_FALSE(FileExists(Narrow(folder / L"gone.avi")));
    EXPECT_FALSE(FileExists(""));

    WriteIni("AVI_File=" + video + "\\\r\nPic_Width=64\r\n");
    EXPECT_EQ(Load().values.Pic_Width, 64);
    WriteIni("AVI_File=" + programFolder + "\r\nPic_Width=64\r\n");
    EXPECT_EQ(Load().values.Pic_Width, 0);
}

TEST_F(SettingsFileTest, LongVideoPathIsReadWhole) {
    // Well over 255 bytes in Shift-JIS: the whole path must come back, or the file is "gone".
    std::wstring path = folder.Path();
    for (int i = 0; i < 8; ++i) {
        path += L"\\とても長いフォルダの名前その" + std::to_wstring(i);
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    }
    path += L"\\動画.avi";
    ASSERT_TRUE(test::WriteFileBytes(path, "RIFF"));
    const std::string video = Narrow(path);
    ASSERT_GT(video.size(), 300u);

    const std::optional<std::string> stored = ExactAnsi(path);
    ASSERT_TRUE(stored);
    WriteIni("AVI_File=" + *stored + "\r\nPic_Width=160\r\n");
    const LoadedSettings loaded = Load();
    EXPECT_EQ(loaded.values.AVI_File, video);
    EXPECT_EQ(loaded.values.Pic_Width, 160);
}

// A save replaces the file whole: every byte outside the eleven keys stays (the profile functions
// here would drop blank lines and spacing), the encoding stays, and a value the file's code page
// cannot hold fails the save before anything is written.
TEST_F(SettingsFileTest, ASaveKeepsEveryOtherByteAndTheEncodingOrWritesNothing) {
    SaverSettings s;
    s.AVI_File = "C:\\動画\\a.avi";
    s.Fast = 25;
    s.BgmFile = "C:\\m.wav";

    const std::string ansi =
        "; mine\r\n\r\n[Other]\r\n x = 1 \r\n[Section]\r\nFast = 40\r\n\r\n[Tail]\r\nq=w";
    ASSERT_TRUE(test::WriteFileBytes(ini, ansi));
    SettingsFileUpdate update(ini);
    ASSERT_TRUE(WriteSettings(s, update));
    ASSERT_TRUE(update.Commit());
    const std::string saved = test::ReadFileBytes(ini);
    EXPECT_EQ(saved.substr(0, 40), ansi.substr(0, 40));
    EXPECT_NE(saved.find("Fast =25\r\nAVI_File=C:\\\x93\xae\x89\xe6\\a.avi\r\n"), std::string::npos)
        << saved;
    EXPECT_EQ(saved.substr(saved.size() - 13), "\r\n[Tail]\r\nq=w");
    EXPECT_EQ(Load().values.Fast, 25);

    // UTF-16 stays UTF-16, with every key readable.
    const std::wstring wide = L"\xFEFF[Section]\r\nFast=1\r\n";
    ASSERT_TRUE(test::WriteFileBytes(
        ini, std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)));
    SettingsFileUpdate utf16(ini);
    ASSERT_TRUE(WriteSettings(s, utf16));
    ASSERT_TRUE(utf16.Commit());
    EXPECT_EQ(test::ReadFileBytes(ini).substr(0, 4), std::string("\xFF\xFE[\0", 4));
    EXPECT_EQ(IniGet("Section", "BGMﾌｧｲﾙ", ini), "C:\\m.wav");

    // UTF-8 with its mark stays so, its section found on the first line.
    ASSERT_TRUE(test::WriteFileBytes(ini, "\xEF\xBB\xBF[Section]\r\nFast=1\r\n"));
    SettingsFileUpdate utf8(ini);
    ASSERT_TRUE(WriteSettings(s, utf8));
    ASSERT_TRUE(utf8.Commit());
    EXPECT_EQ(test::ReadFileBytes(ini).substr(0, 23), "\xEF\xBB\xBF[Section]\r\nFast=25\r\n");
    EXPECT_EQ(Load().values.Fast, 25);

    // "é" and Korean have no Shift-JIS form: the save fails and the file stays as it was.
    ASSERT_TRUE(test::WriteFileBytes(ini, ansi));
    for (const char* path : {"C:\\café.avi", "C:\\한국어.avi"}) {
        s.AVI_File = path;
        SettingsFileUpdate refused(ini);
        EXPECT_FALSE(WriteSettings(s, refused) && refused.Commit()) << path;
        EXPECT_EQ(test::ReadFileBytes(ini), ansi);
        EXPECT_FALSE(ExactAnsi(Widen(path))) << path;
    }
    EXPECT_EQ(ExactAnsi(L"ﾌｧｲﾙ\\動画"), std::string("\xcc\xa7\xb2\xd9\\\x93\xae\x89\xe6"));
}

}  // namespace
}  // namespace kineloop
