// The way of every frame shown: stretched first, then through the scratch file, then drawn.
#include "frames/frame_route_win32.h"

#include "frames/scaled_picture.h"

namespace kineloop {

std::optional<FrameRoute::Result> FrameRoute::Stretch(const void* packed, size_t availableBytes,
                                                      int width, int height, int limitWidth,
                                                      int limitHeight) {
    const std::optional<DibHeader> frame = AcceptPackedFrame(packed, availableBytes);
    if (!frame)
        return Result::kRefused;
    const std::optional<PictureSize> kept = KeptPictureSize(width, height, limitWidth, limitHeight);
    if (!kept)
        return Result::kKeptPrevious;
    const auto* rows = static_cast<const uint8_t*>(packed) + kDibHeaderBytes;
    if (!scaled_.Stretch(*frame, rows, width, height, kept->width, kept->height))
        return Result::kKeptPrevious;
    return std::nullopt;
}

FrameRoute::Result FrameRoute::Take(const void* packed, size_t availableBytes, int width,
                                    int height, int limitWidth, int limitHeight,
                                    const std::function<void()>& doneWithFrame) {
    const std::optional<Result> notStretched =
        Stretch(packed, availableBytes, width, height, limitWidth, limitHeight);
    if (doneWithFrame)
        doneWithFrame();
    if (notStretched)
        return *notStretched;
    const DibHeader& picture = scaled_.Header();
    switch (scratch_.PassThrough(BitmapFileHeaders(picture), scaled_.Rows(), picture.biSizeImage,
                                 picture_)) {
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
