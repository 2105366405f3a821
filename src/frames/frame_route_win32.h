// The way of every frame shown, by the show and by the settings dialog's thumbnail alike: the
// decoded frame is stretched to the size it is shown at first, and only that picture goes through
// the scratch file, so the file's cost does not grow with the video.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include <windows.h>

#include "frames/scaled_frame_win32.h"
#include "frames/snapshot_win32.h"

namespace kineloop {

class FrameRoute {
  public:
    // At the program's scratch places (ProgramScratchPlaces), kept by this route alone: one
    // route for a whole show.
    FrameRoute() = default;
    // At `places`, which outlive the route.
    explicit FrameRoute(ScratchPlaces& places) : scratch_(places) {}

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
    // `doneWithFrame`, when given, runs as soon as the frame's bytes are read no more (once
    // stretched, or at once when refused), while the picture has still to go its way.
    Result Take(const void* packed, size_t availableBytes, int width, int height, int limitWidth,
                int limitHeight, const std::function<void()>& doneWithFrame = nullptr);

    // The last picture read back: nullptr before the first.
    const Picture* LastPicture() const { return hasPicture_ ? &picture_ : nullptr; }
    // Draws the last picture at (x, y) of `dc`, pixel for pixel; false when there is none.
    bool DrawLast(HDC dc, int x, int y) const;

    // Where the scratch file went (or goes).
    const std::wstring& ScratchPath() const { return scratch_.Path(); }

  private:
    // Stretches the frame into scaled_; otherwise says why not.
    std::optional<Result> Stretch(const void* packed, size_t availableBytes, int width, int height,
                                  int limitWidth, int limitHeight);

    ScaledFrame scaled_;
    ScratchSnapshot scratch_;
    Picture picture_;  // Pic_K: what the scratch file gave back
    bool hasPicture_ = false;
};

}  // namespace kineloop
