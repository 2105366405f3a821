// The Command button's messages: painting from its retained surface, the pointer, the keyboard,
// the focus and the 100 ms pointer poll, and Click raised to the parent.
#include "controls/command_window_win32.h"

namespace kineloop {

namespace {

unsigned MaskOf(PointerButton button) {
    return 1u << static_cast<unsigned>(button);
}

}  // namespace

LRESULT CommandWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel from the retained surface
        case WM_SIZE:
            if (sized_)
                model_.Resized();
            return 0;
        case WM_MOUSEMOVE:
            OnPointerMoved(lParam);
            return 0;
        case WM_LBUTTONDOWN:
            OnPress(PointerButton::Left);
            return 0;
        case WM_RBUTTONDOWN:
            OnPress(PointerButton::Right);
            return 0;
        case WM_MBUTTONDOWN:
            OnPress(PointerButton::Middle);
            return 0;
        case WM_LBUTTONUP:
            OnRelease(PointerButton::Left, wParam, lParam);
            return 0;
        case WM_RBUTTONUP:
            OnRelease(PointerButton::Right, wParam, lParam);
            return 0;
        case WM_MBUTTONUP:
            OnRelease(PointerButton::Middle, wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            OnCaptureLost(reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_GETDLGCODE: {
            // Enter on the focused button is the button's, not the dialog's default action.
            const auto* queued = reinterpret_cast<const MSG*>(lParam);
            if (queued && queued->message == WM_KEYDOWN && queued->wParam == VK_RETURN)
                return DLGC_WANTMESSAGE;
            return DefaultProc(message, wParam, lParam);
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            OnKey(message, wParam, lParam);
            return 0;
        case WM_SETFOCUS:
            model_.FocusGained();
            return 0;
        case WM_KILLFOCUS:
            model_.FocusLost();
            return 0;
        case WM_TIMER:
            if (wParam == kMouseTimerId)
                OnMouseTimer();
            return 0;
        case WM_DESTROY:
            KillTimer(Hwnd(), kMouseTimerId);
            return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

void CommandWindow::OnPaint() {
    PaintScope paint(Hwnd());
    if (!paint.Dc())
        return;
    if (composed_.Ready())
        composed_.ShowOn(paint.Dc(), paint.Area());
    else
        FillRect(paint.Dc(), &paint.Area(), GetSysColorBrush(COLOR_BTNFACE));
}

void CommandWindow::OnPointerMoved(LPARAM lParam) {
    // With the mouse captured after a press, moves off the control arrive here too; only a move
    // over the control (the caption included) counts.
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const SIZE size = ClientSize();
    if (at.x < 0 || at.y < 0 || at.x >= size.cx || at.y >= size.cy)
        return;
    model_.PointerMoved();
}

void CommandWindow::OnPress(PointerButton button) {
    // The left press gives the control the focus first: that is how state 4 and `Pressed` come.
    if (button == PointerButton::Left && model_.EnabledFlag() && GetFocus() != Hwnd())
        SetFocus(Hwnd());
    // The release must reach the control even off it, so that it can decide about Click; and
    // only a release whose press came to this control counts, as when every press captures.
    SetCapture(Hwnd());
    pressed_ |= MaskOf(button);
    model_.ButtonPressed(button);
}

void CommandWindow::OnRelease(PointerButton button, WPARAM stillDown, LPARAM lParam) {
    // A button pressed elsewhere and released over this control (dragged in) is not its release.
    const bool ours = (pressed_ & MaskOf(button)) != 0;
    pressed_ &= ~MaskOf(button);
    if (!(stillDown & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == Hwnd())
        ReleaseCapture();
    if (ours && model_.ButtonReleased(button, PlaceOf(lParam)))
        RaiseClick();
}

// Where a release happened: over this control only when the point is inside it and no other
// window covers it there.
PointerPlace CommandWindow::PlaceOf(LPARAM clientPoint) const {
    POINT at{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    const SIZE size = ClientSize();
    if (at.x < 0 || at.y < 0 || at.x >= size.cx || at.y >= size.cy)
        return PointerPlace::Elsewhere;
    ClientToScreen(Hwnd(), &at);
    return WindowFromPoint(at) == Hwnd() ? PointerPlace::OverControl : PointerPlace::Elsewhere;
}

void CommandWindow::OnCaptureLost(HWND taker) {
    // Our own release of the capture has already settled the press.
    if (taker == Hwnd() || pressed_ == 0)
        return;
    pressed_ = 0;
    model_.PressLost();
}

void CommandWindow::OnKey(UINT message, WPARAM key, LPARAM flags) {
    if (key != VK_SPACE && key != VK_RETURN)
        return;
    const CommandKey which = key == VK_SPACE ? CommandKey::Space : CommandKey::Enter;
    const bool repeat = (flags & (LPARAM{1} << 30)) != 0;
    const bool click =
        message == WM_KEYDOWN ? model_.KeyPressed(which, repeat) : model_.KeyReleased(which);
    if (click)
        RaiseClick();
}

void CommandWindow::RaiseClick() {
    // Last in every handler: the parent's answer may destroy this control.
    const HWND self = Hwnd();
    SendMessageW(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
                 reinterpret_cast<LPARAM>(self));
}

void CommandWindow::OnMouseTimer() {
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        return;
    const HWND under = WindowFromPoint(cursor);
    PointerPlace place = PointerPlace::Elsewhere;
    if (under == GetParent(Hwnd()))
        place = PointerPlace::OverParent;
    else if (under == Hwnd())
        place = PointerPlace::OverControl;
    model_.MouseTimerTick(place);
}

}  // namespace kineloop
