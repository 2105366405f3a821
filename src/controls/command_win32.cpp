// The Command push button's window: draws its face and caption on a retained surface, follows
// the pointer with a 100 ms poll, takes the focus on a press and raises Click to its parent.
#include "controls/command_win32.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "controls/command_face.h"
#include "controls/command_model.h"
#include "platform/handles_win32.h"
#include "platform/resource_ids.h"
#include "platform/surface_win32.h"
#include "platform/text_win32.h"
#include "platform/twips.h"
#include "platform/window_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kClassName[] = L"Kine.Command";
constexpr UINT_PTR kMouseTimerId = 1;
constexpr UINT kMouseTimerMs = 100;
// `LblMsg` at creation: left 0, top 90, width 1635 twips.
constexpr int kLabelCreationTop = 90;
constexpr int kLabelCreationWidth = 1635;

int ScreenDotsPerInch() {
    WindowDc screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

LOGFONTW LogFontOf(const FontSpec& font, int dotsPerInch) {
    LOGFONTW logFont{};
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dotsPerInch / 72.0));
    logFont.lfWeight = font.weight;
    logFont.lfItalic = font.italic;
    logFont.lfUnderline = font.underline;
    logFont.lfStrikeOut = font.strikethrough;
    logFont.lfCharSet = font.charset;
    const std::wstring name = Widen(font.name);
    lstrcpynW(logFont.lfFaceName, name.c_str(), LF_FACESIZE);
    return logFont;
}

FontSpec FontSpecOf(const LOGFONTW& logFont, int dotsPerInch) {
    FontSpec font;
    font.name = Narrow(logFont.lfFaceName);
    const double pixels = std::abs(static_cast<double>(logFont.lfHeight));
    // Points to the hundredth, as the container's font objects keep them.
    font.points = pixels > 0 ? std::round(pixels * 72.0 / dotsPerInch * 100.0) / 100.0 : 9.0;
    font.weight = logFont.lfWeight ? logFont.lfWeight : FW_NORMAL;
    font.italic = logFont.lfItalic != 0;
    font.underline = logFont.lfUnderline != 0;
    font.strikethrough = logFont.lfStrikeOut != 0;
    font.charset = logFont.lfCharSet;
    return font;
}

// The container's ambient font: the font the parent window answers WM_GETFONT with, else the
// system's default interface font.
FontSpec AmbientFontOf(HWND parent) {
    HFONT font = parent ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont{};
    if (!font || !GetObjectW(font, sizeof logFont, &logFont))
        return ButtonDesignFont();
    return FontSpecOf(logFont, ScreenDotsPerInch());
}

// A caption colour: 0x00BBGGRR, or a system colour when the high bit is set.
COLORREF ColourOf(uint32_t colour) {
    if (colour & 0x80000000u)
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0x00FFFFFF;
}

UniqueBitmap LoadStatePicture(StatePicture picture) {
    const int id = IDB_COMMAND_NORMAL + static_cast<int>(picture);
    return UniqueBitmap(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

unsigned MaskOf(PointerButton button) {
    return 1u << static_cast<unsigned>(button);
}

TRIVERTEX VertexOf(int x, int y, const FaceColour& colour) {
    TRIVERTEX vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = colour.red;
    vertex.Green = colour.green;
    vertex.Blue = colour.blue;
    vertex.Alpha = colour.alpha;
    return vertex;
}

// One Command control: the rules in CommandModel, the drawing here.
class CommandWindow : public WindowState, private CommandLook {
  public:
    CommandWindow() : model_(*this) {
        for (int i = 0; i < kStatePictureCount; ++i)
            pictures_[static_cast<size_t>(i)] = LoadStatePicture(static_cast<StatePicture>(i));
    }

    CommandModel& Model() { return model_; }
    FontSpec AmbientFont() const { return AmbientFontOf(GetParent(Hwnd())); }

    // Steps 2 and 3 of the life of a control: properties read, then the size applied.
    void Restore(const PropertyStore& design) {
        model_.ReadProperties(design, AmbientFont());
        sized_ = true;
        model_.Resized();
    }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // CommandLook.
    void PaintFace(StatePicture picture) override;
    void LabelChanged() override;
    void BackgroundChanged() override { Compose(); }
    void StartMouseTimer() override { SetTimer(Hwnd(), kMouseTimerId, kMouseTimerMs, nullptr); }
    // The design is saved by the container when it asks (SaveCommand); nothing to tell here.
    void MarkChanged(const char*) override {}

    void OnPaint();
    void OnPointerMoved(LPARAM lParam);
    void OnPress(PointerButton button);
    void OnRelease(PointerButton button, WPARAM stillDown, LPARAM lParam);
    void OnCaptureLost(HWND taker);
    void OnKey(UINT message, WPARAM key, LPARAM flags);
    PointerPlace PlaceOf(LPARAM clientPoint) const;
    void RaiseClick();
    void OnMouseTimer();

    SIZE ClientSize() const;
    int TwipsPerPixelNow() const { return TwipsPerPixel(ScreenDotsPerInch()); }
    void FillGradient(int width, int height);
    void DrawCaption(HDC dc, int width);
    void Compose();
    HFONT CaptionFont();

    CommandModel model_;
    std::array<UniqueBitmap, kStatePictureCount> pictures_;
    BorderSlices slices_{};
    RetainedSurface face_;      // what PaintFace drew
    RetainedSurface composed_;  // the face (or the container) with the caption: what WM_PAINT shows
    int labelTop_ = kLabelCreationTop;      // twips
    int labelWidth_ = kLabelCreationWidth;  // twips
    UniqueFont font_;
    FontSpec fontShown_;
    unsigned pressed_ = 0;  // the buttons pressed on this control and not yet released
    bool sized_ = false;
};

SIZE CommandWindow::ClientSize() const {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    return {client.right - client.left, client.bottom - client.top};
}

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

void CommandWindow::PaintFace(StatePicture picture) {
    const SIZE size = ClientSize();
    const int twipsPerPixel = TwipsPerPixelNow();
    const int width = size.cx * twipsPerPixel, height = size.cy * twipsPerPixel;
    // A size beyond 16-bit twips keeps the pieces of the previous paint.
    if (std::optional<BorderSlices> slices = ComputeBorderSlices(width, height))
        slices_ = *slices;
    if (!face_.Resize(size.cx, size.cy))
        return;
    RECT all{0, 0, size.cx, size.cy};
    FillRect(face_.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    FillGradient(size.cx, size.cy);

    const UniqueBitmap& source = pictures_[static_cast<size_t>(picture)];
    if (source) {
        UniqueMemoryDc pictureDc(CreateCompatibleDC(face_.Dc()));
        SelectionScope selected(pictureDc.Get(), source.Get());
        SetStretchBltMode(face_.Dc(), COLORONCOLOR);
        for (const BorderSlice& slice : slices_) {
            const PixelRect to = InPixels(slice.destination, twipsPerPixel);
            const PixelRect from = InPixels(slice.source, twipsPerPixel);
            // Too small a control gives the middle pieces no room; they are left out.
            if (!pictureDc || to.width <= 0 || to.height <= 0)
                continue;
            if (to.width == from.width && to.height == from.height)
                BitBlt(face_.Dc(), to.x, to.y, to.width, to.height, pictureDc.Get(), from.x, from.y,
                       SRCCOPY);
            else
                StretchBlt(face_.Dc(), to.x, to.y, to.width, to.height, pictureDc.Get(), from.x,
                           from.y, from.width, from.height, SRCCOPY);
        }
    }
    labelTop_ = CaptionTopTwips(height);
    labelWidth_ = width;
    Compose();
}

void CommandWindow::LabelChanged() {
    // The window text follows the caption, so that tools and tests find the button by its text.
    const std::wstring caption = Widen(model_.Caption());
    const int length = GetWindowTextLengthW(Hwnd());
    std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
    shown.resize(static_cast<size_t>(GetWindowTextW(Hwnd(), shown.data(), length + 1)));
    if (shown != caption)
        SetWindowTextW(Hwnd(), caption.c_str());
    Compose();
}

void CommandWindow::FillGradient(int width, int height) {
    const bool reverse = model_.ReverseFace();
    const FaceColour top = reverse ? FaceLavender() : FaceWhite();
    const FaceColour bottom = reverse ? FaceWhite() : FaceLavender();
    // Entries 2 and 3 stay zero; the rectangle runs from entry 1 to entry 0 as the mesh says.
    TRIVERTEX faceVertices[4]{VertexOf(0, 0, top), VertexOf(width - 1, height - 1, bottom), {}, {}};
    GRADIENT_RECT faceMesh{1, 0};
    GradientFill(face_.Dc(), faceVertices, 4, &faceMesh, 1, GRADIENT_FILL_RECT_V);
}

HFONT CommandWindow::CaptionFont() {
    const FontSpec& wanted = model_.Label().font;
    if (!font_ || fontShown_ != wanted) {
        const LOGFONTW logFont = LogFontOf(wanted, ScreenDotsPerInch());
        font_.Reset(CreateFontIndirectW(&logFont));
        fontShown_ = wanted;
    }
    return font_.Get();
}

void CommandWindow::DrawCaption(HDC dc, int width) {
    const CaptionLabel& label = model_.Label();
    const int twipsPerPixel = TwipsPerPixelNow();
    const int top = TwipsAsPixels(labelTop_, twipsPerPixel);
    const int right = std::min(width, TwipsAsPixels(labelWidth_, twipsPerPixel));
    RECT box{0, top, right, top + TwipsAsPixels(kCaptionHeightTwips, twipsPerPixel)};
    const std::wstring caption = Widen(label.caption);
    SelectionScope selected(dc, CaptionFont());
    SetBkMode(dc, TRANSPARENT);
    constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    if (label.enabled) {
        SetTextColor(dc, ColourOf(label.colour));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, kFormat);
        return;
    }
    // The platform's disabled-text look: a light copy one pixel down-right under a grey one.
    RECT shadow = box;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &shadow, kFormat);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box, kFormat);
}

void CommandWindow::Compose() {
    const SIZE size = ClientSize();
    if (!composed_.Resize(size.cx, size.cy))
        return;
    HDC dc = composed_.Dc();
    if (model_.Opaque() && face_.Ready()) {
        BitBlt(dc, 0, 0, size.cx, size.cy, face_.Dc(), 0, 0, SRCCOPY);
    } else {
        // Transparent: the container shows through, its background and what it paints itself
        // drawn on the surface as they lie under the control.
        const HWND parent = GetParent(Hwnd());
        POINT origin{0, 0};
        MapWindowPoints(Hwnd(), parent, &origin, 1);
        POINT previous{};
        SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
        RECT under{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
        const auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(parent, GCLP_HBRBACKGROUND));
        FillRect(dc, &under, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
    }
    DrawCaption(dc, size.cx);
    // Shown at once, as the platform shows a drawn picture box.
    InvalidateRect(Hwnd(), nullptr, FALSE);
    UpdateWindow(Hwnd());
}

CommandWindow* CommandOf(HWND window) {
    return window ? StateOf<CommandWindow>(window) : nullptr;
}

}  // namespace

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

void SetCommandCaption(HWND command, const std::wstring& caption) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().SetCaption(Narrow(caption));
}

FontSpec CommandFont(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state ? state->Model().Font() : FontSpec{};
}

void SetCommandFont(HWND command, const FontSpec& font) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().SetFont(font);
}

COLORREF CommandFontColour(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state ? static_cast<COLORREF>(state->Model().FontColour()) : 0;
}

void SetCommandFontColour(HWND command, COLORREF colour) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().SetFontColour(colour);
}

BYTE CommandVisible(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state ? state->Model().Visible() : 0;
}

void SetCommandVisible(HWND command, BYTE visible) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().SetVisible(visible);
}

void SaveCommand(HWND command, PropertyStore& design) {
    if (CommandWindow* state = CommandOf(command))
        state->Model().WriteProperties(design, state->AmbientFont());
}

int CommandButtonState(HWND command) {
    CommandWindow* state = CommandOf(command);
    return state ? state->Model().ButtonState() : 0;
}

}  // namespace kineloop
