// The bitmap info header (40 bytes, little-endian, the platform's layout) and the pixel sizes it
// describes, for the portable code that checks frames and bitmap files before copying them.
#include "bitmap/dib.h"

namespace kineloop {

uint16_t ReadLe16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ReadLe32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void WriteLe16(uint16_t value, uint8_t* bytes) {
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
}

void WriteLe32(uint32_t value, uint8_t* bytes) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

DibHeader DecodeDibHeader(const uint8_t* bytes) {
    DibHeader h;
    h.biSize = ReadLe32(bytes);
    h.biWidth = static_cast<int32_t>(ReadLe32(bytes + 4));
    h.biHeight = static_cast<int32_t>(ReadLe32(bytes + 8));
    h.biPlanes = ReadLe16(bytes + 12);
    h.biBitCount = ReadLe16(bytes + 14);
    h.biCompression = ReadLe32(bytes + 16);
    h.biSizeImage = ReadLe32(bytes + 20);
    h.biXPelsPerMeter = static_cast<int32_t>(ReadLe32(bytes + 24));
    h.biYPelsPerMeter = static_cast<int32_t>(ReadLe32(bytes + 28));
    h.biClrUsed = ReadLe32(bytes + 32);
    h.biClrImportant = ReadLe32(bytes + 36);
    return h;
}

void EncodeDibHeader(const DibHeader& h, uint8_t* bytes) {
    WriteLe32(h.biSize, bytes);
    WriteLe32(static_cast<uint32_t>(h.biWidth), bytes + 4);
    WriteLe32(static_cast<uint32_t>(h.biHeight), bytes + 8);
    WriteLe16(h.biPlanes, bytes + 12);
    WriteLe16(h.biBitCount, bytes + 14);
    WriteLe32(h.biCompression, bytes + 16);
    WriteLe32(h.biSizeImage, bytes + 20);
    WriteLe32(static_cast<uint32_t>(h.biXPelsPerMeter), bytes + 24);
    WriteLe32(static_cast<uint32_t>(h.biYPelsPerMeter), bytes + 28);
    WriteLe32(h.biClrUsed, bytes + 32);
    WriteLe32(h.biClrImportant, bytes + 36);
}

std::optional<uint32_t> DibRowBytes(int32_t width, uint16_t bitCount) {
    if (width < 1 || bitCount == 0)
        return std::nullopt;
    // 64-bit arithmetic cannot overflow here: both factors are below 2^32.
    const uint64_t bits = static_cast<uint64_t>(width) * bitCount;
    const uint64_t row = (bits + 31) / 32 * 4;
    if (row > kMaxImageBytes)
        return std::nullopt;
    return static_cast<uint32_t>(row);
}

std::optional<uint32_t> DibPixelBytes(const DibHeader& h) {
    if (h.biSize != kDibHeaderBytes || h.biPlanes != 1 || h.biCompression != kBiRgb)
        return std::nullopt;
    if (h.biBitCount != 16 && h.biBitCount != 24 && h.biBitCount != 32)
        return std::nullopt;
    if (h.biHeight == 0 || h.biHeight == INT32_MIN)
        return std::nullopt;
    const std::optional<uint32_t> row = DibRowBytes(h.biWidth, h.biBitCount);
    if (!row)
        return std::nullopt;
    const uint64_t rows = static_cast<uint64_t>(h.biHeight < 0 ? -int64_t{h.biHeight} : h.biHeight);
    const uint64_t total = *row * rows;
    if (total > kMaxImageBytes)
        return std::nullopt;
    return static_cast<uint32_t>(total);
}

}  // namespace kineloop
