// The settings dialog's zoom effect: the window system draws a frame moving between the recorded
// mouse point and the dialog; the dialog itself is neither moved nor resized.
#pragma once

#include <cstdint>
#include <functional>

#include <windows.h>

namespace kineloop {

// Draws one animation. The animation cannot be observed, so tests give a zoom their own drawer in
// place of DrawAnimatedRects.
using AnimatedRectsDrawer =
    std::function<void(HWND window, int animation, const RECT& from, const RECT& to)>;

// One window's zoom: it opens from the point recorded while the window loads and closes back to it.
class WindowZoom {
  public:
    // An empty drawer draws with DrawAnimatedRects.
    explicit WindowZoom(AnimatedRectsDrawer drawer = nullptr);

    // Records the mouse position as the origin, in screen pixels; both coordinates become 0 when
    // it cannot be read or does not fit 16 bits. Until then the origin is the screen's corner.
    void RecordOrigin();
    void SetOrigin(int16_t x, int16_t y) {
        originX_ = x;
        originY_ = y;
    }
    int16_t OriginX() const { return originX_; }
    int16_t OriginY() const { return originY_; }

    // Animates from the origin to the window's frame.
    void Open(HWND window) const;
    // Animates from the window's frame back to the origin.
    void Close(HWND window) const;

  private:
    AnimatedRectsDrawer drawer_;
    int16_t originX_ = 0;
    int16_t originY_ = 0;
};

}  // namespace kineloop
