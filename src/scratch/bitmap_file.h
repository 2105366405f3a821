// The scratch picture's bitmap file: the headers written before its pixels, and the rules a file
// read back must meet before its pixels are used (a standard uncompressed .bmp whose headers
// describe exactly the pixel bytes that follow them).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "bitmap/dib.h"

namespace kineloop {

// The 14-byte file header and the info header that precede the pixels of a bitmap file.
inline constexpr size_t kFileHeaderBytes = 14;
inline constexpr size_t kBitmapHeadersBytes = kFileHeaderBytes + kDibHeaderBytes;  // 54
inline constexpr uint16_t kBitmapFileType = 0x4D42;                                // "BM"

// The 54 bytes that precede the pixels in the bitmap file of a picture with this header: "BM",
// the file's size, two reserved zeros, the pixel offset 54, then the header itself.
std::array<uint8_t, kBitmapHeadersBytes> BitmapFileHeaders(const DibHeader& header);

// Files above this size are not read at all: the largest picture plus headers and a full table.
inline constexpr uint64_t kMaxBitmapFileBytes = 54 + 256 * 4 + uint64_t{kMaxImageBytes};

struct BitmapFileLayout {
    // The info header as a drawing call needs it: no colour table, biSizeImage the pixel bytes.
    DibHeader header;
    size_t pixelOffset = 0;
    size_t pixelBytes = 0;
};

// Accepts "BM", a file size field equal to `size`, a 40-byte info header of 16, 24 or 32 bits,
// uncompressed, either row order, an optional colour table of at most 256 entries directly after
// it, a pixel offset just past that table, a biSizeImage of 0 or the exact pixel bytes, and
// exactly those pixel bytes up to the end of the file. Reads nothing outside [bytes, bytes + size).
std::optional<BitmapFileLayout> ParseBitmapFile(const uint8_t* bytes, size_t size);

// The same rules for a file of `fileSize` bytes of which only the first kBitmapHeadersBytes are
// at hand in `headers`, so that the pixels can be read straight to where they are used.
std::optional<BitmapFileLayout> ParseBitmapHeaders(const uint8_t* headers, uint64_t fileSize);

}  // namespace kineloop
