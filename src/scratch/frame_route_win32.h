// The way of every frame shown, by the show and by the settings dialog's thumbnail alike: the
// decoded frame is stretched to the size it is shown at first, and only that picture goes through
// the scratch file, so the file's cost does not grow with the video.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include <windows.h>

#include "scratch/stretched_frame_win32.h"
#include "scratch/scratch_file_win32.h"

namespace kineloop {

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
    ScratchFile scratch_;
    Picture picture_;  // Pic_K: what the scratch file gave back
    bool hasPicture_ = false;
};

}  // namespace kineloop
