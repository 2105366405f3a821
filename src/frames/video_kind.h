// Rules that choose how a video file is read: which platform library tries it first, what an
// AVI file must start with before AVIFile sees it, and the frame count of a timed stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "frames/avi_structure.h"

namespace kineloop {

// Whether the path (UTF-8) names a ".avi" file, in any letter case.
bool HasAviExtension(const std::string& path);

// Bytes needed by StartsAsRiffAvi.
inline constexpr size_t kRiffAviHeaderBytes = 12;

// Whether the file's first bytes are a RIFF AVI header ("RIFF", a size, "AVI "). AVIFile spends
// seconds per gigabyte failing on anything else, so nothing else reaches it.
bool StartsAsRiffAvi(const uint8_t* bytes, size_t count);

// False for an MP4, MOV or 3GP file (one that starts with an "ftyp" box) without a whole "moov"
// box among its top-level boxes, as a download cut short before it is: the platform's parser
// (Wine's, at least) waits for it for ever. True for every other file.
bool MovieHeaderIsWhole(ByteSource& file);

// What AVIFile made of an AVI file, for the choice of the next reader.
struct AviOutcome {
    bool openedFully = false;   // its frame information was read
    bool sizeFits = false;      // the frame size was fit to ask the platform for a decoder
    bool hasDecoder = false;    // a 24-bit decoder was found
    bool paletteVideo = false;  // the stream is stored at 8 bits a pixel or fewer
};

// Whether Media Foundation should try an AVI file after AVIFile: when AVIFile read it, its frame
// size was sane, and the platform had no decoder for its video. An AVI file AVIFile cannot read is
// damaged, or no AVI at all: Wine's Media Foundation hangs on many of those, and Windows' would
// show nothing AVIFile cannot. A palette video without a decoder stays AVIFile's: it is refused for
// its colours, as it always was.
bool MediaFoundationTriesAfterAvi(const AviOutcome& avi);

// Whether a picture of this size is high definition: its colours are then taken as BT.709 when
// the file does not say, and as BT.601 otherwise.
bool IsHighDefinition(int32_t width, int32_t height);

struct FrameRate {
    uint32_t numerator = 0;
    uint32_t denominator = 0;  // 0: unknown
};

// The stream's frame rate: the one the file states, unless the time from its first frame to the
// second (`frameTime`, in 100-nanosecond units; 0 when unknown) says otherwise by more than 5%:
// containers that store no rate are given a made-up one.
FrameRate SettledFrameRate(FrameRate stated, int64_t frameTime);

// The number of frames of a stream that lasts `duration` (in 100-nanosecond units) at
// `numerator` / `denominator` frames a second, to the nearest frame; 0 when the rate is unknown,
// at most INT32_MAX.
int32_t FramesInDuration(uint64_t duration, uint32_t numerator, uint32_t denominator);

}  // namespace kineloop
