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
TEST(StartUp, OfTwoStartsAMomentApartAtMostOneKeepsRunning) {
    TempFolder folder;
    const std::wstring scr = InstallScreenSaver(folder);
    const wchar_t* pairs[][2] = {
        {L"/s", L"/c"}, {L"/c", L"/c"}, {L"/s", L"/s"}, {L"/c", L"/s"}, {L"/c", L"/c"}};
    for (const auto& pair : pairs) {
        SaverProcess first(scr, pair[0], folder.Path());
        Sleep(100);  // the spacing under test, not a wait for anything
        SaverProcess second(scr, pair[1], folder.Path());
        // Each survivor waits on a window (the dialog, or the show's request for a video).
        EXPECT_TRUE(WaitUntil([&] { return !first.Running() || !second.Running(); }, 30000))
            << pair[0] << L" " << pair[1];
        EXPECT_TRUE(WaitUntil([&] {
            return FindTopWindow(first.Id()) != nullptr || FindTopWindow(second.Id()) != nullptr;
        }));
        EXPECT_FALSE(first.Running() && second.Running()) << pair[0] << L" " << pair[1];
    }
}

}  // namespace
}  // namespace kineloop
