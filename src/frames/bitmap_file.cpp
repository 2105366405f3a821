// The rules a bitmap file read back must meet before its pixels are used: a standard uncompressed
// .bmp whose headers describe exactly the pixel bytes that follow them.
#include "frames/bitmap_file.h"

#include "frames/fdib_pointer.h"

namespace kineloop {

std::optional<BitmapFileLayout> ParseBitmapFile(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < kBitmapHeadersBytes)
        return std::nullopt;
    return ParseBitmapHeaders(bytes, size);
}

std::optional<BitmapFileLayout> ParseBitmapHeaders(const uint8_t* bytes, uint64_t size) {
    if (bytes == nullptr || size < kBitmapHeadersBytes || size > kMaxBitmapFileBytes)
        return std::nullopt;
    if (ReadLe16(bytes) != kBitmapFileType || ReadLe32(bytes + 2) != size)
        return std::nullopt;
    DibHeader header = DecodeDibHeader(bytes + kFileHeaderBytes);
    const std::optional<uint32_t> pixels = DibPixelBytes(header);
    if (!pixels || header.biClrUsed > 256)
        return std::nullopt;
    if (header.biSizeImage != 0 && header.biSizeImage != *pixels)
        return std::nullopt;
    const uint64_t offset = kBitmapHeadersBytes + uint64_t{header.biClrUsed} * 4;
    if (ReadLe32(bytes + 10) != offset || offset > size || size - offset != *pixels)
        return std::nullopt;

    // The table of a 16 to 32-bit picture only suggests a palette; drawing does without it.
    header.biClrUsed = 0;
    header.biClrImportant = 0;
    header.biSizeImage = *pixels;
    return BitmapFileLayout{header, static_cast<size_t>(offset), *pixels};
}

}  // namespace kineloop
