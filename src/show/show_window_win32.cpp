// The show mode's full-screen window: the tile grid, the music, the timers and the end of the show.
#include "show/show_window_win32.h"

#include <memory>
#include <string>

#include <windows.h>

#include "music/music_kind.h"
#include "music/music_players_win32.h"
#include "platform/handles_win32.h"
#include "platform/message_box_win32.h"
#include "platform/window_titles.h"
#include "platform/window_win32.h"
#include "show/monitors_win32.h"
#include "show/play_frames_win32.h"
#include "video/program_end_win32.h"
#include "show/show_session_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kShowClass[] = L"Kine.Show";
constexpr wchar_t kDisplayClass[] = L"Kine.Display";

// The show window's timers: Timer1, Timer2 and Timer3 of the show.
constexpr UINT_PTR kMusicRepeatTimer = 1;  // is the MP3 still playing? every second
constexpr UINT_PTR kCdPollTimer = 2;       // the audio CD's track and end, five times a second
constexpr UINT_PTR kStartTimer = 3;        // one shot: enters the playback loop
// One shot after a click or key: the playback loop has not returned, held up in the platform by a
// damaged file, and the program ends without waiting for it.
constexpr UINT_PTR kLoopHeldUpTimer = 4;
constexpr UINT kMusicRepeatMs = 1000, kCdPollMs = 200, kStartMs = 1, kLoopHeldUpMs = 250;

// Display: the visible screen. It shows the persistent image and hands a click or key to the
// show window, which ends the show.
class DisplayWindow : public PaintedWindow {
  public:
    explicit DisplayWindow(const RetainedSurface& image) : image_(image) {}
    void OnPaint(HDC dc, const RECT& area) override { image_.ShowOn(dc, area); }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_ERASEBKGND:
                return 1;  // the persistent image covers everything
            case WM_LBUTTONUP:
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                SendMessageW(GetParent(Hwnd()), WM_CLOSE, 0, 0);
                return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }

  private:
    const RetainedSurface& image_;
};

// The show window (Kine_S): the playback session, the music and the end of the show. Its window
// going ends the program's message loop.
class ShowScreen : public WindowState {
  public:
    // The window keeps its own copy of the settings, which the session refers to.
    ShowScreen(const SaverSettings& settings, bool cursorHidden)
        : settings_(settings), session_(settings_), cursorHidden_(cursorHidden) {}

    ShowSession& Session() { return session_; }
    bool CreateDisplay();
    // The grid on the primary monitor, started again at its first tile.
    void UseLayout(const ShowLayout& layout) {
        session_.grid = layout.grid;
        session_.gridArea = layout.gridArea;
        session_.tile = layout.FirstTile();
    }
    void StartMusic();
    // Gives back the cursor that start-up hid; a start without arguments never hid it.
    void RestoreCursor() {
        if (cursorHidden_)
            ShowCursor(TRUE);
        cursorHidden_ = false;
    }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_TIMER:
                OnTimer(wParam);
                return 0;
            case WM_SETFOCUS:
                // Key presses are answered by Display, so Display keeps the focus.
                if (session_.display)
                    SetFocus(session_.display);
                return 0;
            case WM_DISPLAYCHANGE:
                OnDisplayChange();
                break;
            case WM_CLOSE:
                OnClose();
                return 0;  // the window goes once the playback loop has returned
            case WM_DESTROY:
                session_.displayDc.Reset();  // before Display goes
                PostQuitMessage(0);
                return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }

  private:
    void OnTimer(UINT_PTR id);
    void OnDisplayChange();
    void OnClose();
    void StopMusic();

    const SaverSettings settings_;
    ShowSession session_;
    MusicPlayers music_;
    bool cursorHidden_;
    std::string musicKind_;  // "MP3", "WAV" or anything else when the music kind is a file
    bool cdPolling_ = false;
    bool playing_ = false;  // PlayFrames is on the stack and refers to session_
    bool ending_ = false;   // a click or key has ended the show
};

bool ShowScreen::CreateDisplay() {
    RECT inner{};
    GetClientRect(Hwnd(), &inner);
    session_.display = CreateOwnedWindow(std::make_unique<DisplayWindow>(session_.displayImage), 0,
                                         kDisplayClass, L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                         inner.right, inner.bottom, Hwnd(), nullptr);
    session_.displayImage.Resize(inner.right, inner.bottom);
    if (session_.display)
        session_.displayDc = WindowDc(session_.display);
    return session_.display != nullptr;
}

// A monitor added, removed or moved: cover every monitor again, black, and start the grid again.
void ShowScreen::OnDisplayChange() {
    const ShowLayout layout =
        MeasureShowLayout(session_.settings.Pic_Width, session_.settings.Pic_Height);
    const ScreenRect& covered = layout.window;
    SetWindowPos(Hwnd(), HWND_TOPMOST, covered.left, covered.top, covered.Width(), covered.Height(),
                 SWP_NOACTIVATE);
    RECT inner{};
    GetClientRect(Hwnd(), &inner);
    if (session_.display)
        MoveWindow(session_.display, 0, 0, inner.right, inner.bottom, FALSE);
    session_.displayImage.Resize(inner.right, inner.bottom);
    session_.displayImage.Clear();
    UseLayout(layout);
    if (session_.display)
        InvalidateRect(session_.display, nullptr, FALSE);
}

void ShowScreen::StartMusic() {
    const SaverSettings& settings = session_.settings;
    if (settings.BgmKind == kAudioCd) {
        music_.CdOpen();
        cdPolling_ = SetTimer(Hwnd(), kCdPollTimer, kCdPollMs, nullptr) != 0;
    } else if (settings.BgmKind == kMusicFile) {
        musicKind_ = MusicFileKind(settings.BgmFile);
        if (musicKind_ == "WAV")
            music_.WavePlay(settings.BgmFile);
        if (musicKind_ == "MP3") {
            music_.MusicOpenPlay(settings.BgmFile);
            SetTimer(Hwnd(), kMusicRepeatTimer, kMusicRepeatMs, nullptr);
        }
    }
}

void ShowScreen::OnTimer(UINT_PTR id) {
    switch (id) {
        case kMusicRepeatTimer:
            music_.MusicRepeatCheck();
            break;
        case kCdPollTimer:
            music_.CdPoll(session_.settings.BgmRepeat);
            if (!music_.CdPollActive()) {
                KillTimer(Hwnd(), kCdPollTimer);
                cdPolling_ = false;
            }
            break;
        case kStartTimer:
            KillTimer(Hwnd(), kStartTimer);
            playing_ = true;
            PlayFrames(session_);
            playing_ = false;
            if (ending_)
                DestroyWindow(Hwnd());  // frees this object: nothing of it is used below
            break;
        case kLoopHeldUpTimer:
            // Once: the end waits with timers running. The screen is given back before it does.
            KillTimer(Hwnd(), kLoopHeldUpTimer);
            ShowWindow(Hwnd(), SW_HIDE);
            EndProgram();
    }
}

void ShowScreen::StopMusic() {
    if (cdPolling_) {
        KillTimer(Hwnd(), kCdPollTimer);
        music_.CdStop();
        cdPolling_ = false;
    }
    if (session_.settings.BgmKind == kMusicFile) {
        if (musicKind_ == "WAV")
            music_.WaveStop();
        if (musicKind_ == "MP3") {
            KillTimer(Hwnd(), kMusicRepeatTimer);
            music_.MusicStop();
        }
    }
}

// Ends the show: the music stops, the cursor comes back, and the window goes, which ends the
// program. The playback loop refers to the session, so while it runs the window waits for it to
// return at its next yield (KeepPlaying cleared), and no longer than a moment.
void ShowScreen::OnClose() {
    if (ending_)
        return;
    ending_ = true;
    StopMusic();
    RestoreCursor();
    session_.KeepPlaying = false;
    if (playing_)
        SetTimer(Hwnd(), kLoopHeldUpTimer, kLoopHeldUpMs, nullptr);
    else
        DestroyWindow(Hwnd());
}

bool RegisterClasses() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW show{};
    show.hInstance = instance;
    show.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));  // 0x808080
    show.lpszClassName = kShowClass;
    WNDCLASSEXW display{};
    display.style = CS_OWNDC;
    display.hInstance = instance;
    display.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    display.lpszClassName = kDisplayClass;
    return RegisterWindowClass(show) && RegisterWindowClass(display);
}

}  // namespace

bool LoadShowWindow(const SaverSettings& settings, bool cursorHidden) {
    if (!RegisterClasses())
        return false;
    auto owned = std::make_unique<ShowScreen>(settings, cursorHidden);
    ShowScreen& show = *owned;
    // Every monitor is covered; the grid sits on the primary one.
    const ShowLayout layout = MeasureShowLayout(settings.Pic_Width, settings.Pic_Height);
    const ScreenRect& covered = layout.window;
    const HWND window = CreateOwnedWindow(std::move(owned), 0, kShowClass, kShowWindowTitle,
                                          WS_POPUP | WS_CLIPCHILDREN, covered.left, covered.top,
                                          covered.Width(), covered.Height(), nullptr, nullptr);
    if (!window)
        return false;
    ShowSession& s = show.Session();
    s.window = window;
    show.CreateDisplay();

    if (settings.AVI_File.empty()) {
        show.RestoreCursor();
        ShowInfoMessage(L"AVIファイルを指定してください！！");
        DestroyWindow(window);
        return false;
    }

    show.UseLayout(layout);
    show.StartMusic();

    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    SetForegroundWindow(window);
    SetFocus(s.display);
    SetTimer(window, kStartTimer, kStartMs, nullptr);
    return true;
}

}  // namespace kineloop
