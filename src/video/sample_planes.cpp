// Where the planes of one decoded sample lie, and the colour coefficients of its conversion.
#include "video/sample_planes.h"

#include "video/frame_format.h"

namespace kineloop {

namespace {

constexpr int64_t RoundUp(int64_t value, int64_t to) {
    return (value + to - 1) / to * to;
}

// The ways the platforms arrange the planes of a 4:2:0 sample, in the order they are tried.
// Windows documents chroma rows of half the luma pitch after a luma plane of an even number of
// lines. Wine pads every plane's rows to 4 bytes instead, which differs from half the luma pitch
// for some widths (354: luma 356, chroma 180). A sample of odd height whose bytes hold only
// `height` luma lines is taken as such, last.
enum class Arrangement { HalfPitch, RowsPaddedTo4, HalfPitchOddLines };
constexpr Arrangement kArrangements[] = {Arrangement::HalfPitch, Arrangement::RowsPaddedTo4,
                                         Arrangement::HalfPitchOddLines};

bool IsSinglePlane(SampleLayout layout) {
    return layout == SampleLayout::Yuy2 || layout == SampleLayout::Rgb32;
}

// The planes of a sample of this size and (positive) pitch under one arrangement; false when the
// arrangement does not apply or the pitch is too short for a row.
bool Arrange(SampleLayout layout, int64_t width, int64_t height, int64_t pitch,
             Arrangement arrangement, Planes& planes) {
    planes = Planes{};
    planes.pitch = pitch;
    const int64_t chromaWidth = (width + 1) / 2;
    if (IsSinglePlane(layout)) {
        if (arrangement != Arrangement::HalfPitch)
            return false;
        const int64_t row = layout == SampleLayout::Rgb32 ? 4 * width : 4 * chromaWidth;
        planes.total = pitch * height;
        planes.needed = pitch * (height - 1) + row;
        return pitch >= row;
    }
    const int64_t chromaHeight = (height + 1) / 2;
    const bool oddLines = arrangement == Arrangement::HalfPitchOddLines;
    if (oddLines && height % 2 == 0)
        return false;  // the same as HalfPitch
    const int64_t lumaLines = oddLines ? height : RoundUp(height, 2);
    planes.firstChroma = pitch * lumaLines;
    if (layout == SampleLayout::Nv12) {
        if (arrangement == Arrangement::RowsPaddedTo4)
            return false;  // the same as HalfPitch at a pitch of the width padded to 4
        planes.chromaPitch = pitch;
        planes.total = planes.firstChroma + pitch * chromaHeight;
        planes.needed = planes.total - pitch + 2 * chromaWidth;
        return pitch >= 2 * chromaWidth;
    }
    if (arrangement == Arrangement::RowsPaddedTo4) {
        if (pitch != RoundUp(width, 4))
            return false;
        planes.chromaPitch = RoundUp(chromaWidth, 4);
    } else {
        planes.chromaPitch = pitch / 2;
    }
    planes.secondChroma = planes.firstChroma + planes.chromaPitch * chromaHeight;
    planes.total = planes.secondChroma + planes.chromaPitch * chromaHeight;
    planes.needed = planes.total - planes.chromaPitch + chromaWidth;
    return pitch >= width && planes.chromaPitch >= chromaWidth;
}

// The arrangement whose size is exactly the sample's, else the first that the sample holds.
bool ChoosePlanes(SampleLayout layout, int64_t width, int64_t height, int64_t pitch, uint64_t bytes,
                  Planes& chosen) {
    bool found = false;
    for (Arrangement arrangement : kArrangements) {
        Planes planes;
        if (!Arrange(layout, width, height, pitch, arrangement, planes) ||
            static_cast<uint64_t>(planes.needed) > bytes)
            continue;
        if (static_cast<uint64_t>(planes.total) == bytes) {
            chosen = planes;
            return true;
        }
        if (!found)
            chosen = planes;
        found = true;
    }
    return found;
}

// The pitch an arrangement would need for a sample of `bytes` bytes (to be checked by Arrange).
int64_t PitchGuess(SampleLayout layout, int64_t width, int64_t height, uint64_t bytes,
                   Arrangement arrangement) {
    const int64_t size = static_cast<int64_t>(bytes);
    if (IsSinglePlane(layout))
        return size / height;
    if (arrangement == Arrangement::RowsPaddedTo4)
        return RoundUp(width, 4);
    const int64_t lumaLines =
        arrangement == Arrangement::HalfPitchOddLines ? height : RoundUp(height, 2);
    // Nv12: pitch x (luma lines + chroma lines); planar: the same with two half-pitch planes.
    return size / (lumaLines + (height + 1) / 2);
}

constexpr int32_t Fixed(double value) {
    return static_cast<int32_t>(value * 65536.0 + 0.5);
}

constexpr Coefficients MakeCoefficients(double kr, double kb, bool full) {
    const double lumaScale = full ? 1.0 : 255.0 / 219.0;
    const double chromaScale = full ? 1.0 : 255.0 / 224.0;
    const double kg = 1.0 - kr - kb;
    return {Fixed(lumaScale),
            full ? 0 : 16,
            Fixed(chromaScale * 2 * (1 - kr)),
            Fixed(chromaScale * 2 * (1 - kb) * kb / kg),
            Fixed(chromaScale * 2 * (1 - kr) * kr / kg),
            Fixed(chromaScale * 2 * (1 - kb))};
}

constexpr Coefficients kBt601Limited = MakeCoefficients(0.299, 0.114, false);
constexpr Coefficients kBt601Full = MakeCoefficients(0.299, 0.114, true);
constexpr Coefficients kBt709Limited = MakeCoefficients(0.2126, 0.0722, false);
constexpr Coefficients kBt709Full = MakeCoefficients(0.2126, 0.0722, true);

}  // namespace

const Coefficients& CoefficientsFor(YuvMatrix matrix, YuvRange range) {
    const bool full = range == YuvRange::Full;
    if (matrix == YuvMatrix::Bt709)
        return full ? kBt709Full : kBt709Limited;
    return full ? kBt601Full : kBt601Limited;
}

int32_t PitchFromLength(SampleLayout layout, int32_t width, int32_t height, size_t bytes) {
    if (width < 1 || height < 1 || width > kMaxFrameSide || height > kMaxFrameSide)
        return 0;
    const uint64_t size = bytes;
    if (size > static_cast<uint64_t>(INT32_MAX) * 2 * kMaxFrameSide)
        return 0;  // more than any pitch a 32-bit value can give
    for (Arrangement arrangement : kArrangements) {
        const int64_t pitch = PitchGuess(layout, width, height, size, arrangement);
        Planes planes;
        if (pitch > 0 && pitch <= INT32_MAX &&
            Arrange(layout, width, height, pitch, arrangement, planes) &&
            static_cast<uint64_t>(planes.total) == size)
            return static_cast<int32_t>(pitch);
    }
    return 0;
}

bool LocatePlanes(const SampleView& sample, Planes& planes) {
    const int32_t width = sample.width;
    const int32_t height = sample.height;
    if (!sample.data || width < 1 || height < 1 || width > kMaxFrameSide || height > kMaxFrameSide)
        return false;
    int64_t pitch = sample.pitch;
    if (pitch == 0)
        pitch = PitchFromLength(sample.layout, width, height, sample.bytes);
    if (pitch == 0 || (pitch < 0 && sample.layout != SampleLayout::Rgb32))
        return false;
    const bool bottomUp = pitch < 0;
    if (!ChoosePlanes(sample.layout, width, height, bottomUp ? -pitch : pitch, sample.bytes,
                      planes))
        return false;
    planes.bottomUp = bottomUp;
    return true;
}

// The source row `y` of a YUV sample.
YuvRow RowOf(const uint8_t* data, SampleLayout layout, const Planes& planes, int32_t y) {
    const uint8_t* luma = data + planes.pitch * y;
    const uint8_t* first = data + planes.firstChroma + planes.chromaPitch * (y / 2);
    const uint8_t* second = data + planes.secondChroma + planes.chromaPitch * (y / 2);
    switch (layout) {
        case SampleLayout::Nv12:
            return {luma, first, first + 1, 1, 2};
        case SampleLayout::I420:
            return {luma, first, second, 1, 1};
        case SampleLayout::Yv12:
            return {luma, second, first, 1, 1};
        default:  // Yuy2
            return {luma, luma + 1, luma + 3, 2, 4};
    }
}

}  // namespace kineloop
