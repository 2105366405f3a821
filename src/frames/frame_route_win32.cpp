// The way of every frame shown: stretched first, then through the scratch file, then drawn.
#include "frames/frame_route_win32.h"

#include "frames/scaled_picture.h"

namespace kineloop {

void StretchedFrame::Make(const void* packed, size_t availableBytes, const TileShape& shape) {
    shape_ = shape;
    notStretched_ = FrameRoute::Result::kRefused;
    const std::optional<DibHeader> frame = AcceptPackedFrame(packed, availableBytes);
    if (!frame)
        return;
    notStretched_ = FrameRoute::Result::kKeptPrevious;
    const std::optional<PictureSize> kept =
        KeptPictureSize(shape.width, shape.height, shape.limitWidth, shape.limitHeight);
    if (!kept)
        return;
    const auto* rows = static_cast<const uint8_t*>(packed) + kDibHeaderBytes;
    if (scaled_.Stretch(*frame, rows, shape.width, shape.height, kept->width, kept->height))
        notStretched_.reset();
}

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
    if (frame.notStretched_)
        return *frame.notStretched_;
    const DibHeader& picture = frame.scaled_.Header();
    switch (scratch_.PassThrough(BitmapFileHeaders(picture), frame.scaled_.Rows(),
                                 picture.biSizeImage, picture_)) {
        case ScratchSnapshot::Trip::kNoPlace:
            return Result::kNoPlace;
        case ScratchSnapshot::Trip::kNotReadBack:
            return Result::kKeptPrevious;
        case ScratchSnapshot::Trip::kReadBack:
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
