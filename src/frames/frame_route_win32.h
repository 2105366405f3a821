// The way of every frame shown, by the show and by the settings dialog's thumbnail alike: the
// decoded frame is stretched to the size it is shown at first, and only that picture goes through
// the scratch file, so the file's cost does not grow with the video.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include <windows.h>

#include "frames/scaled_frame_win32.h"
#include "frames/snapshot_win32.h"

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

class StretchedFrame;

class FrameRoute {
  public:
    // At the program's scratch places (ProgramScratchPlaces), kept by this route alone: one
    // route for a whole show.
    FrameRoute();
    // At `places`, which outlive the route.
    explicit FrameRoute(ScratchPlaces& places);
    ~FrameRoute();

    enum class Result {
        kRefused,      // the frame breaks the rules of AcceptPackedFrame (or there is none)
        kNoPlace,      // no scratch place took the picture; the frame is not shown
        kReadBack,     // the picture went through the scratch file and was read back
        kKeptPrevious  // nothing new was read back (a failed read, a size of nothing): the
                       // previous picture, if any, stays the one to draw
    };

    // Takes a decoded frame (a packed bitmap of which `availableBytes` may be read) to a picture
    // of the frame stretched to width x height, of which the part within
    // limitWidth x limitHeight is kept (KeptPictureSize), through the scratch file.
    Result Take(const void* packed, size_t availableBytes, int width, int height, int limitWidth,
                int limitHeight);
    // Takes a frame stretched already (on another thread, say) through the scratch file.
    Result Pass(const StretchedFrame& frame);

    // The last picture read back: nullptr before the first.
    const Picture* LastPicture() const { return hasPicture_ ? &picture_ : nullptr; }
    // Draws the last picture at (x, y) of `dc`, pixel for pixel; false when there is none.
    bool DrawLast(HDC dc, int x, int y) const;

    // Where the scratch file went (or goes).
    const std::wstring& ScratchPath() const { return scratch_.Path(); }

  private:
    std::unique_ptr<StretchedFrame> own_;  // Take's
    ScratchSnapshot scratch_;
    Picture picture_;  // Pic_K: what the scratch file gave back
    bool hasPicture_ = false;
};

// A decoded frame stretched to its tile, ready for its trip through the scratch file. It may be
// made on the thread that decoded the frame, while the frame is still valid, and passed on later.
class StretchedFrame {
  public:
    // Stretches the frame (a packed bitmap of which `availableBytes` may be read) to `shape`, of
    // which the part within the limits is kept; or says why not (a refused frame, a size of
    // nothing).
    void Make(const void* packed, size_t availableBytes, const TileShape& shape);
    const TileShape& Shape() const { return shape_; }

  private:
    friend class FrameRoute;

    ScaledFrame scaled_;
    TileShape shape_;
    std::optional<FrameRoute::Result> notStretched_ = FrameRoute::Result::kRefused;
};

}  // namespace kineloop
