// A decoded frame sampled straight into its tile picture.
#include "video/tile_sampler.h"

#include "bitmap/packed_frame.h"
#include "bitmap/packed_tile.h"
#include "video/yuv_to_dib.h"

namespace kineloop {

namespace {

// Pixel (column, row) of the upright picture is pixel (x, y) of the sample: the turn that
// SampleToPackedDib makes, undone.
struct Turn {
    uint32_t angle;
    int32_t width, height;  // of the sample

    void Source(int32_t column, int32_t row, int32_t& x, int32_t& y) const {
        switch (angle) {
            case 90:
                x = row, y = height - 1 - column;
                break;
            case 180:
                x = width - 1 - column, y = height - 1 - row;
                break;
            case 270:
                x = width - 1 - row, y = column;
                break;
            default:
                x = column, y = row;
                break;
        }
    }
};

bool SampleToTile(const SampleView& sample, uint32_t rotation, int32_t stretchWidth,
                  int32_t stretchHeight, TileImage& tile) {
    Planes planes;
    if (!LocatePlanes(sample, planes) || tile.Width() < 1 || stretchWidth < tile.Width() ||
        stretchHeight < tile.Height())
        return false;
    int32_t shownWidth = 0, shownHeight = 0;
    RotatedSize(sample.width, sample.height, rotation, shownWidth, shownHeight);
    const Turn turn{rotation % 360, sample.width, sample.height};
    const Coefficients& k = CoefficientsFor(sample.matrix, sample.range);
    const std::vector<int32_t>& columns = tile.Columns(shownWidth, stretchWidth);
    const bool upright = turn.angle != 90 && turn.angle != 270;
    for (int32_t ty = 0; ty < tile.Height(); ++ty) {
        const int32_t row = StretchSource(shownHeight, stretchHeight, ty, StretchAxis::Down);
        uint8_t* out = tile.RowFromTop(ty);
        int32_t x = 0, y = 0;
        turn.Source(0, row, x, y);
        if (upright && sample.layout != SampleLayout::Rgb32) {
            // One source row for the whole tile row: the common case, kept tight.
            const YuvRow line = RowOf(sample.data, sample.layout, planes, y);
            const bool mirrored = turn.angle == 180;
            for (int32_t column : columns) {
                YuvToBgr(line, mirrored ? sample.width - 1 - column : column, k, out);
                out += 3;
            }
            continue;
        }
        for (int32_t column : columns) {
            turn.Source(column, row, x, y);
            if (sample.layout == SampleLayout::Rgb32) {
                const int64_t line = planes.bottomUp ? sample.height - 1 - y : y;
                const uint8_t* in = sample.data + planes.pitch * line + 4 * int64_t{x};
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            } else {
                YuvToBgr(RowOf(sample.data, sample.layout, planes, y), x, k, out);
            }
            out += 3;
        }
    }
    return true;
}

}  // namespace

bool FrameSamplable(const DecodedFrame& frame) {
    if (frame.sample) {
        Planes planes;
        return LocatePlanes(*frame.sample, planes);
    }
    return AcceptPackedFrame(frame.packed, frame.bytes).has_value();
}

bool SampleFrameToTile(const DecodedFrame& frame, int32_t stretchWidth, int32_t stretchHeight,
                       TileImage& tile) {
    if (frame.sample)
        return SampleToTile(*frame.sample, frame.rotation, stretchWidth, stretchHeight, tile);
    const std::optional<DibHeader> header = AcceptPackedFrame(frame.packed, frame.bytes);
    return header &&
           PackedToTile(*header, static_cast<const uint8_t*>(frame.packed) + kDibHeaderBytes,
                        stretchWidth, stretchHeight, tile);
}

}  // namespace kineloop
