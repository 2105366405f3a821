// FDIBPointer: copies a decoded frame (a packed bitmap in decoder memory) into buffers of its own
// and writes it as a standard .bmp file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frames/dib.h"

namespace kineloop {

// The 14-byte file header and the info header that precede the pixels of the file written.
inline constexpr size_t kFileHeaderBytes = 14;
inline constexpr size_t kBitmapHeadersBytes = kFileHeaderBytes + kDibHeaderBytes;  // 54
inline constexpr uint16_t kBitmapFileType = 0x4D42;                                // "BM"

struct BitmapFileHeader {
    uint16_t type = 0;
    uint32_t size = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t offset = 0;
};

// The frames taken: a packed bitmap (a 40-byte header followed by the pixel rows) of 16 bits per
// pixel or more, whose header describes exactly the uncompressed rows that follow it within
// `availableBytes`. Its header, or nothing for a frame that is refused.
std::optional<DibHeader> AcceptPackedFrame(const void* address, size_t availableBytes);

class FDIBPointer {
  public:
    // Copies the packed bitmap at `address` (a 40-byte header followed by the pixel rows), of which
    // `availableBytes` may be read. Frames under 16 bits per pixel, without pixels, or whose header
    // does not describe exactly the uncompressed rows that follow within those bytes are refused
    // (false), and the previous frame is kept.
    bool CreateFromPackedDIBPointer(const void* address, size_t availableBytes);

    // Writes the last accepted frame at `path` as a file of exactly its size; false when no frame
    // was accepted or the file could not be written whole (fdib_pointer_win32.cpp).
    bool WriteToFile(const std::wstring& path) const;

    bool HasFrame() const { return !pixelBytes_.empty(); }
    // The first 54 bytes of the file: the file header, then the frame's own info header.
    std::array<uint8_t, kBitmapHeadersBytes> FileHeaderBytes() const;
    const std::vector<uint8_t>& PixelBytes() const { return pixelBytes_; }
    // The header of the last frame offered, accepted or not.
    const DibHeader& InfoHeader() const { return infoHeader_; }

  private:
    std::vector<uint8_t> pixelBytes_;
    std::vector<uint8_t> infoHeaderBytes_;
    DibHeader infoHeader_;
    BitmapFileHeader fileHeader_;
};

}  // namespace kineloop
