// Decoded video samples (4:2:0 and 4:2:2 YUV or 32-bit RGB, as a Media Foundation reader hands
// them over) turned into the packed 24-bit bottom-up bitmap the rest of the program takes.
#include "video/yuv_to_dib.h"

#include "bitmap/dib.h"
#include "video/frame_format.h"

namespace kineloop {

bool IsHighDefinition(int32_t width, int32_t height) {
    return width > 1024 || height > 576;
}

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

// Where the planes of one sample lie, in bytes from its start.
struct Planes {
    int64_t pitch = 0;        // of the first plane
    int64_t chromaPitch = 0;  // of the 4:2:0 chroma plane(s)
    int64_t firstChroma = 0;  // the UV plane (Nv12), the U plane (I420), the V plane (Yv12)
    int64_t secondChroma = 0;
    int64_t total = 0;   // every row of every plane padded
    int64_t needed = 0;  // up to the picture's last byte (the last row may be cut after it)
};

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

// YUV to RGB in 16-bit fixed point: R = yMul (Y - yOffset) + rV (V - 128), and so on.
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

const Coefficients& CoefficientsFor(YuvMatrix matrix, YuvRange range) {
    const bool full = range == YuvRange::Full;
    if (matrix == YuvMatrix::Bt709)
        return full ? kBt709Full : kBt709Limited;
    return full ? kBt601Full : kBt601Limited;
}

inline uint8_t Clamp(int32_t value) {
    return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// One source row of a YUV sample: Y at y[x * yStep], its chroma at u and v[(x / 2) * chromaStep].
struct YuvRow {
    const uint8_t* y;
    const uint8_t* u;
    const uint8_t* v;
    int yStep;
    int chromaStep;
};

// Writes the row's pixels as B, G, R triples `step` bytes apart from `out` on.
void ConvertYuvRow(const YuvRow& row, int32_t width, const Coefficients& k, uint8_t* out,
                   ptrdiff_t step) {
    for (int32_t x = 0; x < width; ++x) {
        const int32_t chroma = (x >> 1) * row.chromaStep;
        const int32_t d = row.u[chroma] - 128;
        const int32_t e = row.v[chroma] - 128;
        const int32_t luma = (row.y[x * row.yStep] - k.yOffset) * k.yMul + (1 << 15);
        out[0] = Clamp((luma + k.bU * d) >> 16);
        out[1] = Clamp((luma - k.gU * d - k.gV * e) >> 16);
        out[2] = Clamp((luma + k.rV * e) >> 16);
        out += step;
    }
}

void ConvertRgb32Row(const uint8_t* row, int32_t width, uint8_t* out, ptrdiff_t step) {
    for (int32_t x = 0; x < width; ++x) {
        out[0] = row[4 * x];
        out[1] = row[4 * x + 1];
        out[2] = row[4 * x + 2];
        out += step;
    }
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

}  // namespace

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

void RotatedSize(int32_t width, int32_t height, uint32_t rotation, int32_t& outWidth,
                 int32_t& outHeight) {
    const uint32_t turn = rotation % 360;
    const bool sideways = turn == 90 || turn == 270;
    outWidth = sideways ? height : width;
    outHeight = sideways ? width : height;
}

bool SampleToPackedDib(const SampleView& sample, uint32_t rotation, std::vector<uint8_t>& dib) {
    dib.clear();
    const int32_t width = sample.width;
    const int32_t height = sample.height;
    if (!sample.data || width < 1 || height < 1 || width > kMaxFrameSide || height > kMaxFrameSide)
        return false;
    const SampleLayout layout = sample.layout;
    int64_t pitch = sample.pitch;
    if (pitch == 0)
        pitch = PitchFromLength(layout, width, height, sample.bytes);
    if (pitch == 0 || (pitch < 0 && layout != SampleLayout::Rgb32))
        return false;
    const bool bottomUp = pitch < 0;
    Planes planes;
    if (!ChoosePlanes(layout, width, height, bottomUp ? -pitch : pitch, sample.bytes, planes))
        return false;

    DibHeader header;
    header.biSize = kDibHeaderBytes;
    RotatedSize(width, height, rotation, header.biWidth, header.biHeight);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = kBiRgb;
    const std::optional<uint32_t> pixelBytes = DibPixelBytes(header);
    if (!pixelBytes)
        return false;
    header.biSizeImage = *pixelBytes;
    dib.assign(kDibHeaderBytes + *pixelBytes, 0);
    EncodeDibHeader(header, dib.data());

    // Source pixel (x, y), y from the top, goes to origin + y * rowStep + x * pixelStep of the
    // bottom-up picture: turned clockwise by the angle the content was turned counter-clockwise.
    const ptrdiff_t stride = static_cast<ptrdiff_t>(*DibRowBytes(header.biWidth, 24));
    const ptrdiff_t w = width;
    const ptrdiff_t h = height;
    ptrdiff_t origin = (h - 1) * stride, rowStep = -stride, pixelStep = 3;
    switch (rotation % 360) {
        case 90:
            origin = (w - 1) * stride + 3 * (h - 1), rowStep = -3, pixelStep = -stride;
            break;
        case 180:
            origin = 3 * (w - 1), rowStep = stride, pixelStep = -3;
            break;
        case 270:
            origin = 0, rowStep = 3, pixelStep = stride;
            break;
        default:
            break;
    }

    uint8_t* pixels = dib.data() + kDibHeaderBytes + origin;
    const Coefficients& k = CoefficientsFor(sample.matrix, sample.range);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = pixels + rowStep * y;
        if (layout == SampleLayout::Rgb32) {
            const int64_t row = bottomUp ? height - 1 - y : y;
            ConvertRgb32Row(sample.data + planes.pitch * row, width, out, pixelStep);
        } else {
            ConvertYuvRow(RowOf(sample.data, layout, planes, y), width, k, out, pixelStep);
        }
    }
    return true;
}

}  // namespace kineloop
