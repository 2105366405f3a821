// The picture a frame becomes for its tile: 24-bit rows, bottom-up, each padded to 4 bytes,
// written in place by the samplers and kept from frame to frame so that no frame allocates.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap/dib.h"
#include "bitmap/stretch_rule.h"

namespace kineloop {

class TileImage {
  public:
    // Makes room for width x height pixels (each side at least 1), keeping the storage when the
    // size is the same; false, with no room, for a picture above kMaxImageBytes.
    bool Resize(int32_t width, int32_t height);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint32_t Stride() const { return stride_; }
    uint8_t* Rows() { return rows_.data(); }
    const uint8_t* Rows() const { return rows_.data(); }
    // The B, G, R bytes of pixel `x` on row `y` counted from the top.
    uint8_t* RowFromTop(int32_t y) { return rows_.data() + size_t{stride_} * (height_ - 1 - y); }

    // The source column of each of the Width() columns of a line of `source` pixels stretched to
    // `stretched` (StretchSource across); worked out once a frame, into storage kept.
    const std::vector<int32_t>& Columns(int32_t source, int32_t stretched);

  private:
    int32_t width_ = 0, height_ = 0;
    uint32_t stride_ = 0;
    std::vector<uint8_t> rows_;
    std::vector<int32_t> columns_;
};

}  // namespace kineloop
