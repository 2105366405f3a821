// The preview mode's window `Kine_R`: a still picture placed inside the host's preview box.
#include "show/preview_window_win32.h"

#include <memory>

#include "platform/bitmap_resource_win32.h"
#include "platform/handles_win32.h"
#include "platform/resource_ids.h"
#include "platform/twips.h"
#include "platform/window_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kClassName[] = L"Kine_R";
constexpr wchar_t kTitle[] = L"Preview Window";
// Both pictures are drawn for the host's usual box; the window and `Img_Prev` start at that size.
constexpr int kDesignWidth = 152;
constexpr int kDesignHeight = 112;
// The host's box is looked at every second: a preview that outlives its host's box (a host that
// ends without destroying it) ends within a second.
constexpr UINT_PTR kHostCheckTimer = 1;
constexpr UINT kHostCheckMs = 1000;

// The preview: the background picture and `Img_Prev`, a windowless image that stretches its picture
// over its bounds. Both are painted again from the loaded bitmaps on every WM_PAINT.
class PreviewWindow : public PaintedWindow {
  public:
    PreviewWindow()
        : background_(LoadBitmapResource(IDB_PREVIEW_BACKGROUND)),
          stills_(LoadBitmapResource(IDB_PREVIEW_STILLS)) {}

    void SetImageBounds(int width, int height) { imageBounds_ = {0, 0, width, height}; }
    void OnPaint(HDC dc, const RECT& area) override;
    void WatchHost(HWND host) {
        host_ = host;
        SetTimer(Hwnd(), kHostCheckTimer, kHostCheckMs, nullptr);
    }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_TIMER:
                if (wParam == kHostCheckTimer && !IsWindow(host_))
                    DestroyWindow(Hwnd());
                return 0;
            case WM_NCDESTROY:
                // With the preview gone no window is left: the program ends. (A window destroyed
                // with a host in another process that was killed may get no WM_DESTROY, only
                // this last message.)
                PostQuitMessage(0);
                break;
        }
        return DefaultProc(message, wParam, lParam);
    }

  private:
    HWND host_ = nullptr;
    UniqueBitmap background_;
    UniqueBitmap stills_;
    RECT imageBounds_{0, 0, kDesignWidth, kDesignHeight};
};

void PreviewWindow::OnPaint(HDC dc, const RECT&) {
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source)
        return;
    const SIZE backgroundSize = BitmapSize(background_.Get());
    if (backgroundSize.cx > 0 && backgroundSize.cy > 0) {
        SelectionScope selected(source.Get(), background_.Get());
        BitBlt(dc, 0, 0, backgroundSize.cx, backgroundSize.cy, source.Get(), 0, 0, SRCCOPY);
    }
    const SIZE stillsSize = BitmapSize(stills_.Get());
    const int width = imageBounds_.right - imageBounds_.left;
    const int height = imageBounds_.bottom - imageBounds_.top;
    if (stillsSize.cx > 0 && stillsSize.cy > 0 && width > 0 && height > 0) {
        SelectionScope selected(source.Get(), stills_.Get());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, imageBounds_.left, imageBounds_.top, width, height, source.Get(), 0, 0,
                   stillsSize.cx, stillsSize.cy, SRCCOPY);
    }
}

bool RegisterPreviewClass() {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterWindowClass(windowClass);
}

}  // namespace

bool LoadPreviewWindow(const PreviewBox& box) {
    if (!RegisterPreviewClass())
        return false;
    auto owned = std::make_unique<PreviewWindow>();
    PreviewWindow& preview = *owned;
    const HWND window =
        CreateOwnedWindow(std::move(owned), 0, kClassName, kTitle, WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                          kDesignWidth, kDesignHeight, nullptr, nullptr);
    if (!window)
        return false;

    // A borderless top-level window turned into a child of the host's box; no other style bit
    // changes.
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style != 0)
        SetWindowLongPtrW(window, GWL_STYLE, style | WS_CHILD);
    SetParent(window, box.host);
    preview.WatchHost(box.host);

    const int width = TwipsToPixels(box.widthTwips, box.twipsPerPixelX);
    const int height = TwipsToPixels(box.heightTwips, box.twipsPerPixelY);
    SetWindowPos(window, nullptr, 0, 0, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    preview.SetImageBounds(width, height);

    // Shown without activation: the host's dialog keeps the focus, the preview takes no input.
    ShowWindow(window, SW_SHOWNA);
    UpdateWindow(window);
    return true;
}

}  // namespace kineloop
