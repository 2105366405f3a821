// What a Media Foundation media type and sample say of the pictures they carry.
#include "video/media_type_win32.h"

#include <cstdlib>
#include <initializer_list>

#include <mfapi.h>

namespace kineloop {

namespace {

bool Flag(IMFAttributes* attributes, const GUID& key, bool absent) {
    UINT32 value = 0;
    return SUCCEEDED(attributes->GetUINT32(key, &value)) ? value != 0 : absent;
}

}  // namespace

bool TwoNumbers(IMFAttributes* type, const GUID& key, uint32_t& high, uint32_t& low) {
    UINT64 packed = 0;
    if (FAILED(type->GetUINT64(key, &packed)))
        return false;
    high = static_cast<uint32_t>(packed >> 32);
    low = static_cast<uint32_t>(packed);
    return true;
}

uint32_t NumberOr(IMFAttributes* type, const GUID& key, uint32_t absent) {
    UINT32 value = 0;
    return SUCCEEDED(type->GetUINT32(key, &value)) ? value : absent;
}

// The planar layouts' colour planes follow a luma plane of an even number of lines and add half
// as many again.
int64_t PitchRows(SampleLayout layout, int32_t height) {
    if (layout == SampleLayout::Rgb32 || layout == SampleLayout::Yuy2)
        return height;
    const int64_t luma = (int64_t{height} + 1) / 2 * 2;
    return luma + luma / 2;
}

bool PlaceRows(const BYTE* firstRow, LONG pitch, const BYTE* start, DWORD length,
               SampleView& view) {
    if (pitch == 0 || (pitch < 0 && view.layout != SampleLayout::Rgb32))
        return false;
    const auto step = static_cast<uintptr_t>(std::llabs(int64_t{pitch}));
    const auto rows = static_cast<uintptr_t>(PitchRows(view.layout, view.height));
    const uintptr_t data =
        reinterpret_cast<uintptr_t>(firstRow) - (pitch > 0 ? 0 : step * (rows - 1));
    view.data = reinterpret_cast<const uint8_t*>(data);
    view.pitch = pitch;
    view.bytes = step * rows;
    if (!start)
        return true;
    const auto from = reinterpret_cast<uintptr_t>(start);
    if (data < from || data - from > length)
        return false;
    view.bytes = length - (data - from);
    return true;
}

PictureArea ApertureOf(IMFAttributes* type, int32_t width, int32_t height) {
    // Offsets are fixed point, a whole and 65536ths: to the nearest pixel.
    const auto nearest = [](const MFOffset& offset) {
        return int32_t{offset.value} + (offset.fract >= 0x8000 ? 1 : 0);
    };
    for (const GUID* key : {&MF_MT_MINIMUM_DISPLAY_APERTURE, &MF_MT_GEOMETRIC_APERTURE}) {
        MFVideoArea area{};
        UINT32 size = 0;
        if (FAILED(type->GetBlob(*key, reinterpret_cast<UINT8*>(&area), sizeof(area), &size)) ||
            size != sizeof(area))
            continue;
        const PictureArea picture{nearest(area.OffsetX), nearest(area.OffsetY),
                                  static_cast<int32_t>(area.Area.cx),
                                  static_cast<int32_t>(area.Area.cy)};
        if (AreaWithin(picture, width, height))
            return picture;
    }
    return {0, 0, width, height};
}

FieldOrder FieldsOf(IMFSample* sample, uint32_t mode) {
    if (mode == MFVideoInterlace_Progressive || mode == MFVideoInterlace_FieldSingleUpper ||
        mode == MFVideoInterlace_FieldSingleLower ||
        Flag(sample, MFSampleExtension_SingleField, false))
        return FieldOrder::Progressive;
    const bool lower = mode == MFVideoInterlace_FieldInterleavedLowerFirst;
    if (!Flag(sample, MFSampleExtension_Interlaced,
              lower || mode == MFVideoInterlace_FieldInterleavedUpperFirst))
        return FieldOrder::Progressive;
    return Flag(sample, MFSampleExtension_BottomFieldFirst, lower) ? FieldOrder::LowerFirst
                                                                   : FieldOrder::UpperFirst;
}

}  // namespace kineloop
