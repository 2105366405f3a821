// The program's entry procedure: single-instance test, mode dispatch, the window of the mode.
#include "startup/startup_win32.h"

#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/text_win32.h"
#include "platform/twips.h"
#include "platform/window_titles.h"
#include "settings_dialog/show_settings_dialog_win32.h"
#include "show/preview_window_win32.h"
#include "video/program_end_win32.h"
#include "show/show_window_win32.h"
#include "settings/settings_file_win32.h"
#include "startup/command_line.h"
#include "startup/dpi_context_win32.h"
#include "startup/single_instance_win32.h"

namespace kineloop {

namespace {

bool AnotherInstanceIsOpen() {
    return FindWindowW(nullptr, kShowWindowTitle) != nullptr ||
           FindWindowW(nullptr, kSettingsDialogTitle) != nullptr;
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
POINT ScreenTwipsPerPixel() {
    WindowDc screen(nullptr);
    const HDC dc = screen.Get();
    return {TwipsPerPixel(dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0),
            TwipsPerPixel(dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0)};
}

bool StartPreview(const std::string& argumentText) {
    // The handle travels as a 32-bit number; window handles fit in 32 bits on 64-bit Windows too.
    const HWND host = reinterpret_cast<HWND>(static_cast<INT_PTR>(HostHandle(argumentText)));
    // The host always passes its preview box: a handle that names no window, or the desktop
    // itself, would leave a window nobody closes (or cover the whole screen).
    if (!IsWindow(host) || host == GetDesktopWindow())
        return false;
    const POINT twips = ScreenTwipsPerPixel();
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
    const std::string argumentText = ArgumentText(Narrow(GetCommandLineW()));
    const StartMode mode = ModeOf(argumentText);
    // The mutex first: two starts a moment apart both find no window yet. A preview only looks,
    // so that the host can still start the show or the settings beside it.
    const bool alone = mode == StartMode::Preview ? !InstanceMutexHeld() : TakeInstanceMutex();
    if (!alone || AnotherInstanceIsOpen())
        EndProgram();

    if (mode == StartMode::Preview) {
        if (!StartPreview(argumentText))
            EndProgram();
        return RunMessageLoop();
    }

    LoadedSettings settings = LoadProgramSettings();
    if (mode == StartMode::Settings) {
        // "/c:<handle>": the host's window owns the dialog.
        const HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(HostHandle(argumentText)));
        // The dialog is laid out in 96-DPI pixels: Windows scales it whole on a high-DPI screen.
        DpiUnawareScope unaware;
        ShowSettingsDialog(settings, owner);
        EndProgram();
    }
    if (mode == StartMode::End)
        EndProgram();
    const bool hideCursor = mode == StartMode::Show;
    if (hideCursor)
        ShowCursor(FALSE);
    if (!LoadShowWindow(settings.values, hideCursor))
        EndProgram();
    // The show's window ends the loop when it has gone, its music, cursor and playback released.
    RunMessageLoop();
    EndProgram();
}

}  // namespace kineloop
