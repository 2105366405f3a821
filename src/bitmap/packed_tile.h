// A packed bitmap frame (as AVIFile hands it over) sampled straight into its tile picture, pixel
// for pixel what a COLORONCOLOR stretch of the whole frame would draw there.
#pragma once

#include <cstdint>

#include "bitmap/dib.h"
#include "bitmap/tile_image.h"

namespace kineloop {

// Writes every pixel of `tile` (already sized to the part kept) as the frame stretched to
// stretchWidth x stretchHeight shows it from its top-left corner. `frame` is a header that
// AcceptPackedFrame took and `rows` its pixels. False, with nothing read, for sizes that do not
// hold: a stretch smaller than the tile, or a side below 1.
bool PackedToTile(const DibHeader& frame, const uint8_t* rows, int32_t stretchWidth,
                  int32_t stretchHeight, TileImage& tile);

}  // namespace kineloop
