// The one window pattern: each window owns a state object that answers its messages. The object
// is handed over in WM_NCCREATE, kept in GWLP_USERDATA and deleted in WM_NCDESTROY; one
// trampoline dispatches to it, so nothing about a window lives in a global.
#pragma once

#include <memory>

#include <windows.h>

namespace kineloop {

class WindowState {
  public:
    virtual ~WindowState() = default;
    HWND Hwnd() const { return hwnd_; }

  protected:
    // Answers one message; what it does not answer goes to DefaultProc.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

  private:
    friend LRESULT CALLBACK WindowTrampoline(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

// A window that paints itself whole: its WM_PAINT comes to OnPaint, between BeginPaint and
// EndPaint, and its HandleMessage does not see it.
class PaintedWindow : public WindowState {
  public:
    // `dc` is the painting context, `area` the part to be painted again.
    virtual void OnPaint(HDC dc, const RECT& area) = 0;
};

// The window procedure of every class registered with RegisterWindowClass.
LRESULT CALLBACK WindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers `windowClass` (its procedure set to the trampoline) unless the class exists already.
bool RegisterWindowClass(WNDCLASSEXW windowClass);

// Creates a window that takes `state` over; on failure the state is freed and nullptr returned.
HWND CreateOwnedWindow(std::unique_ptr<WindowState> state, DWORD exStyle, const wchar_t* className,
                       const wchar_t* title, DWORD style, int x, int y, int width, int height,
                       HWND parent, HMENU menuOrId);

// The state object of a window of this process whose procedure is the trampoline; nullptr for
// any other window, whatever it keeps in its GWLP_USERDATA (a STATIC may keep a bitmap there).
WindowState* OwnedStateOf(HWND window);

// The state object of a window made by CreateOwnedWindow, as its own type; nullptr otherwise.
template <typename State>
State* StateOf(HWND window) {
    return dynamic_cast<State*>(OwnedStateOf(window));
}

}  // namespace kineloop
