// Pictures kept as bitmap resources in the program file.
#pragma once

#include <windows.h>

#include "platform/handles_win32.h"

namespace kineloop {

// The bitmap resource `id` of this program as a DIB section; empty when it cannot be loaded.
UniqueBitmap LoadBitmapResource(int id);

// A bitmap's width and height in pixels; 0 x 0 for no bitmap or one GDI cannot describe.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace kineloop
