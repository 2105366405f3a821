// The preview mode seen from the screen-saver host's side: the real Kineloop.scr started with a
// preview box of the driver's own, in another process as the display settings' box is.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/text_win32.h"
#include "show/stills_picture.h"

namespace kineloop {
namespace {

using namespace test;

// A preview box as the display settings show it: a borderless window whose client area is the
// whole box, at the screen's top-left corner.
class PreviewHost {
  public:
    PreviewHost(int width, int height)
        : window_(L"Preview Box", width, height, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN) {
        UpdateWindow(window_.Handle());
    }
    HWND Handle() const { return window_.Handle(); }
    std::wstring Decimal() const {
        return std::to_wstring(static_cast<long long>(reinterpret_cast<INT_PTR>(Handle())));
    }
    HWND Child() const { return GetWindow(Handle(), GW_CHILD); }
    void Destroy() { window_.Destroy(); }

  private:
    TitledWindow window_;
};

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

class PreviewTest : public ::testing::Test {
  protected:
    // The preview window of `saver` inside `host`, once it is there and shown.
    static HWND WaitForPreview(const SaverProcess& saver, const PreviewHost& host) {
        HWND child = nullptr;
        WaitUntil([&] {
            child = host.Child();
            return child != nullptr && ProcessOf(child) == saver.Id() && IsWindowVisible(child);
        });
        return child;
    }

    // The preview is in the box, sized to it and titled as the host expects.
    static void ExpectPlacedIn(HWND preview, const PreviewHost& host) {
        EXPECT_EQ(TitleOf(preview), L"Preview Window");
        EXPECT_TRUE(GetWindowLongPtrW(preview, GWL_STYLE) & WS_CHILD);
        RECT placed{}, box{};
        GetWindowRect(preview, &placed);
        GetWindowRect(host.Handle(), &box);
        EXPECT_TRUE(EqualRect(&placed, &box));
    }

    TempFolder folder_;
    std::wstring scr_ = InstallScreenSaver(folder_);
};

TEST_F(PreviewTest, FillsTheHostBoxAndEndsWithIt) {
    for (const std::wstring form : {L"/p ", L"/P:"}) {
        SCOPED_TRACE(Narrow(form));
        PreviewHost host(152, 112);
        SaverProcess saver(scr_, form + host.Decimal(), folder_.Path());
        ASSERT_TRUE(saver.Started());

        const HWND preview = WaitForPreview(saver, host);
        ASSERT_NE(preview, nullptr) << "no preview window inside the host's box";
        ExpectPlacedIn(preview, host);

        host.Destroy();
        EXPECT_TRUE(saver.WaitForExit()) << "the preview outlived its host's box";
        EXPECT_EQ(saver.ExitCode(), 0u);
    }
}

TEST_F(PreviewTest, ShowsTheStillsInTheHostBox) {
    // Wine 8 gives a child window whose parent belongs to another process no drawable: its
    // painting reaches no screen. preview_window_test reads the picture back in one process.
    if (RunningUnderWine())
        GTEST_SKIP() << "cross-process child windows draw nothing under Wine";
    std::optional<StillsPicture> stills = StillsPicture::Built();
    ASSERT_TRUE(stills);
    PreviewHost host(152, 112);
    SaverProcess saver(scr_, L"/p " + host.Decimal(), folder_.Path());
    ASSERT_NE(WaitForPreview(saver, host), nullptr);
    RECT box{};
    GetWindowRect(host.Handle(), &box);
    std::string mismatches;
    WaitUntil([&] { return (mismatches = PictureMismatches(*stills, box)).empty(); });
    EXPECT_EQ(mismatches, "");
}

TEST_F(PreviewTest, NeitherReadsNorTouchesTheSettingsFileNorTheCursor) {
    const std::wstring ini = folder_ / L"Kineloop.ini";
    using namespace std::string_literals;
    const std::string garbage = "\xFF\xFE[Sect\x00ion\r\nAVI_File=\x81\r\nFast=abc\n\n["s;
    ASSERT_TRUE(WriteFileBytes(ini, garbage));
    WIN32_FILE_ATTRIBUTE_DATA before{};
    GetFileAttributesExW(ini.c_str(), GetFileExInfoStandard, &before);
    const std::optional<bool> cursorBefore = CursorVisible();
    // Held open without sharing: reading the file would fail, and so would writing it.
    const HANDLE locked =
        CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    {
        PreviewHost host(152, 112);
        SaverProcess saver(scr_, L"/p " + host.Decimal(), folder_.Path());
        const HWND preview = WaitForPreview(saver, host);
        ASSERT_NE(preview, nullptr);
        ExpectPlacedIn(preview, host);
        EXPECT_EQ(CursorVisible(), cursorBefore);
        host.Destroy();
        EXPECT_TRUE(saver.WaitForExit());
    }
    CloseHandle(locked);
    WIN32_FILE_ATTRIBUTE_DATA after{};
    GetFileAttributesExW(ini.c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(ReadFileBytes(ini), garbage);
    EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
    EXPECT_FALSE(FileExistsAt(folder_ / L"Dummy.bmp"));
}

TEST_F(PreviewTest, BesideTheSettingsDialogEndsAtOnceAndLeavesTheBoxEmpty) {
    TitledWindow dialog(L"<Kineloopの設定>");
    PreviewHost host(152, 112);
    WaitUntil([&] { return ScreenPixel(76, 56) == RGB(128, 128, 128); }, 5000);
    const COLORREF empty = ScreenPixel(76, 56);
    SaverProcess saver(scr_, L"/p " + host.Decimal(), folder_.Path());
    EXPECT_TRUE(saver.WaitForExit(10000));
    EXPECT_EQ(saver.ExitCode(), 0u);
    EXPECT_EQ(host.Child(), nullptr);
    EXPECT_EQ(FindTopWindow(saver.Id()), nullptr);
    EXPECT_EQ(ScreenPixel(76, 56), empty);
}

// The host always passes its preview box; anything else ends the program before any window.
TEST_F(PreviewTest, WithoutAUsableHostEndsAtOnceWithNoWindow) {
    const std::wstring desktop =
        std::to_wstring(static_cast<long long>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
    for (const std::wstring& arguments : std::vector<std::wstring>{
             L"/p", L"/p 0", L"/p abc", L"/p -1", L"/p 99999999999", L"/p " + desktop}) {
        SCOPED_TRACE(Narrow(arguments));
        SaverProcess saver(scr_, arguments, folder_.Path());
        ASSERT_TRUE(saver.Started());
        EXPECT_TRUE(saver.WaitForExit(5000)) << "the preview without a host did not end";
        EXPECT_EQ(saver.ExitCode(), 0u);
        EXPECT_EQ(FindTopWindow(0, L"Preview Window", L"Kine_R"), nullptr);
    }
}

// A host that ends without destroying its box (killed, crashed) takes the preview with it.
TEST_F(PreviewTest, EndsSoonAfterItsHostIsKilledWithoutDestroyingTheBox) {
    const std::wstring title = L"Preview Box of a host that will be killed";
    SaverProcess hostProcess(WindowsPath(KINELOOP_PREVIEW_HOST), L"\"" + title + L"\"");
    ASSERT_TRUE(hostProcess.Started());
    const HWND box = WaitForTopWindow(hostProcess.Id(), title);
    ASSERT_NE(box, nullptr);
    SaverProcess saver(
        scr_, L"/p " + std::to_wstring(static_cast<long long>(reinterpret_cast<INT_PTR>(box))),
        folder_.Path());
    HWND preview = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        preview = GetWindow(box, GW_CHILD);
        return preview != nullptr && ProcessOf(preview) == saver.Id() && IsWindowVisible(preview);
    }));

    hostProcess.Terminate();
    ASSERT_TRUE(hostProcess.WaitForExit());
    EXPECT_TRUE(saver.WaitForExit(5000)) << "the preview outlived its host";
    EXPECT_EQ(saver.ExitCode(), 0u);
}

}  // namespace
}  // namespace kineloop
