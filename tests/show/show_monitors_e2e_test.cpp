// The show on a desk of two monitors, the second left of and above the primary (the virtual
// screen's origin is negative): it covers both, keeps the grid on the primary, ends on a click on
// either, and lays itself out again when the display changes. Run with KINELOOP_MONITORS set.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "media/test_media.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

// Screen coordinates: the primary at (0, 0) - (1024, 768), the second at (-800, -200) - (0, 400).
constexpr RECT kVirtualScreen{-800, -200, 1024, 768};
constexpr POINT kOnSecond[] = {{-400, 100}, {-800, -200}, {-1, 399}, {-799, 399}};

bool Near(COLORREF a, const test_media::Colour& b, int tolerance) {
    return ColoursNear(a, RGB(b.r, b.g, b.b), tolerance);
}

// Which frame of the colour clip the screen shows at (x, y): its number, -1 for black, -2 else.
int FrameAt(POINT p) {
    const COLORREF seen = ScreenPixel(p.x, p.y);
    for (int frame = 0; frame < 10; ++frame)
        if (Near(seen, test_media::FrameColour(frame), 48))
            return frame;
    return Near(seen, {0, 0, 0}, 16) ? -1 : -2;
}

// The middle of tile `index` of the 3 x 3 grid of 320 x 240 tiles on the primary monitor.
POINT TileMiddle(int index) {
    return {32 + 320 * (index % 3) + 160, 24 + 240 * (index / 3) + 120};
}

// A click where the absolute mouse coordinates of SendInput cannot reach: off the primary.
void ClickAnywhere(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

TEST(ShowOnTwoMonitors, CoversBothKeepsTheGridOnThePrimaryAndStartsItAgainOnADisplayChange) {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "set KINELOOP_MONITORS for this test";
    ASSERT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), kVirtualScreen.left);
    ASSERT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), kVirtualScreen.top);
    ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1824);
    ASSERT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 968);
    ASSERT_EQ(ScreenSize().cx, 1024);

    // Somebody's window on the second monitor, which the show must hide.
    TitledWindow privateWindow(L"private", 800, 600, WS_POPUP | WS_VISIBLE);
    MoveWindow(privateWindow.Handle(), -800, -200, 800, 600, TRUE);
    ASSERT_TRUE(WaitUntil([] { return FrameAt(kOnSecond[0]) != -1; })) << "window not drawn";

    TempFolder folder;
    const std::wstring scr = InstallScreenSaver(folder);
    const std::wstring ini = folder / L"Kineloop.ini";
    WriteSetting(ini, "AVI_File",
                 Narrow(WindowsPath(test_media::MediaPath(test_media::kClip320x240))));
    WriteSetting(ini, "Pic_Width", "320");
    WriteSetting(ini, "Pic_Height", "240");
    WriteSetting(ini, "Fast", "400");
    WriteSetting(ini, "Flame_Skip", "1");
    SaverProcess saver(scr, L"/s", folder.Path());
    const HWND show = WaitForTopWindow(saver.Id(), L"Kine_Main");
    ASSERT_TRUE(show);

    // The same grid as on one monitor, at the primary's corner.
    ASSERT_TRUE(WaitUntil([] { return FrameAt(TileMiddle(3)) == 3; }));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FrameAt(TileMiddle(i)), i) << "tile " << i;
    EXPECT_EQ(FrameAt({32, 24}), 0);
    for (POINT p : {POINT{31, 24}, POINT{0, 0}, POINT{1023, 767}, POINT{992, 24}})
        EXPECT_EQ(FrameAt(p), -1) << p.x << "," << p.y;
    // The window covers the virtual screen; the second monitor is black.
    RECT covered{};
    GetWindowRect(show, &covered);
    EXPECT_TRUE(EqualRect(&covered, &kVirtualScreen))
        << covered.left << "," << covered.top << " - " << covered.right << "," << covered.bottom;
    for (POINT p : kOnSecond)
        EXPECT_EQ(FrameAt(p), -1) << p.x << "," << p.y;

    // Moving the mouse over the second monitor ends nothing.
    for (int i = 0; i < 8; ++i)
        SetCursorPos(-700 + 80 * i, -150 + 60 * i);
    ASSERT_TRUE(WaitUntil([] { return FrameAt(TileMiddle(5)) == 5; }));
    EXPECT_TRUE(saver.Running());

    // A display change lays the show out again: black all over, the grid from its first tile.
    PostMessageW(show, WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    ASSERT_TRUE(WaitUntil([] { return FrameAt(TileMiddle(4)) == -1; })) << "grid not started again";
    ASSERT_TRUE(WaitUntil([] { return FrameAt(TileMiddle(1)) != -1; }));
    const int first = FrameAt(TileMiddle(0));
    EXPECT_GE(first, 0);
    EXPECT_EQ(FrameAt(TileMiddle(1)), (first + 1) % 10);
    GetWindowRect(show, &covered);
    EXPECT_TRUE(EqualRect(&covered, &kVirtualScreen));
    for (POINT p : kOnSecond)
        EXPECT_EQ(FrameAt(p), -1) << p.x << "," << p.y;

    // A click on the second monitor ends the show.
    ClickAnywhere(kOnSecond[0]);
    EXPECT_TRUE(saver.WaitForExit());
}

}  // namespace
}  // namespace kineloop
