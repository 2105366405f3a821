// The scratch picture's bitmap file: the headers written before its pixels and the rules a file
// read back must meet.
#include "scratch/bitmap_file.h"

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

std::array<uint8_t, kBitmapHeadersBytes> BitmapFileHeaders(const DibHeader& header) {
    std::array<uint8_t, kBitmapHeadersBytes> bytes{};
    WriteLe16(kBitmapFileType, &bytes[0]);
    WriteLe32(static_cast<uint32_t>(kBitmapHeadersBytes) + header.biSizeImage, &bytes[2]);
    WriteLe32(static_cast<uint32_t>(kBitmapHeadersBytes), &bytes[10]);
    EncodeDibHeader(header, &bytes[kFileHeaderBytes]);
    return bytes;
}

}  // namespace kineloop
