// Where the planes of one decoded sample lie, and the colour coefficients of its conversion.
#include "video/sample_planes.h"

#include <algorithm>

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

// Luma plane, then one plane of interleaved chroma pairs at the same pitch.
bool IsSemiPlanar(SampleLayout layout) {
    return layout == SampleLayout::Nv12 || layout == SampleLayout::P010;
}

// The planes of a frame of this size and (positive) pitch, its first plane `lines` rows high,
// under one arrangement; false when the arrangement does not apply or the pitch is too short for
// a row.
bool Arrange(SampleLayout layout, int64_t width, int64_t lines, int64_t pitch,
             Arrangement arrangement, Planes& planes) {
    planes = Planes{};
    planes.pitch = pitch;
    planes.lines = lines;
    const int64_t chromaWidth = (width + 1) / 2;
    if (IsSinglePlane(layout)) {
        if (arrangement != Arrangement::HalfPitch)
            return false;
        const int64_t row = layout == SampleLayout::Rgb32 ? 4 * width : 4 * chromaWidth;
        planes.total = pitch * lines;
        planes.needed = pitch * (lines - 1) + row;
        return pitch >= row;
    }
    const int64_t chromaLines = (lines + 1) / 2;
    planes.chromaLines = chromaLines;
    const bool oddLines = arrangement == Arrangement::HalfPitchOddLines;
    if (oddLines && lines % 2 == 0)
        return false;  // the same as HalfPitch
    const int64_t lumaLines = oddLines ? lines : RoundUp(lines, 2);
    planes.firstChroma = pitch * lumaLines;
    if (IsSemiPlanar(layout)) {
        if (arrangement == Arrangement::RowsPaddedTo4)
            return false;  // the same as HalfPitch at a pitch of the width padded to 4
        const int64_t chromaRow = (layout == SampleLayout::P010 ? 4 : 2) * chromaWidth;
        planes.chromaPitch = pitch;
        planes.total = planes.firstChroma + pitch * chromaLines;
        planes.needed = planes.total - pitch + chromaRow;
        return pitch >= chromaRow;
    }
    if (arrangement == Arrangement::RowsPaddedTo4) {
        if (pitch != RoundUp(width, 4))
            return false;
        planes.chromaPitch = RoundUp(chromaWidth, 4);
    } else {
        planes.chromaPitch = pitch / 2;
    }
    planes.secondChroma = planes.firstChroma + planes.chromaPitch * chromaLines;
    planes.total = planes.secondChroma + planes.chromaPitch * chromaLines;
    planes.needed = planes.total - planes.chromaPitch + chromaWidth;
    return pitch >= width && planes.chromaPitch >= chromaWidth;
}

bool SamePlanes(const Planes& a, const Planes& b) {
    return a.pitch == b.pitch && a.chromaPitch == b.chromaPitch && a.firstChroma == b.firstChroma &&
           a.secondChroma == b.secondChroma;
}

// The planes of an arrangement with more rows than `height` that fill exactly `size` bytes: the
// planes grow by the same bytes with every two rows. False when no number of rows does.
bool MoreLinesFilling(SampleLayout layout, int64_t width, int64_t height, int64_t pitch,
                      uint64_t size, Arrangement arrangement, Planes& planes) {
    int64_t base = height + 1;
    if (arrangement == Arrangement::HalfPitchOddLines && base % 2 == 0)
        ++base;
    Planes next;
    if (size > static_cast<uint64_t>(INT64_MAX) ||
        !Arrange(layout, width, base, pitch, arrangement, planes) ||
        !Arrange(layout, width, base + 2, pitch, arrangement, next))
        return false;
    const int64_t step = next.total - planes.total;
    const int64_t more = static_cast<int64_t>(size) - planes.total;
    if (step <= 0 || more < 0 || more % step != 0 || base + 2 * (more / step) > kMaxFrameSide)
        return false;
    return Arrange(layout, width, base + 2 * (more / step), pitch, arrangement, planes);
}

// The one layout of a frame of `height` rows at `pitch` that a sample of `size` bytes has. Rows
// past a single plane's frame are below its picture and never read; a frame with chroma planes is
// taken exactly as its bytes lay it out (the frame's rows, else more rows), else with less than a
// row to spare. False when no layout, or several, fit.
bool ChoosePlanes(SampleLayout layout, int64_t width, int64_t height, int64_t pitch, uint64_t size,
                  Planes& chosen) {
    if (IsSinglePlane(layout))
        return Arrange(layout, width, height, pitch, Arrangement::HalfPitch, chosen) &&
               static_cast<uint64_t>(chosen.needed) <= size;
    for (Arrangement arrangement : kArrangements) {
        if (Arrange(layout, width, height, pitch, arrangement, chosen) &&
            static_cast<uint64_t>(chosen.total) == size)
            return true;
    }
    const auto fits = [&](Arrangement arrangement, bool moreLines, Planes& planes) {
        if (moreLines)
            return MoreLinesFilling(layout, width, height, pitch, size, arrangement, planes);
        return Arrange(layout, width, height, pitch, arrangement, planes) &&
               static_cast<uint64_t>(planes.needed) <= size &&
               size < static_cast<uint64_t>(planes.total + pitch);
    };
    for (bool moreLines : {true, false}) {
        int found = 0;
        for (Arrangement arrangement : kArrangements) {
            Planes planes;
            if (fits(arrangement, moreLines, planes) &&
                (found == 0 || !SamePlanes(planes, chosen))) {
                chosen = planes;
                ++found;
            }
        }
        if (found > 0)
            return found == 1;
    }
    return false;
}

// The bytes of the first plane's row of pixels.
int64_t RowBytes(SampleLayout layout, int64_t width) {
    switch (layout) {
        case SampleLayout::Rgb32:
            return 4 * width;
        case SampleLayout::Yuy2:
        case SampleLayout::P010:
            return 4 * ((width + 1) / 2);
        case SampleLayout::Nv12:
            return 2 * ((width + 1) / 2);
        default:
            return width;
    }
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

// The fixed-point factors of one matrix and range.
struct Coefficients {
    int32_t yMul, yOffset, rV, gU, gV, bU;
};

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

namespace {

ColourTables MakeTables(const Coefficients& k) {
    ColourTables t{};
    for (int32_t value = 0; value < 256; ++value) {
        const int32_t centred = value - 128;
        t.luma[value] = (value - k.yOffset) * k.yMul + (1 << 15);
        t.blue[value] = k.bU * centred;
        t.green[value] = -k.gU * centred;
        t.greenV[value] = -k.gV * centred;
        t.red[value] = k.rV * centred;
    }
    return t;
}

}  // namespace

const ColourTables& ColourTablesFor(YuvMatrix matrix, YuvRange range) {
    static const ColourTables tables[] = {MakeTables(kBt601Limited), MakeTables(kBt601Full),
                                          MakeTables(kBt709Limited), MakeTables(kBt709Full)};
    return tables[(matrix == YuvMatrix::Bt709 ? 2 : 0) + (range == YuvRange::Full ? 1 : 0)];
}

int32_t PitchFromLength(SampleLayout layout, int32_t width, int32_t height, size_t bytes) {
    if (width < 1 || height < 1 || width > kMaxFrameSide || height > kMaxFrameSide)
        return 0;
    const uint64_t size = bytes;
    if (size > static_cast<uint64_t>(INT32_MAX) * 2 * kMaxFrameSide)
        return 0;  // more than any pitch a 32-bit value can give
    // Only a pitch that rounds a row up to a power of two, as every platform aligns its rows: any
    // pitch would let some lengths fit two layouts (a 61 x 1 NV12 in 192 bytes: two luma rows of
    // 64, or one of 96).
    const int64_t row = RowBytes(layout, width);
    const auto aligned = [row](int64_t pitch) {
        for (int64_t to = 1; to <= pitch; to *= 2) {
            if (RoundUp(row, to) == pitch)
                return true;
        }
        return false;
    };
    int64_t found = 0;
    Planes first;
    for (Arrangement arrangement : kArrangements) {
        const int64_t pitch = PitchGuess(layout, width, height, size, arrangement);
        Planes planes;
        if (pitch > 0 && pitch <= INT32_MAX && aligned(pitch) &&
            Arrange(layout, width, height, pitch, arrangement, planes) &&
            static_cast<uint64_t>(planes.total) == size) {
            if (found != 0 && !SamePlanes(planes, first))
                return 0;
            found = pitch;
            first = planes;
        }
    }
    return static_cast<int32_t>(found);
}

bool AreaWithin(const PictureArea& area, int32_t width, int32_t height) {
    return area.width > 0 && area.height > 0 && area.x >= 0 && area.y >= 0 &&
           int64_t{area.x} + area.width <= width && int64_t{area.y} + area.height <= height;
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
    planes.fieldChroma = sample.fields != FieldOrder::Progressive && !IsSinglePlane(sample.layout);
    planes.picture =
        AreaWithin(sample.area, width, height) ? sample.area : PictureArea{0, 0, width, height};
    return true;
}

// The source row `y` of a YUV sample.
YuvRow RowOf(const uint8_t* data, SampleLayout layout, const Planes& planes, int32_t y) {
    const uint8_t* luma = data + planes.pitch * y;
    int64_t chromaLine = y / 2;
    if (planes.fieldChroma)  // each field's own chroma rows, every other one of the frame
        chromaLine = std::min<int64_t>((y >> 2) << 1 | (y & 1), planes.chromaLines - 1);
    const uint8_t* first = data + planes.firstChroma + planes.chromaPitch * chromaLine;
    const uint8_t* second = data + planes.secondChroma + planes.chromaPitch * chromaLine;
    switch (layout) {
        case SampleLayout::Nv12:
            return {luma, first, first + 1, 1, 2};
        case SampleLayout::P010:  // the high byte of each little-endian sample
            return {luma + 1, first + 1, first + 3, 2, 4};
        case SampleLayout::I420:
            return {luma, first, second, 1, 1};
        case SampleLayout::Yv12:
            return {luma, second, first, 1, 1};
        default:  // Yuy2
            return {luma, luma + 1, luma + 3, 2, 4};
    }
}

}  // namespace kineloop
