// The way of every frame shown: stretched first, then through the scratch file, then drawn.
#include "scratch/frame_route_win32.h"

#include "scratch/bitmap_file.h"

namespace kineloop {

FrameRoute::FrameRoute() : own_(std::make_unique<StretchedFrame>()) {}

FrameRoute::FrameRoute(ScratchPlaces& places)
    : own_(std::make_unique<StretchedFrame>()), scratch_(places) {}

FrameRoute::~FrameRoute() = default;

FrameRoute::Result FrameRoute::Take(const void* packed, size_t availableBytes, int width,
                                    int height, int limitWidth, int limitHeight) {
    own_->Make(packed, availableBytes, {width, height, limitWidth, limitHeight});
    return Pass(*own_);
}

FrameRoute::Result FrameRoute::Pass(const StretchedFrame& frame) {
    switch (frame.Made()) {
        case StretchedFrame::Outcome::kRefused:
            return Result::kRefused;
        case StretchedFrame::Outcome::kNothingKept:
            return Result::kKeptPrevious;
        case StretchedFrame::Outcome::kStretched:
            break;
    }
    const DibHeader& picture = frame.Header();
    switch (scratch_.PassThrough(BitmapFileHeaders(picture), frame.Rows(), picture.biSizeImage,
                                 picture_)) {
        case ScratchFile::Trip::kNoPlace:
            return Result::kNoPlace;
        case ScratchFile::Trip::kNotReadBack:
            return Result::kKeptPrevious;
        case ScratchFile::Trip::kReadBack:
            break;
    }
    hasPicture_ = true;
    return Result::kReadBack;
}

bool FrameRoute::DrawLast(HDC dc, int x, int y) const {
    if (!hasPicture_)
        return false;
    const int rows =
        picture_.header.biHeight < 0 ? -picture_.header.biHeight : picture_.header.biHeight;
    return StretchPicture(dc, picture_, x, y, picture_.header.biWidth, rows);
}

}  // namespace kineloop
