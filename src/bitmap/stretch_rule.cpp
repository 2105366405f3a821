// The platform's COLORONCOLOR choice of source pixel, as measured with StretchDIBits.
#include "bitmap/stretch_rule.h"

namespace kineloop {

int32_t StretchSource(int32_t source, int32_t stretched, int32_t index, StretchAxis axis) {
    const int64_t s = source, d = stretched, i = index;
    // Enlarging (and a copy of equal size) takes the pixel under the destination pixel's centre,
    // rounded down, on both axes.
    if (d >= s)
        return static_cast<int32_t>(((2 * i + 1) * s - 1) / (2 * d));
    // Shrinking takes the source pixel nearest to i * s / d counted from the first pixel of the
    // bitmap's memory: rows from the top with ties going down, columns from the right with ties
    // going right.
    if (axis == StretchAxis::Down)
        return static_cast<int32_t>((2 * i * s + d) / (2 * d));
    return static_cast<int32_t>(s - 1 - (2 * (d - 1 - i) * s + d - 1) / (2 * d));
}

}  // namespace kineloop
