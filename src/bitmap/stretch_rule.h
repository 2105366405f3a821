// Which source pixel each pixel of a stretched picture takes: the platform's rule for a stretch
// with COLORONCOLOR, measured, so that a picture sampled here is the picture GDI would draw.
#pragma once

#include <cstdint>

namespace kineloop {

// Across: columns counted from the left. Down: rows counted from the top. The platform shrinks
// rows from the bottom of the bitmap up, so the two axes round ties the other way when shrinking.
enum class StretchAxis { Across, Down };

// The source pixel, counted the same way, that pixel `index` (0 to stretched - 1) of a line of
// `source` pixels stretched to `stretched` takes. Both lengths are at least 1.
int32_t StretchSource(int32_t source, int32_t stretched, int32_t index, StretchAxis axis);

}  // namespace kineloop
