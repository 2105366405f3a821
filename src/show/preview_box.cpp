// How the preview box's size, handed over in twips, becomes pixels for the preview window and
// its image.
#include "show/preview_box.h"

namespace kineloop {

int32_t TwipsToPixels(int32_t twips, int32_t twipsPerPixel) {
    if (twipsPerPixel <= 0 || twips <= 0)
        return 0;
    return twips / twipsPerPixel;
}

}  // namespace kineloop
