// The program's entry procedure: single-instance test, mode dispatch, the window of the mode.
#include "startup/startup_win32.h"

#include <windows.h>

#include "platform/text_win32.h"
#include "settings_dialog/settings_dialog_win32.h"
#include "show/preview_window_win32.h"
#include "show/show_window_win32.h"
#include "startup/command_line.h"
#include "startup/kine_b.h"
#include "startup/settings_file_win32.h"

namespace kineloop {

namespace {

// Ending is immediate: no window's close handling runs after this.
[[noreturn]] void EndProgram() {
    ExitProcess(0);
}

bool AnotherInstanceIsOpen() {
    return FindWindowW(nullptr, L"Kine_Main") != nullptr ||
           FindWindowW(nullptr, L"<Kineloopの設定>") != nullptr;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// The screen's twips per pixel, horizontally and vertically (15 at 96 dots per inch).
POINT TwipsPerPixel() {
    HDC screen = GetDC(nullptr);
    const int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    const int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return {dpiX > 0 ? 1440 / dpiX : 15, dpiY > 0 ? 1440 / dpiY : 15};
}

bool StartPreview(const std::string& argumentText) {
    // The handle travels as a 32-bit number; window handles fit in 32 bits on 64-bit Windows too.
    const HWND host = reinterpret_cast<HWND>(static_cast<INT_PTR>(HostHandle(argumentText)));
    const POINT twips = TwipsPerPixel();
    PreviewBox box{host, 0, 0, twips.x, twips.y};
    RECT rect;
    if (GetWindowRect(host, &rect)) {
        box.widthTwips = PixelsToTwips(rect.right - rect.left, twips.x);
        box.heightTwips = PixelsToTwips(rect.bottom - rect.top, twips.y);
    }
    return LoadPreviewWindow(box);
}

}  // namespace

int StartUp() {
    if (AnotherInstanceIsOpen())
        EndProgram();

    KineB state;
    state.argumentText = ArgumentText(Narrow(GetCommandLineW()));
    const StartMode mode = ModeOf(state.argumentText);
    if (mode == StartMode::Preview) {
        if (!StartPreview(state.argumentText))
            EndProgram();
        return RunMessageLoop();
    }

    state.settings = LoadProgramSettings();
    if (mode == StartMode::Settings) {
        ShowSettingsDialog(state);
        EndProgram();
    }
    if (mode == StartMode::End)
        EndProgram();
    if (mode == StartMode::Show) {
        state.CursorCount = ShowCursor(FALSE);
        state.cursorHidden = true;
    }
    if (!LoadShowWindow(state))
        EndProgram();
    return RunMessageLoop();
}

}  // namespace kineloop
