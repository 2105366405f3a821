// The settings loader's defaults and consistency rules, and the writer's order and conversions,
// against an in-memory settings file.
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "settings/paths.h"
#include "settings/settings_loader.h"
#include "settings/memory_store.h"
#include "settings_dialog/dialog_values.h"

namespace kineloop {
namespace {

using test::MemoryStore;

const std::string kProgram = "C:\\Savers";

TEST(LoadSettings, NoFileGivesEveryDefault) {
    MemoryStore store;
    const LoadedSettings loaded = LoadSettings(store, kProgram);
    const SaverSettings& s = loaded.values;
    EXPECT_EQ(s.AVI_File, "");
    EXPECT_EQ(s.BgmFile, "");
    EXPECT_EQ(loaded.AviFolder, kProgram);
    EXPECT_EQ(loaded.BgmFolder, kProgram);
    EXPECT_EQ(s.Flame_From, 0);
    EXPECT_EQ(s.Flame_To, 0);
    EXPECT_EQ(s.Pic_Width, 0);
    EXPECT_EQ(s.Pic_Height, 0);
    EXPECT_EQ(s.Flame_Skip, 1);
    EXPECT_EQ(s.Rate, 1);
    EXPECT_EQ(s.Fast, 10);
    EXPECT_EQ(s.BgmKind, 0);
    EXPECT_EQ(s.BgmRepeat, 0);
}

TEST(LoadSettings, ExistingVideoWithNoOtherKeysTakesTheDefaults) {
    MemoryStore store;
    store.files = {"D:\\Movies\\clip.avi"};
    store.keys["AVI_File"] = "D:\\Movies\\clip.avi";
    const LoadedSettings loaded = LoadSettings(store, kProgram);
    EXPECT_EQ(loaded.values.AVI_File, "D:\\Movies\\clip.avi");
    EXPECT_EQ(loaded.AviFolder, "D:\\Movies");
    EXPECT_EQ(loaded.values.Pic_Width, 0);
    EXPECT_EQ(loaded.values.Flame_Skip, 1);
    EXPECT_EQ(loaded.values.Rate, 1);
    EXPECT_EQ(loaded.values.Fast, 10);
}

TEST(LoadSettings, MissingVideoResetsTheFrameGroupUnreadButReadsTheRest) {
    MemoryStore store;
    store.keys = {{"AVI_File", "D:\\gone.avi"},
                  {"Flame_Skip", "5"},
                  {"Pic_Width", "320"},
                  {"Fast", "40"},
                  {"BGM区分", "1"},
                  {"BGMﾘﾋﾟｰﾄ", "3"}};
    const LoadedSettings loaded = LoadSettings(store, kProgram);
    EXPECT_EQ(loaded.values.AVI_File, "");
    EXPECT_EQ(loaded.AviFolder, kProgram);
    EXPECT_EQ(loaded.values.Flame_Skip, 1);
    EXPECT_EQ(loaded.values.Pic_Width, 0);
    EXPECT_EQ(loaded.values.Fast, 40);
    EXPECT_EQ(loaded.values.BgmKind, 1);
    EXPECT_EQ(loaded.values.BgmRepeat, 3);
    for (const std::string& key : store.reads) {
        EXPECT_NE(key, "Flame_Skip");
        EXPECT_NE(key, "Pic_Width");
    }
}

TEST(LoadSettings, NumbersFollowTheLoaderRule) {
    MemoryStore store;
    store.files = {"v.avi"};
    store.keys = {{"AVI_File", "v.avi"},  {"Pic_Width", "12.7"}, {"Pic_Height", "40000"},
                  {"Flame_Skip", "-2.5"}, {"Fast", "abc"},       {"Rate", ""}};
    const SaverSettings s = LoadSettings(store, kProgram).values;
    EXPECT_EQ(s.Pic_Width, 12);
    EXPECT_EQ(s.Pic_Height, 0);
    EXPECT_EQ(s.Flame_Skip, -3);
    EXPECT_EQ(s.Fast, 0);
    EXPECT_EQ(s.Rate, 1);
}

TEST(LoadSettings, MissingMusicFileTurnsMusicKindTwoIntoNoMusicButKeepsTheCd) {
    for (const char* file : {"", "E:\\gone.mp3"}) {
        MemoryStore store;
        store.keys = {{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", file}};
        const LoadedSettings loaded = LoadSettings(store, kProgram);
        EXPECT_EQ(loaded.values.BgmKind, 0) << file;
        EXPECT_EQ(loaded.values.BgmFile, "");
        EXPECT_EQ(loaded.BgmFolder, kProgram);

        store.keys["BGM区分"] = "1";
        EXPECT_EQ(LoadSettings(store, kProgram).values.BgmKind, 1) << file;
    }
    MemoryStore store;
    store.files = {"E:\\Music\\song.mp3"};
    store.keys = {{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", "E:\\Music\\song.mp3"}};
    const LoadedSettings loaded = LoadSettings(store, kProgram);
    EXPECT_EQ(loaded.values.BgmKind, 2);
    EXPECT_EQ(loaded.BgmFolder, "E:\\Music");
}

TEST(FolderOf, CutsAtTheLastSeparatorAndDropsAFinalBackslash) {
    EXPECT_EQ(FolderOf("C:\\Movies\\clip.avi"), "C:\\Movies");
    EXPECT_EQ(FolderOf("C:\\clip.avi"), "C:");
    EXPECT_EQ(FolderOf("D:clip.avi"), "D:");
    EXPECT_EQ(FolderOf("clip.avi"), "");
    EXPECT_EQ(FolderOf("\\\\server\\share\\a.avi"), "\\\\server\\share");
    EXPECT_EQ(FolderOf("C:\\動画\\表示.avi"), "C:\\動画");
}

TEST(SaveDialogSettings, WritesElevenKeysInOrderWithTheSavingRule) {
    MemoryStore store;
    SaverSettings s;
    s.AVI_File = "C:\\v.avi";
    s.Pic_Height = 99;
    s.BgmKind = 1;
    s.BgmFile = "C:\\m.wav";
    DialogValues dialog;
    dialog.Flame_From = "2.5";
    dialog.Flame_To = "";
    dialog.Pic_Width = "320";
    dialog.Pic_Height = "40000";
    dialog.Flame_Skip = "3.5";
    dialog.Fast = 25;
    dialog.Rate = 1;
    dialog.BGM_Repeat = "7";
    SaveDialogSettings(s, dialog, store);

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"AVI_File", "C:\\v.avi"}, {"Flame_From", "2"},     {"Flame_To", "0"},
        {"Pic_Width", "320"},      {"Pic_Height", "99"},    {"Fast", "25"},
        {"Flame_Skip", "4"},       {"Rate", "1"},           {"BGM区分", "1"},
        {"BGMﾘﾋﾟｰﾄ", "7"},         {"BGMﾌｧｲﾙ", "C:\\m.wav"}};
    EXPECT_EQ(store.writes, expected);
    EXPECT_EQ(s.Flame_Skip, 4);
    EXPECT_EQ(s.BgmRepeat, 7);

    // A refused key ends the writing, so "nothing more was saved" is true.
    store.writes.clear();
    store.refusedKey = "Pic_Height";
    EXPECT_FALSE(SaveDialogSettings(s, dialog, store));
    EXPECT_EQ(store.writes.size(), 4u);
}

}  // namespace
}  // namespace kineloop
