// Which player a music file goes to.
#include "music/music_kind.h"

#include "platform/numbers.h"

namespace kineloop {

std::string MusicFileKind(const std::string& bgmFile) {
    // Count characters, not bytes, so that a path ending in Japanese text is never cut in two.
    size_t start = bgmFile.size();
    for (int characters = 0; characters < 3 && start > 0; ++characters) {
        --start;
        while (start > 0 && (static_cast<unsigned char>(bgmFile[start]) & 0xC0) == 0x80)
            --start;
    }
    return UpperAscii(bgmFile.substr(start));
}

}  // namespace kineloop
