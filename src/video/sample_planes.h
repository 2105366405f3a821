// Where the planes of one decoded sample lie and how one of its pixels becomes RGB: shared by
// the whole-frame conversion and the tile sampler, so that both give the same colours.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kineloop {

// How the bytes of one sample are laid out (Y rows top-down):
// - Nv12: the Y plane, then one plane of interleaved U,V pairs at the same pitch.
// - I420: the Y plane, then the U plane, then the V plane; Yv12: Y, then V, then U.
// - Yuy2: one plane of Y0 U Y1 V groups, two pixels in four bytes.
// - Rgb32: one plane of B G R x quads.
// - P010: as Nv12 with 16-bit little-endian samples, their 10 bits in the high bits.
// The 4:2:0 chroma planes have (width+1)/2 x (height+1)/2 samples.
enum class SampleLayout { Nv12, I420, Yv12, Yuy2, Rgb32, P010 };
enum class YuvMatrix { Bt601, Bt709 };
enum class YuvRange { Limited, Full };  // Y 16-235 and U,V 16-240, or all of 0-255

// The part of a frame that is picture (a decoder's display aperture), in the frame's pixels.
struct PictureArea {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// Whether `area` is a part of a width x height frame that is not empty.
bool AreaWithin(const PictureArea& area, int32_t width, int32_t height);

// Which rows of a frame belong together: all of them, or two fields woven row by row, the upper
// (even rows) or the lower field shown first.
enum class FieldOrder { Progressive, UpperFirst, LowerFirst };

struct SampleView {
    const uint8_t* data = nullptr;
    size_t bytes = 0;  // bytes readable at data
    SampleLayout layout = SampleLayout::Nv12;
    int32_t width = 0, height = 0;  // the frame's size in pixels, as its planes are laid out for
                                    // (odd sizes allowed)
    int32_t pitch = 0;              // bytes per row of the first plane; 0: derive it from
                                    // `bytes`; negative (Rgb32 only): rows bottom-up
    YuvMatrix matrix = YuvMatrix::Bt601;
    YuvRange range = YuvRange::Limited;
    PictureArea area{};  // what of the frame is picture; the whole frame when not within it
    FieldOrder fields = FieldOrder::Progressive;
};

// The first plane's pitch that a sample of `bytes` bytes implies (rows padded by the platform),
// or 0 unless exactly one arrangement of the planes fits at a pitch that rounds a row up to a
// power of two.
int32_t PitchFromLength(SampleLayout layout, int32_t width, int32_t height, size_t bytes);

// Where the planes of one sample lie, in bytes from its start.
struct Planes {
    int64_t pitch = 0;        // of the first plane (positive; see bottomUp)
    int64_t chromaPitch = 0;  // of the 4:2:0 chroma plane(s)
    int64_t firstChroma = 0;  // the UV plane (Nv12), the U plane (I420), the V plane (Yv12)
    int64_t secondChroma = 0;
    int64_t total = 0;   // every row of every plane padded
    int64_t needed = 0;  // up to the frame's last byte (the last row may be cut after it)
    int64_t lines = 0;   // rows of the first plane: the frame's height, or more (see below)
    int64_t chromaLines = 0;
    bool bottomUp = false;     // Rgb32 rows stored bottom-up (a negative pitch)
    bool fieldChroma = false;  // 4:2:0 chroma rows alternate between two woven fields
    PictureArea picture;       // the part of the frame shown
};

// The planes of `sample`, its pitch taken from its bytes where it gives none. A frame with chroma
// planes after its first is taken as its bytes lay it out: exactly, or exactly with more rows than
// its height (a decoder that reports the picture's height but pads its buffer), or with less than
// a row to spare; never by a guess that could read padding as picture. False when no single
// layout fits the bytes or the sizes exceed the limits. Every pixel of the frame then lies within
// `sample.bytes`.
bool LocatePlanes(const SampleView& sample, Planes& planes);

// One source row of a YUV sample: Y at y[x * yStep], its chroma at u and v[(x / 2) * chromaStep].
struct YuvRow {
    const uint8_t* y;
    const uint8_t* u;
    const uint8_t* v;
    int yStep;
    int chromaStep;
};

// The source row `y` (from the top of the frame) of a located YUV sample; its pixel x is pixel x
// of the frame.
YuvRow RowOf(const uint8_t* data, SampleLayout layout, const Planes& planes, int32_t y);

// YUV to RGB in 16-bit fixed point, R = yMul (Y - yOffset) + rV (V - 128) and so on, as tables
// of every byte value's products, so that a pixel takes table reads and additions (in 65536ths):
// luma[Y] = yMul (Y - yOffset) + 1/2, blue[U] = bU (U - 128), red[V] = rV (V - 128),
// green[U] + greenV[V] = -(gU (U - 128) + gV (V - 128)).
struct ColourTables {
    int32_t luma[256], blue[256], green[256], greenV[256], red[256];
};

const ColourTables& ColourTablesFor(YuvMatrix matrix, YuvRange range);

constexpr uint8_t Clamp(int32_t value) {
    return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// Clamp of every value that a sum of the tables' entries, shifted down, can take (-512 to 1023,
// where they give -290 to 546 at most), at kClampedOffset + value.
constexpr int32_t kClampedOffset = 512;
constexpr size_t kClampedValues = 1536;

constexpr std::array<uint8_t, kClampedValues> MakeClamped() {
    std::array<uint8_t, kClampedValues> clamped{};
    for (size_t i = 0; i < kClampedValues; ++i)
        clamped[i] = Clamp(static_cast<int32_t>(i) - kClampedOffset);
    return clamped;
}

inline constexpr std::array<uint8_t, kClampedValues> kClamped = MakeClamped();

// Pixel `x` of `row` as B, G, R at `out`: Clamp((luma + blue) >> 16) and so on.
inline void YuvToBgr(const YuvRow& row, int32_t x, const ColourTables& t, uint8_t* out) {
    const int32_t chroma = (x >> 1) * row.chromaStep;
    const uint8_t u = row.u[chroma];
    const uint8_t v = row.v[chroma];
    const int32_t luma = t.luma[row.y[x * row.yStep]];
    const uint8_t* clamped = kClamped.data() + kClampedOffset;
    out[0] = clamped[(luma + t.blue[u]) >> 16];
    out[1] = clamped[(luma + t.green[u] + t.greenV[v]) >> 16];
    out[2] = clamped[(luma + t.red[v]) >> 16];
}

}  // namespace kineloop
