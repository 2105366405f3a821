// Decoded video samples (8- and 10-bit 4:2:0 and 4:2:2 YUV or 32-bit RGB, as a Media Foundation
// reader hands them over) turned into the packed 24-bit bottom-up bitmap the rest of the program
// takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "video/sample_planes.h"

namespace kineloop {

// Whether a picture of this size is high definition: its colours are then taken as BT.709 when
// the file does not say, and as BT.601 otherwise.
bool IsHighDefinition(int32_t width, int32_t height);

// Size shown after turning by `rotation` (the platform's MF_MT_VIDEO_ROTATION value in degrees).
void RotatedSize(int32_t width, int32_t height, uint32_t rotation, int32_t& outWidth,
                 int32_t& outHeight);

// The sample's picture area shown upright (turned by `rotation`) as a packed 24-bit bottom-up DIB:
// the 40-byte header (frames/dib.h) followed by rows padded to 4 bytes, into `dib` (resized).
// False, with nothing read outside the sample, when the sizes do not fit the bytes or exceed the
// limits
// (`dib` is then empty).
bool SampleToPackedDib(const SampleView& sample, uint32_t rotation, std::vector<uint8_t>& dib);

}  // namespace kineloop
