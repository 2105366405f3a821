// The bitmap info header (40 bytes, little-endian, the platform's layout) and the pixel sizes it
// describes, for the portable code that checks frames and bitmap files before copying them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kineloop {

inline constexpr size_t kDibHeaderBytes = 40;
inline constexpr uint32_t kBiRgb = 0;  // uncompressed

// Frames and pictures larger than this are refused: 8192 x 8192 at 32 bits, far above any video
// the show can tile, and small enough that a hostile size never asks for gigabytes.
inline constexpr uint32_t kMaxImageBytes = 256u << 20;

// The platform's BITMAPINFOHEADER, field by field (the fields keep the platform's names).
struct DibHeader {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

// Reads or writes exactly kDibHeaderBytes bytes.
DibHeader DecodeDibHeader(const uint8_t* bytes);
void EncodeDibHeader(const DibHeader& header, uint8_t* bytes);

uint16_t ReadLe16(const uint8_t* bytes);
uint32_t ReadLe32(const uint8_t* bytes);
void WriteLe16(uint16_t value, uint8_t* bytes);
void WriteLe32(uint32_t value, uint8_t* bytes);

// Bytes of one pixel row padded to a multiple of 4; nothing for a width below 1, a bit count of
// 0 or a row above kMaxImageBytes.
std::optional<uint32_t> DibRowBytes(int32_t width, uint16_t bitCount);

// The pixel bytes of an uncompressed 16, 24 or 32-bit header of 40 bytes, one plane, a positive
// width and a non-zero height (either row order); nothing for any other header or for more than
// kMaxImageBytes. biSizeImage and biClrUsed are left to the caller.
std::optional<uint32_t> DibPixelBytes(const DibHeader& header);

}  // namespace kineloop
