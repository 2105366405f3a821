// A decoded frame stretched to its tile, ready for its trip through the scratch file. It may be
// made on the thread that decoded the frame, while the frame is still valid, and passed on later;
// only the shown picture, never the whole frame, goes on to the scratch file.
#pragma once

#include <cstddef>
#include <cstdint>

#include <windows.h>

#include "bitmap/dib.h"
#include "platform/handles_win32.h"

namespace kineloop {

// The size a frame is stretched to, and the room it is kept within (KeptPictureSize).
struct TileShape {
    int width = 0;
    int height = 0;
    int limitWidth = 0;
    int limitHeight = 0;

    bool operator==(const TileShape& other) const {
        return width == other.width && height == other.height && limitWidth == other.limitWidth &&
               limitHeight == other.limitHeight;
    }
};

class StretchedFrame {
  public:
    StretchedFrame() = default;
    StretchedFrame(const StretchedFrame&) = delete;
    StretchedFrame& operator=(const StretchedFrame&) = delete;
    ~StretchedFrame();

    enum class Outcome {
        kStretched,   // Header() and Rows() hold the picture
        kRefused,     // the frame breaks the rules of AcceptPackedFrame (or there is none)
        kNothingKept  // a tile of no size, or nothing could be drawn
    };

    // Stretches the frame (a packed bitmap of which `availableBytes` may be read) to `shape` with
    // COLORONCOLOR, as the show always has, and keeps the part within the limits; or says why not.
    void Make(const void* packed, size_t availableBytes, const TileShape& shape);
    const TileShape& Shape() const { return shape_; }
    Outcome Made() const { return outcome_; }

    // The picture of the last stretch that succeeded: bottom-up 24-bit rows of Header()'s size,
    // kept from frame to frame.
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
    TileShape shape_;
    Outcome outcome_ = Outcome::kRefused;
};

// Draws the rows of `header` stretched into the rectangle (x, y, width, height) of `dc`, with
// the stretch mode already set on `dc`. Returns whether anything was drawn.
bool StretchRows(HDC dc, const DibHeader& header, const uint8_t* rows, int x, int y, int width,
                 int height);

}  // namespace kineloop
