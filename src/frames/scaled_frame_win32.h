// A decoded frame stretched to the size it is shown at, in a 24-bit bitmap kept from frame to
// frame, so that only the shown picture, never the whole frame, goes on to the scratch file.
#pragma once

#include <cstdint>

#include <windows.h>

#include "frames/dib.h"
#include "platform/handles_win32.h"

namespace kineloop {

class ScaledFrame {
  public:
    ScaledFrame() = default;
    ScaledFrame(const ScaledFrame&) = delete;
    ScaledFrame& operator=(const ScaledFrame&) = delete;
    ~ScaledFrame();

    // Stretches the whole frame (its header and the rows that follow) to width x height with
    // COLORONCOLOR, as the show always has, and keeps the part within keptWidth x keptHeight
    // (the caller's KeptPictureSize). False when nothing could be drawn.
    bool Stretch(const DibHeader& frame, const uint8_t* rows, int width, int height, int keptWidth,
                 int keptHeight);

    // The picture of the last stretch that succeeded: bottom-up 24-bit rows of Header()'s size.
    const DibHeader& Header() const { return header_; }
    const uint8_t* Rows() const { return static_cast<const uint8_t*>(bits_); }

  private:
    bool Resize(int width, int height);
    void Free();

    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    void* bits_ = nullptr;
    DibHeader header_;
};

// Draws the rows of `header` stretched into the rectangle (x, y, width, height) of `dc`, with
// the stretch mode already set on `dc`. Returns whether anything was drawn.
bool StretchRows(HDC dc, const DibHeader& header, const uint8_t* rows, int x, int y, int width,
                 int height);

}  // namespace kineloop
