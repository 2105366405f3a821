// What a Media Foundation media type and sample say of the pictures they carry: sizes, the part
// that is picture, how rows lie in a locked buffer, and interlacing.
#pragma once

#include <cstdint>

#include <windows.h>
#include <mfidl.h>

#include "video/sample_planes.h"

namespace kineloop {

// The two 32-bit halves of a packed attribute (a frame size, a rate); false when it is absent.
bool TwoNumbers(IMFAttributes* type, const GUID& key, uint32_t& high, uint32_t& low);

uint32_t NumberOr(IMFAttributes* type, const GUID& key, uint32_t absent);

// Rows of the first plane's pitch that a whole picture in a two-dimensional buffer takes.
int64_t PitchRows(SampleLayout layout, int32_t height);

// Places a locked two-dimensional buffer's rows in `view`: from its first row at `pitch` (a
// bottom-up buffer starts from its last), as far as its bytes go where `start` and `length` say
// where they lie, else over the rows the frame's size gives. False for a pitch the layout cannot
// have or rows outside the buffer.
bool PlaceRows(const BYTE* firstRow, LONG pitch, const BYTE* start, DWORD length, SampleView& view);

// The part of a frame that is picture: its minimum display aperture, else its geometric one,
// where either lies within the frame (Windows decodes 1080 rows into 1088); else all of it.
PictureArea ApertureOf(IMFAttributes* type, int32_t width, int32_t height);

// Whether a sample holds two fields woven row by row, and which is first: the sample's own word
// where it gives one, else the output type's interlace mode (MF_MT_INTERLACE_MODE). Progressive,
// single-field and unknown content is taken whole.
FieldOrder FieldsOf(IMFSample* sample, uint32_t mode);

}  // namespace kineloop
