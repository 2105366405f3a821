// The show mode's full-screen window: the tile grid, the music, the timers and the end of the show.
#include "show/show_window_win32.h"

#include <memory>

#include <windows.h>

#include "music/audio_cd_win32.h"
#include "music/music_file_win32.h"
#include "music/music_kind.h"
#include "platform/message_box_win32.h"
#include "show/play_frames_win32.h"
#include "show/show_session_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kShowClass[] = L"Kine.Show";
constexpr wchar_t kDisplayClass[] = L"Kine.Display";
// A running show refuses further starts of the program by this title.
constexpr wchar_t kShowTitle[] = L"Kine_Main";

constexpr UINT_PTR kTimer1 = 1;  // music file repeat check
constexpr UINT_PTR kTimer2 = 2;  // audio CD poll
constexpr UINT_PTR kTimer3 = 3;  // one-shot start of the playback loop
constexpr UINT kTimer1Ms = 1000, kTimer2Ms = 200, kTimer3Ms = 1;

// Kine_S: the session plus what only the window needs.
struct KineS {
    explicit KineS(KineB& state) : kine(state), session(state.settings.values) {}

    KineB& kine;
    ShowSession session;
    std::string musicKind;  // "MP3", "WAV" or anything else when the music kind is a file
    bool timer1Enabled = false;
    bool timer2Enabled = false;
};

KineS* g_show = nullptr;

void SetTimerEnabled(HWND window, UINT_PTR id, UINT interval, bool enabled, bool& flag) {
    if (enabled) {
        SetTimer(window, id, interval, nullptr);
    } else {
        KillTimer(window, id);
    }
    flag = enabled;
}

// Gives back the cursor that start-up hid; a start without arguments never hid it.
void RestoreCursor(KineB& kine) {
    if (!kine.cursorHidden)
        return;
    kine.CursorCount = ShowCursor(TRUE);
    kine.cursorHidden = false;
}

// Ends the show: the music stops, the cursor comes back, and the program ends at once.
[[noreturn]] void CloseShow(KineS& show) {
    const SaverSettings& settings = show.kine.settings.values;
    if (show.timer2Enabled) {
        SetTimerEnabled(show.session.window, kTimer2, kTimer2Ms, false, show.timer2Enabled);
        CdStop();
    }
    if (settings.BgmKind == kMusicFile) {
        if (show.musicKind == "WAV")
            WaveStop();
        if (show.musicKind == "MP3") {
            SetTimerEnabled(show.session.window, kTimer1, kTimer1Ms, false, show.timer1Enabled);
            MusicStop();
        }
    }
    RestoreCursor(show.kine);
    ExitProcess(0);
}

void EndByUser(KineS& show) {
    show.session.KeepPlaying = false;
    CloseShow(show);
}

LRESULT CALLBACK DisplayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (g_show && g_show->session.displayImage.Ready()) {
                const RECT& r = paint.rcPaint;
                BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       g_show->session.displayImage.Dc(), r.left, r.top, SRCCOPY);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the persistent image covers everything
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (g_show)
                EndByUser(*g_show);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void OnTimer(KineS& show, UINT_PTR id) {
    switch (id) {
        case kTimer1:
            MusicRepeatCheck();
            break;
        case kTimer2:
            CdPoll(show.kine.settings.values.BgmRepeat);
            SetTimerEnabled(show.session.window, kTimer2, kTimer2Ms, CdPollActive(),
                            show.timer2Enabled);
            break;
        case kTimer3:
            KillTimer(show.session.window, kTimer3);
            PlayFrames(show.session);
            break;
    }
}

LRESULT CALLBACK ShowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (g_show)
                OnTimer(*g_show, wParam);
            return 0;
        case WM_SETFOCUS:
            // Key presses are answered by Display, so Display keeps the focus.
            if (g_show && g_show->session.display)
                SetFocus(g_show->session.display);
            return 0;
        case WM_CLOSE:
            if (g_show)
                CloseShow(*g_show);
            return 0;
        case WM_SETCURSOR:
            // No pointer shape of our own: the cursor is hidden or left as it is.
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSW show{};
    show.lpfnWndProc = ShowProc;
    show.hInstance = instance;
    show.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));  // 0x808080
    show.lpszClassName = kShowClass;
    WNDCLASSW display{};
    display.style = CS_OWNDC;
    display.lpfnWndProc = DisplayProc;
    display.hInstance = instance;
    display.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    display.lpszClassName = kDisplayClass;
    return RegisterClassW(&show) && RegisterClassW(&display);
}

void StartMusic(KineS& show) {
    const SaverSettings& settings = show.kine.settings.values;
    HWND window = show.session.window;
    if (settings.BgmKind == kAudioCd) {
        CdOpen();
        SetTimerEnabled(window, kTimer2, kTimer2Ms, true, show.timer2Enabled);
    } else if (settings.BgmKind == kMusicFile) {
        show.musicKind = MusicFileKind(settings.BgmFile);
        if (show.musicKind == "WAV")
            WavePlay(settings.BgmFile);
        if (show.musicKind == "MP3") {
            MusicOpenPlay(settings.BgmFile);
            SetTimerEnabled(window, kTimer1, kTimer1Ms, true, show.timer1Enabled);
        }
    }
}

}  // namespace

bool LoadShowWindow(KineB& state) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClasses(instance))
        return false;
    // The window lives as long as the process: the program ends without unloading it.
    static std::unique_ptr<KineS> show;
    show = std::make_unique<KineS>(state);
    g_show = show.get();
    ShowSession& s = show->session;

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    s.window = CreateWindowExW(0, kShowClass, kShowTitle, WS_POPUP | WS_CLIPCHILDREN, 0, 0, width,
                               height, nullptr, nullptr, instance, nullptr);
    if (!s.window)
        return false;
    RECT inner{};
    GetClientRect(s.window, &inner);
    s.display = CreateWindowExW(0, kDisplayClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, inner.right,
                                inner.bottom, s.window, nullptr, instance, nullptr);
    s.displayImage.Resize(inner.right, inner.bottom);
    if (s.display)
        s.displayDc = GetDC(s.display);

    const SaverSettings& settings = state.settings.values;
    if (settings.AVI_File.empty()) {
        RestoreCursor(state);
        ShowInfoMessage(L"AVIファイルを指定してください！！");
        ExitProcess(0);
    }

    s.grid = LayOutGrid(inner.right, inner.bottom, settings.Pic_Width, settings.Pic_Height);
    s.tile = {s.grid.GridLeft, s.grid.GridTop};
    StartMusic(*show);

    ShowWindow(s.window, SW_SHOWNORMAL);
    SetWindowPos(s.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    SetForegroundWindow(s.window);
    SetFocus(s.display);
    SetTimer(s.window, kTimer3, kTimer3Ms, nullptr);
    return true;
}

}  // namespace kineloop
