// A decoded frame stretched to its tile, ready for its trip through the scratch file. It is made
// on the thread that decoded the frame, while the frame is still valid, by sampling only the
// pixels shown, and passed on later; only that picture goes on to the scratch file.
#pragma once

#include <cstddef>
#include <cstdint>

#include <windows.h>

#include "bitmap/dib.h"
#include "bitmap/tile_image.h"

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

    enum class Outcome {
        kStretched,   // Header() and Rows() hold the picture
        kRefused,     // the frame breaks the rules of AcceptPackedFrame (or there is none)
        kNothingKept  // a tile of no size, or no room for its picture
    };

    // Samples the frame (a packed bitmap of which `availableBytes` may be read) as a stretch to
    // `shape` with COLORONCOLOR would draw it, as the show always has, keeping the part within
    // the limits; or says why not.
    void Make(const void* packed, size_t availableBytes, const TileShape& shape);
    // The same for a frame in another form: `usable` says whether the frame is one to show at
    // all, and `paint(image, width, height)` writes every pixel of `image` as the frame stretched
    // to width x height shows it, or returns false for a frame it refuses.
    template <typename Paint>
    void MakeWith(const TileShape& shape, bool usable, Paint&& paint) {
        shape_ = shape;
        outcome_ = Outcome::kRefused;
        if (!usable)
            return;
        outcome_ = Outcome::kNothingKept;
        if (!Resize())
            return;
        outcome_ =
            paint(image_, shape.width, shape.height) ? Outcome::kStretched : Outcome::kRefused;
    }
    const TileShape& Shape() const { return shape_; }
    Outcome Made() const { return outcome_; }

    // The picture of the last stretch that succeeded: bottom-up 24-bit rows of Header()'s size,
    // kept from frame to frame.
    const DibHeader& Header() const { return header_; }
    const uint8_t* Rows() const { return image_.Rows(); }

  private:
    // Sizes the picture to what is kept of shape_; false when nothing is.
    bool Resize();

    TileImage image_;
    DibHeader header_;
    TileShape shape_;
    Outcome outcome_ = Outcome::kRefused;
};

// Draws the rows of `header` stretched into the rectangle (x, y, width, height) of `dc`, with
// the stretch mode already set on `dc`. Returns whether anything was drawn.
bool StretchRows(HDC dc, const DibHeader& header, const uint8_t* rows, int x, int y, int width,
                 int height);

}  // namespace kineloop
