// The tile picture's storage, kept from frame to frame.
#include "bitmap/tile_image.h"

namespace kineloop {

bool TileImage::Resize(int32_t width, int32_t height) {
    if (width == width_ && height == height_ && !rows_.empty())
        return true;
    width_ = height_ = 0;
    stride_ = 0;
    rows_.clear();
    const std::optional<uint32_t> stride = DibRowBytes(width, 24);
    if (!stride || height < 1 || uint64_t{*stride} * static_cast<uint64_t>(height) > kMaxImageBytes)
        return false;
    // Padding bytes are never written by a sampler, so they stay zero from here on.
    rows_.assign(size_t{*stride} * static_cast<size_t>(height), 0);
    width_ = width;
    height_ = height;
    stride_ = *stride;
    return true;
}

const std::vector<int32_t>& TileImage::Columns(int32_t source, int32_t stretched) {
    columns_.resize(static_cast<size_t>(width_));
    for (int32_t x = 0; x < width_; ++x)
        columns_[static_cast<size_t>(x)] = StretchSource(source, stretched, x, StretchAxis::Across);
    return columns_;
}

}  // namespace kineloop
