// The settings dialog's picture boxes: child windows that keep their drawing in a retained
// surface, paint the labels on them see-through, draw the option bullets and hand their
// controls' notifications up to the dialog.
#include "settings_dialog/dialog_panel_win32.h"

#include <map>
#include <memory>

#include "platform/handles_win32.h"
#include "platform/window_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kPanelClass[] = L"Kine.Panel";
constexpr COLORREF kSeeThrough = RGB(255, 0, 255);

}  // namespace

class DialogPanel : public PaintedWindow {
  public:
    RetainedSurface surface;
    // The picture each of the panel's option bullets shows; the bullets are plain STATICs, so
    // nothing of the program's is kept in their own window data.
    std::map<HWND, HBITMAP> bulletPictures;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_ERASEBKGND:
                return 1;  // the surface covers everything in WM_PAINT
            case WM_PRINTCLIENT:
                // Themed controls ask for what lies behind them this way.
                if (surface.Ready())
                    BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, surface.Width(), surface.Height(),
                           surface.Dc(), 0, 0, SRCCOPY);
                return 0;
            case WM_CTLCOLORSTATIC:
                if (IsTextField(reinterpret_cast<HWND>(lParam)))
                    return OnDisabledFieldColours(reinterpret_cast<HDC>(wParam));
                return OnLabelColours(reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam));
            case WM_CTLCOLORBTN:
                return OnLabelColours(reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam));
            case WM_DESTROY:
                bulletPictures.clear();
                break;
            case WM_DRAWITEM:
                OnDrawBullet(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return TRUE;
            case WM_COMMAND:
            case WM_HSCROLL:
                // The dialog answers every control, wherever it sits.
                return SendMessageW(GetAncestor(Hwnd(), GA_ROOT), message, wParam, lParam);
        }
        return DefaultProc(message, wParam, lParam);
    }

  private:
    void OnPaint(HDC dc, const RECT& area) override { surface.ShowOn(dc, area); }

    LRESULT OnLabelColours(HDC dc, HWND control) {
        PaintBehind(dc, control, Hwnd(), surface);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }

    // A disabled edit field (the combo box's own included) asks for static colours: it keeps its
    // white field, and only its text greys.
    static bool IsTextField(HWND control) {
        wchar_t name[16] = L"";
        GetClassNameW(control, name, 16);
        return lstrcmpiW(name, L"Edit") == 0 || lstrcmpiW(name, L"ComboBox") == 0;
    }

    static LRESULT OnDisabledFieldColours(HDC dc) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }

    void OnDrawBullet(const DRAWITEMSTRUCT& item) {
        PaintBehind(item.hDC, item.hwndItem, Hwnd(), surface);
        const auto found = bulletPictures.find(item.hwndItem);
        const HBITMAP picture = found != bulletPictures.end() ? found->second : nullptr;
        BITMAP info{};
        if (!picture || !GetObjectW(picture, sizeof info, &info))
            return;
        UniqueMemoryDc source(CreateCompatibleDC(item.hDC));
        if (!source)
            return;
        SelectionScope selected(source.Get(), picture);
        TransparentBlt(item.hDC, 0, 0, info.bmWidth, info.bmHeight, source.Get(), 0, 0,
                       info.bmWidth, info.bmHeight, kSeeThrough);
    }
};

HWND CreateDialogPanel(HWND parent, int id, int x, int y, int width, int height) {
    WNDCLASSEXW panelClass{};
    panelClass.hInstance = GetModuleHandleW(nullptr);
    panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    panelClass.lpszClassName = kPanelClass;
    if (!RegisterWindowClass(panelClass))
        return nullptr;
    auto state = std::make_unique<DialogPanel>();
    DialogPanel& panel = *state;
    const HWND window =
        CreateOwnedWindow(std::move(state), WS_EX_CONTROLPARENT, kPanelClass, L"",
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, width,
                          height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (window)
        panel.surface.Resize(width, height);
    return window;
}

namespace {

// The panel's state, or nullptr when `window` is no panel.
DialogPanel* PanelOf(HWND window) {
    return window ? StateOf<DialogPanel>(window) : nullptr;
}

}  // namespace

RetainedSurface* PanelSurface(HWND window) {
    DialogPanel* panel = PanelOf(window);
    return panel ? &panel->surface : nullptr;
}

void PaintBehind(HDC dc, HWND control, HWND container, const RetainedSurface& surface) {
    if (!dc || !surface.Ready())
        return;
    POINT origin{0, 0};
    MapWindowPoints(control, container, &origin, 1);
    RECT client{};
    GetClientRect(control, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, surface.Dc(), origin.x, origin.y, SRCCOPY);
}

HWND CreateBullet(HWND panel, int id, int x, int y, int width, int height) {
    return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, x,
                           y, width, height, panel,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void SetBulletPicture(HWND bullet, HBITMAP picture) {
    DialogPanel* panel = bullet ? PanelOf(GetParent(bullet)) : nullptr;
    if (!panel)
        return;
    panel->bulletPictures[bullet] = picture;
    InvalidateRect(bullet, nullptr, FALSE);
}

}  // namespace kineloop
