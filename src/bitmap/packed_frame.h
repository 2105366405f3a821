// A decoded frame as the readers hand it over: a packed bitmap, a 40-byte header followed by the
// pixel rows, and the rules it must meet before anything reads its rows.
#pragma once

#include <cstddef>
#include <optional>

#include "bitmap/dib.h"

namespace kineloop {

// The frames taken: a packed bitmap of 16 bits per pixel or more, whose header describes exactly
// the uncompressed rows that follow it within `availableBytes`. Its header, or nothing for a frame
// that is refused.
std::optional<DibHeader> AcceptPackedFrame(const void* address, size_t availableBytes);

}  // namespace kineloop
