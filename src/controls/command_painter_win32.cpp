// The Command button's face: the state picture stretched around its border over a gradient, and
// the caption drawn on it or on the container's background.
#include "controls/command_window_win32.h"

#include <algorithm>

#include "platform/bitmap_resource_win32.h"
#include "platform/resource_ids.h"
#include "platform/screen_dpi_win32.h"
#include "platform/text_win32.h"
#include "platform/twips.h"
#include "platform/window_text_win32.h"

namespace kineloop {

namespace {

// A caption colour: 0x00BBGGRR, or a system colour when the high bit is set.
COLORREF ColourOf(uint32_t colour) {
    if (colour & 0x80000000u)
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0x00FFFFFF;
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

}  // namespace

CommandWindow::CommandWindow() : model_(*this) {
    for (int i = 0; i < kStatePictureCount; ++i)
        pictures_[static_cast<size_t>(i)] = LoadBitmapResource(IDB_COMMAND_NORMAL + i);
}

int CommandWindow::TwipsPerPixelNow() const {
    return TwipsPerPixel(ScreenDotsPerInch());
}

SIZE CommandWindow::ClientSize() const {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    return {client.right - client.left, client.bottom - client.top};
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
    if (WindowText(Hwnd()) != caption)
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

}  // namespace kineloop
