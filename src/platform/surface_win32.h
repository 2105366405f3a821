// A retained drawing surface: a memory bitmap that keeps what was drawn, standing for a picture
// box.
#pragma once

#include <windows.h>

#include "platform/handles_win32.h"

namespace kineloop {

class RetainedSurface {
  public:
    RetainedSurface() = default;
    RetainedSurface(const RetainedSurface&) = delete;
    RetainedSurface& operator=(const RetainedSurface&) = delete;
    ~RetainedSurface();

    // Gives the surface this size, cleared to black; keeps the bitmap when the size is unchanged.
    // A size of zero or less, or one the system refuses, leaves no surface.
    bool Resize(int width, int height);
    bool Ready() const { return bitmap_ && dc_; }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Clear();
    // A repaint of the window the surface stands for: copies `area` of the surface to `dc`.
    void ShowOn(HDC dc, const RECT& area) const;

  private:
    void Free();

    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kineloop
