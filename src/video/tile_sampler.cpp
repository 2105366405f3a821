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
    // The picture sampled: the frame's picture area, or of an interlaced frame one field of it
    // (every other row, from the first field's), so that the tile shows no combing.
    const PictureArea area = planes.picture;
    const bool oneField = sample.fields != FieldOrder::Progressive && area.height > 1;
    const int32_t parity = sample.fields == FieldOrder::LowerFirst ? 1 : 0;  // of frame rows
    const int32_t top = oneField && area.y % 2 != parity ? area.y + 1 : area.y;
    const int32_t rowStep = oneField ? 2 : 1;
    const int32_t rows = oneField ? (area.y + area.height - top + 1) / 2 : area.height;
    int32_t shownWidth = 0, shownHeight = 0;
    RotatedSize(area.width, rows, rotation, shownWidth, shownHeight);
    const Turn turn{rotation % 360, area.width, rows};
    const ColourTables& k = ColourTablesFor(sample.matrix, sample.range);
    const std::vector<int32_t>& columns = tile.Columns(shownWidth, stretchWidth);
    const bool upright = turn.angle != 90 && turn.angle != 270;
    for (int32_t ty = 0; ty < tile.Height(); ++ty) {
        const int32_t row = StretchSource(shownHeight, stretchHeight, ty, StretchAxis::Down);
        uint8_t* out = tile.RowFromTop(ty);
        int32_t x = 0, y = 0;
        turn.Source(0, row, x, y);
        if (upright && sample.layout != SampleLayout::Rgb32) {
            // One source row for the whole tile row: the common case, kept tight.
            const YuvRow line = RowOf(sample.data, sample.layout, planes, top + rowStep * y);
            if (turn.angle == 180) {
                const int32_t right = area.x + area.width - 1;
                for (int32_t column : columns) {
                    YuvToBgr(line, right - column, k, out);
                    out += 3;
                }
            } else {
                const int32_t left = area.x;
                for (int32_t column : columns) {
                    YuvToBgr(line, left + column, k, out);
                    out += 3;
                }
            }
            continue;
        }
        for (int32_t column : columns) {
            turn.Source(column, row, x, y);
            const int32_t line = top + rowStep * y;
            if (sample.layout == SampleLayout::Rgb32) {
                const int64_t stored = planes.bottomUp ? planes.lines - 1 - line : line;
                const uint8_t* in = sample.data + planes.pitch * stored + 4 * int64_t{area.x + x};
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            } else {
                YuvToBgr(RowOf(sample.data, sample.layout, planes, line), area.x + x, k, out);
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
