// Twips (1/1440 inch), the unit in which windows are placed and sized, and pixels.
#pragma once

#include <cstdint>

namespace kineloop {

// A side in pixels as twips (rounded to 16 bits), or 0 when it does not fit.
int16_t PixelsToTwips(int32_t pixels, int32_t twipsPerPixel);

// A side in twips as pixels at `twipsPerPixel`; 0 when the factor is unusable (never divides by
// zero: a screen above 1440 dots per inch gives a factor of 0).
int32_t TwipsToPixels(int32_t twips, int32_t twipsPerPixel);

// The screen's twips per pixel from its dots per inch; 15 (96 dots per inch) when unknown.
int32_t TwipsPerPixel(int32_t dotsPerInch);

}  // namespace kineloop
