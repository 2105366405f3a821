// The Command push button's window class and the functions its container calls. The button
// draws its face and caption on a retained surface, follows the pointer with a 100 ms poll, takes
// the focus on a press and raises Click to its parent.
#include "controls/command_win32.h"

#include <memory>

#include "controls/command_window_win32.h"
#include "platform/text_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kClassName[] = L"Kine.Command";

}  // namespace

CommandWindow* CommandOf(HWND window) {
    return window ? StateOf<CommandWindow>(window) : nullptr;
}

bool RegisterCommandClass() {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterWindowClass(windowClass);
}

HWND CreateCommand(HWND parent, int id, const PropertyStore& design, int x, int y, int width,
                   int height) {
    if (!parent || !RegisterCommandClass())
        return nullptr;
    auto owned = std::make_unique<CommandWindow>();
    CommandWindow& command = *owned;
    const HWND window = CreateOwnedWindow(
        std::move(owned), 0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (!window)
        return nullptr;
    command.Restore(design);
    return window;
}

void InitializeCommand(HWND command) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().Initialize();
}

bool IsCommand(HWND window) {
    return CommandOf(window) != nullptr;
}

void SetCommandEnabled(HWND command, bool enabled) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().SetEnabled(enabled);
}

bool CommandEnabled(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state && state->Model().Enabled();
}

std::wstring CommandCaption(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state ? Widen(state->Model().Caption()) : std::wstring();
}

BYTE CommandOpaqueBackground(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state ? state->Model().OpaqueBackground() : 0;
}

void SetCommandOpaqueBackground(HWND command, BYTE opaque) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().SetOpaqueBackground(opaque);
}

int CommandButtonState(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state ? state->Model().ButtonState() : 0;
}

}  // namespace kineloop
