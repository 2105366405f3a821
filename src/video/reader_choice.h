// Rules that choose how a video file is read: which platform library tries it first, and what a
// file must look like before the platform's parser sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "video/byte_source.h"

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

}  // namespace kineloop
