// Twips and pixels.
#include "platform/twips.h"

#include "platform/numbers.h"

namespace kineloop {

int16_t PixelsToTwips(int32_t pixels, int32_t twipsPerPixel) {
    return FitInto<int16_t>(RoundHalfEven(static_cast<double>(pixels) * twipsPerPixel)).value_or(0);
}

int32_t TwipsToPixels(int32_t twips, int32_t twipsPerPixel) {
    if (twipsPerPixel <= 0 || twips <= 0)
        return 0;
    return twips / twipsPerPixel;
}

int32_t TwipsPerPixel(int32_t dotsPerInch) {
    return dotsPerInch > 0 ? 1440 / dotsPerInch : 15;
}

}  // namespace kineloop
