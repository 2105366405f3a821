// Hand-made packed bitmaps (a 40-byte header followed by the rows) for the portable tests.
#pragma once

#include <cstdint>
#include <vector>

#include "bitmap/dib.h"

namespace kineloop::test {

inline DibHeader UncompressedHeader(int32_t width, int32_t height, uint16_t bitCount) {
    DibHeader h;
    h.biSize = kDibHeaderBytes;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bitCount;
    h.biCompression = kBiRgb;
    const int64_t rows = height < 0 ? -int64_t{height} : height;
    h.biSizeImage = static_cast<uint32_t>((int64_t{width} * bitCount + 31) / 32 * 4 * rows);
    return h;
}

// The header followed by biSizeImage pixel bytes counting up from `seed`.
inline std::vector<uint8_t> PackedDib(const DibHeader& header, uint8_t seed = 1) {
    std::vector<uint8_t> bytes(kDibHeaderBytes + header.biSizeImage);
    EncodeDibHeader(header, bytes.data());
    for (size_t i = kDibHeaderBytes; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(seed + i);
    return bytes;
}

}  // namespace kineloop::test
