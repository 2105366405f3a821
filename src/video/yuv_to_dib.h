// Decoded video samples (4:2:0 and 4:2:2 YUV or 32-bit RGB, as a Media Foundation reader hands
// them over) turned into the packed 24-bit bottom-up bitmap the rest of the program takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kineloop {

// How the bytes of one sample are laid out (Y rows top-down):
// - Nv12: the Y plane, then one plane of interleaved U,V pairs at the same pitch.
// - I420: the Y plane, then the U plane, then the V plane; Yv12: Y, then V, then U.
// - Yuy2: one plane of Y0 U Y1 V groups, two pixels in four bytes.
// - Rgb32: one plane of B G R x quads.
// The 4:2:0 chroma planes have (width+1)/2 x (height+1)/2 samples.
enum class SampleLayout { Nv12, I420, Yv12, Yuy2, Rgb32 };
enum class YuvMatrix { Bt601, Bt709 };
enum class YuvRange { Limited, Full };  // Y 16-235 and U,V 16-240, or all of 0-255

struct SampleView {
    const uint8_t* data = nullptr;
    size_t bytes = 0;  // bytes readable at data
    SampleLayout layout = SampleLayout::Nv12;
    int32_t width = 0, height = 0;  // the picture's size in pixels (odd sizes allowed)
    int32_t pitch = 0;              // bytes per row of the first plane; 0: derive it from
                                    // `bytes`; negative (Rgb32 only): rows bottom-up
    YuvMatrix matrix = YuvMatrix::Bt601;
    YuvRange range = YuvRange::Limited;
};

// Whether a picture of this size is high definition: its colours are then taken as BT.709 when
// the file does not say, and as BT.601 otherwise.
bool IsHighDefinition(int32_t width, int32_t height);

// The first plane's pitch that a sample of `bytes` bytes implies (rows padded by the platform),
// or 0 when no pitch fits.
int32_t PitchFromLength(SampleLayout layout, int32_t width, int32_t height, size_t bytes);

// Size shown after turning by `rotation` (the platform's MF_MT_VIDEO_ROTATION value in degrees).
void RotatedSize(int32_t width, int32_t height, uint32_t rotation, int32_t& outWidth,
                 int32_t& outHeight);

// The sample shown upright (turned by `rotation`) as a packed 24-bit bottom-up DIB: the 40-byte
// header (frames/dib.h) followed by rows padded to 4 bytes, into `dib` (resized). False, with
// nothing read outside the sample, when the sizes do not fit the bytes or exceed the limits
// (`dib` is then empty).
bool SampleToPackedDib(const SampleView& sample, uint32_t rotation, std::vector<uint8_t>& dib);

}  // namespace kineloop
