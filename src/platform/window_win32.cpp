// The one window pattern: a state object per window behind one trampoline.
#include "platform/window_win32.h"

#include "platform/handles_win32.h"

namespace kineloop {

LRESULT WindowState::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CALLBACK WindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        // The window takes the state over from CreateOwnedWindow's holder.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* holder = static_cast<std::unique_ptr<WindowState>*>(create->lpCreateParams);
        state = holder ? holder->release() : nullptr;
        if (state) {
            state->hwnd_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        }
    }
    if (!state)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_PAINT) {
        if (auto* painted = dynamic_cast<PaintedWindow*>(state)) {
            PaintScope paint(window);
            if (paint.Dc())
                painted->OnPaint(paint.Dc(), paint.Area());
            return 0;
        }
    }
    const LRESULT result = state->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete state;
    }
    return result;
}

WindowState* OwnedStateOf(HWND window) {
    // Another process's slot holds an address of that process, even when its procedure is the
    // same program's trampoline.
    DWORD owner = 0;
    if (!window || !GetWindowThreadProcessId(window, &owner) || owner != GetCurrentProcessId())
        return nullptr;
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (procedure != WindowTrampoline)
        return nullptr;
    return reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool RegisterWindowClass(WNDCLASSEXW windowClass) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing))
        return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowTrampoline;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateOwnedWindow(std::unique_ptr<WindowState> state, DWORD exStyle, const wchar_t* className,
                       const wchar_t* title, DWORD style, int x, int y, int width, int height,
                       HWND parent, HMENU menuOrId) {
    // WM_NCCREATE empties `state`; a window that never got that far leaves it to be freed here.
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                           GetModuleHandleW(nullptr), &state);
}

}  // namespace kineloop
