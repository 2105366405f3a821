// A retained drawing surface: a memory bitmap that keeps what was drawn, standing for a picture
// box.
#include "platform/surface_win32.h"

namespace kineloop {

RetainedSurface::~RetainedSurface() {
    Free();
}

void RetainedSurface::Free() {
    // The bitmap must leave the DC before either is deleted.
    if (dc_ && originalBitmap_)
        SelectObject(dc_.Get(), originalBitmap_);
    originalBitmap_ = nullptr;
    bitmap_.Reset();
    dc_.Reset();
    width_ = height_ = 0;
}

bool RetainedSurface::Resize(int width, int height) {
    if (Ready() && width == width_ && height == height_)
        return true;
    Free();
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    dc_.Reset(CreateCompatibleDC(screen));
    bitmap_.Reset(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    if (!dc_ || !bitmap_) {
        Free();
        return false;
    }
    originalBitmap_ = SelectObject(dc_.Get(), bitmap_.Get());
    width_ = width;
    height_ = height;
    Clear();
    return true;
}

void RetainedSurface::Clear() {
    if (!Ready())
        return;
    RECT all{0, 0, width_, height_};
    FillRect(dc_.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void RetainedSurface::ShowOn(HDC dc, const RECT& area) const {
    if (!dc || !Ready())
        return;
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.Get(),
           area.left, area.top, SRCCOPY);
}

}  // namespace kineloop
