// Rules that choose how a video file is read: which platform library tries it first, and what a
// file must look like before the platform's parser sees it.
#include "video/reader_choice.h"

#include <cstring>

namespace kineloop {

bool HasAviExtension(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return tail == ".avi";
}

bool StartsAsRiffAvi(const uint8_t* bytes, size_t count) {
    return count >= kRiffAviHeaderBytes && std::memcmp(bytes, "RIFF", 4) == 0 &&
           std::memcmp(bytes + 8, "AVI ", 4) == 0;
}

bool MovieHeaderIsWhole(ByteSource& file) {
    const uint64_t size = file.Size();
    uint8_t header[16];
    if (size < 8 || !file.Read(0, header, 8) || std::memcmp(header + 4, "ftyp", 4) != 0)
        return true;
    for (uint64_t at = 0; at + 8 <= size;) {
        if (!file.Read(at, header, 8))
            return false;
        uint64_t length = (uint64_t{header[0]} << 24) | (uint64_t{header[1]} << 16) |
                          (uint64_t{header[2]} << 8) | header[3];
        if (length == 1) {  // a 64-bit size follows the type
            if (at + 16 > size || !file.Read(at + 8, header + 8, 8))
                return false;
            length = 0;
            for (int i = 8; i < 16; ++i)
                length = (length << 8) | header[i];
        } else if (length == 0) {  // to the end of the file
            length = size - at;
        }
        if (length < 8 || length > size - at)
            return false;  // cut short here: no whole box after it
        if (std::memcmp(header + 4, "moov", 4) == 0)
            return true;
        at += length;
    }
    return false;
}

bool MediaFoundationTriesAfterAvi(const AviOutcome& avi) {
    return avi.openedFully && avi.sizeFits && !avi.hasDecoder && !avi.paletteVideo;
}

}  // namespace kineloop
