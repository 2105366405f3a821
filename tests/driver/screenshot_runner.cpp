// Takes the pictures for the read-me from the real screen saver on a virtual display: the show once
// its mosaic has filled the screen, and the settings dialog once it shows its stored video.
// Usage: kineloop_screenshot_runner show SCREEN_SAVER OUT.bmp TILE_WIDTH TILE_HEIGHT
//        kineloop_screenshot_runner settings SCREEN_SAVER OUT.bmp
// The settings picture is the whole screen; the rectangle of the dialog's client area goes to
// OUT.bmp.rect ("left top width height") for cropping.
#include <cstdio>
#include <string>

#include <windows.h>

#include "driver/driver.h"

using namespace kineloop::test;

namespace {

constexpr DWORD kDeadlineMs = 120000;

// A sum over a grid of screen pixels inside `area`, to see when its drawing has settled.
unsigned long long AreaSample(const RECT& area) {
    unsigned long long sum = 0;
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 16; ++column) {
            const int x = area.left + (area.right - area.left) * (2 * column + 1) / 32;
            const int y = area.top + (area.bottom - area.top) * (2 * row + 1) / 32;
            sum = sum * 31 + ScreenPixel(x, y);
        }
    return sum;
}

int Fail(const char* what) {
    std::fprintf(stderr, "screenshots: %s\n", what);
    return 1;
}

int ShowPicture(const std::wstring& saver, const std::wstring& out, int tileWidth, int tileHeight) {
    if (tileWidth <= 0 || tileHeight <= 0)
        return Fail("the tile size must be positive");
    SaverProcess show(saver, L"/s");
    if (!show.Started() || !WaitForTopWindow(show.Id(), L"Kine_Main"))
        return Fail("the show did not start");
    // The grid is full once the last tile (bottom right of the centred grid) is drawn.
    const SIZE screen = ScreenSize();
    const int columns = screen.cx / tileWidth, rows = screen.cy / tileHeight;
    const int x = (screen.cx - columns * tileWidth) / 2 + (columns - 1) * tileWidth + tileWidth / 2;
    const int y = (screen.cy - rows * tileHeight) / 2 + (rows - 1) * tileHeight + tileHeight / 2;
    // First the black window over whatever the screen showed before, then the tile on it.
    if (!WaitUntil([&] { return ScreenPixel(x, y) == RGB(0, 0, 0); }, kDeadlineMs, 10) ||
        !WaitUntil([&] { return ScreenPixel(x, y) != RGB(0, 0, 0); }, kDeadlineMs, 10))
        return Fail("the mosaic did not fill the screen");
    const bool saved = SaveScreenshot(out);
    PressKey(VK_SPACE);
    show.WaitForExit();
    return saved ? 0 : Fail("the screenshot was not saved");
}

int SettingsPicture(const std::wstring& saver, const std::wstring& out) {
    MoveMouseTo(0, 0);  // away from the buttons, which light up under the pointer
    SaverProcess settings(saver, L"/c");
    const HWND dialog =
        settings.Started() ? WaitForTopWindow(settings.Id(), L"<Kineloopの設定>") : nullptr;
    if (!dialog)
        return Fail("the settings dialog did not open");
    // The frame-size label is filled once the stored video has been read.
    const HWND sizeLabel = ControlAt(dialog, {264, 64});
    if (!WaitUntil([&] { return sizeLabel && !ControlText(sizeLabel).empty(); }, kDeadlineMs))
        return Fail("the dialog did not show its video");
    // The client area only: the frame around it is drawn by Wine, not by the program.
    RECT area{};
    GetClientRect(dialog, &area);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&area), 2);
    unsigned long long before = 0;
    int steady = 0;
    const bool settled = WaitUntil(
        [&] {
            const unsigned long long now = AreaSample(area);
            steady = now == before ? steady + 1 : 0;
            before = now;
            return steady >= 3;
        },
        kDeadlineMs, 200);
    if (!settled)
        return Fail("the dialog's drawing did not settle");
    const bool saved = SaveScreenshot(out);
    const std::string rect = std::to_string(area.left) + " " + std::to_string(area.top) + " " +
                             std::to_string(area.right - area.left) + " " +
                             std::to_string(area.bottom - area.top) + "\n";
    const bool rectSaved = WriteFileBytes(out + L".rect", rect);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    settings.WaitForExit();
    return saved && rectSaved ? 0 : Fail("the screenshot was not saved");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"show" && argc == 6)
        return ShowPicture(argv[2], argv[3], _wtoi(argv[4]), _wtoi(argv[5]));
    if (mode == L"settings" && argc == 4)
        return SettingsPicture(argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: kineloop_screenshot_runner show SCREEN_SAVER OUT.bmp TILE_WIDTH "
                 "TILE_HEIGHT\n       kineloop_screenshot_runner settings SCREEN_SAVER OUT.bmp\n");
    return 2;
}
