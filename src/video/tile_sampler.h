// A decoded frame sampled straight into its tile picture, from the decoder's own buffer: only the
// pixels the tile shows are converted, each exactly as the whole-frame conversion followed by a
// COLORONCOLOR stretch would give it.
#pragma once

#include <cstdint>

#include "bitmap/tile_image.h"
#include "video/frame_source.h"

namespace kineloop {

// Whether `frame` can be sampled: a packed bitmap that AcceptPackedFrame takes, or a sample
// whose planes fit its bytes.
bool FrameSamplable(const DecodedFrame& frame);

// Writes every pixel of `tile` (already sized to the part kept) as the frame's picture, turned
// upright, stretched to stretchWidth x stretchHeight shows it from its top-left corner; of an
// interlaced frame, only its first field is stretched so. False, with
// nothing read outside the frame, when the frame is not samplable or the stretch is smaller than
// the tile.
bool SampleFrameToTile(const DecodedFrame& frame, int32_t stretchWidth, int32_t stretchHeight,
                       TileImage& tile);

}  // namespace kineloop
