// Rules that choose how a video file is read: which platform library tries it first, and what a
// file must look like before the platform's parser sees it.
#include "video/reader_choice.h"

#include <cstring>

#include "video/movie_boxes.h"

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
    uint8_t header[8];
    if (size < 8 || !file.Read(0, header, 8) || std::memcmp(header + 4, "ftyp", 4) != 0)
        return true;
    for (uint64_t at = 0; size - at >= 8;) {
        MovieBox box;
        if (!ReadMovieBox(file, at, size, true, box))
            return false;  // cut short here: no whole box after it
        if (box.Is("moov"))
            return true;
        at = box.end;
    }
    return false;
}

bool MediaFoundationTriesAfterAvi(const AviOutcome& avi) {
    return avi.openedFully && avi.sizeFits && !avi.hasDecoder && !avi.paletteVideo;
}

}  // namespace kineloop
