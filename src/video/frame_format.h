// The frame size of a video stream and the 24-bit format the reader asks the decoder for.
#pragma once

#include <cstdint>

#include "bitmap/dib.h"

namespace kineloop {

// Sides beyond this are refused before a decoder is opened (16384 covers every real video).
inline constexpr int32_t kMaxFrameSide = 16384;

struct FrameFormat {
    int32_t FrameWidth = 0;
    int32_t FrameHeight = 0;
    DibHeader RequestedFormat{};  // all zero until it could be computed
};

// Computes width = right - left, height = bottom - top and the requested format from the stream's
// frame rectangle. Each value is computed in turn; at the first 32-bit overflow the computation
// stops and the values not yet set keep what `into` held. Returns whether all were set.
bool ComputeFrameFormat(int32_t left, int32_t top, int32_t right, int32_t bottom,
                        FrameFormat& into);

// Whether a decoder may be opened for `requested`: a positive size no larger than kMaxFrameSide on
// either side and kMaxImageBytes in all; larger sizes would have the platform allocate gigabytes.
bool FitsDecoder(const DibHeader& requested);

}  // namespace kineloop
