// Start-up seen from outside: which starts end at once, and which open a window.
#include <gtest/gtest.h>

#include "driver/driver.h"

namespace kineloop {
namespace {

using namespace test;

TEST(StartUp, UnknownModesEndAtOnceWithoutAWindow) {
    TempFolder folder;
    const std::wstring scr = InstallScreenSaver(folder);
    for (const wchar_t* arguments : {L"/A", L"/", L"S", L"-x"}) {
        SaverProcess saver(scr, arguments, folder.Path());
        ASSERT_TRUE(saver.Started());
        EXPECT_TRUE(saver.WaitForExit()) << arguments;
        EXPECT_EQ(saver.ExitCode(), 0u) << arguments;
        EXPECT_EQ(FindTopWindow(saver.Id()), nullptr) << arguments;
    }
    EXPECT_FALSE(FileExistsAt(folder / L"Kineloop.ini"));
}

TEST(StartUp, ShowModesOpenTheShowWhichAsksForAVideo) {
    TempFolder folder;
    const std::wstring scr = InstallScreenSaver(folder);
    for (const wchar_t* arguments : {L"/s", L"/S", L"-s", L"xS", L""}) {
        SaverProcess saver(scr, arguments, folder.Path());
        const auto box = WaitForMessageBox(saver.Id());
        ASSERT_TRUE(box) << arguments;
        EXPECT_EQ(box->text, L"AVIファイルを指定してください！！") << arguments;
        AnswerMessageBox(*box);
        EXPECT_TRUE(saver.WaitForExit()) << arguments;
    }
}

TEST(StartUp, AnotherInstanceEndsEveryStartAtOnce) {
    TempFolder folder;
    const std::wstring scr = InstallScreenSaver(folder);
    for (const wchar_t* title : {L"Kine_Main", L"<Kineloopの設定>"}) {
        TitledWindow other(title);
        for (const wchar_t* arguments : {L"/s", L"", L"/c", L"/p 1234"}) {
            SaverProcess saver(scr, arguments, folder.Path());
            EXPECT_TRUE(saver.WaitForExit(10000)) << title << L" " << arguments;
            EXPECT_EQ(saver.ExitCode(), 0u);
            EXPECT_EQ(FindTopWindow(saver.Id()), nullptr);
        }
    }
}

// Two starts a moment apart both find no window yet; the named mutex lets only the first run.
// (Without it, the pairs started at once here both keep running.)
TEST(StartUp, OfTwoStartsAMomentApartAtMostOneKeepsRunning) {
    TempFolder folder;
    const std::wstring scr = InstallScreenSaver(folder);
    struct Pair {
        const wchar_t *first, *second;
        DWORD apartMs;
    };
    const Pair pairs[] = {{L"/s", L"/c", 100},
                          {L"/c", L"/c", 0},
                          {L"/s", L"/s", 100},
                          {L"/c", L"/s", 0},
                          {L"/c", L"/c", 100}};
    for (const Pair& pair : pairs) {
        SaverProcess first(scr, pair.first, folder.Path());
        Sleep(pair.apartMs);  // the spacing under test, not a wait for anything
        SaverProcess second(scr, pair.second, folder.Path());
        // Each survivor waits on a window (the dialog, or the show's request for a video).
        EXPECT_TRUE(WaitUntil([&] { return !first.Running() || !second.Running(); }, 30000))
            << pair.first << L" " << pair.second << L" " << pair.apartMs;
        EXPECT_TRUE(WaitUntil([&] {
            return FindTopWindow(first.Id()) != nullptr || FindTopWindow(second.Id()) != nullptr;
        }));
        EXPECT_FALSE(first.Running() && second.Running()) << pair.first << L" " << pair.second;
    }
}

}  // namespace
}  // namespace kineloop
