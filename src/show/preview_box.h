// How the preview box's size, handed over in twips, becomes pixels for the preview window and
// its image.
#pragma once

#include <cstdint>

namespace kineloop {

// A side in twips as pixels at `twipsPerPixel`; 0 when the factor is unusable (never divides by
// zero: a screen above 1440 dots per inch gives a factor of 0).
int32_t TwipsToPixels(int32_t twips, int32_t twipsPerPixel);

}  // namespace kineloop
