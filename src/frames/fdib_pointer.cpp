// FDIBPointer: copies a decoded frame (a packed bitmap in decoder memory) into buffers of its own
// and writes it as a standard .bmp file.
#include "frames/fdib_pointer.h"

namespace kineloop {

std::optional<DibHeader> AcceptPackedFrame(const void* address, size_t availableBytes) {
    if (address == nullptr || availableBytes < kDibHeaderBytes)
        return std::nullopt;
    const DibHeader header = DecodeDibHeader(static_cast<const uint8_t*>(address));
    if (header.biBitCount < 16 || header.biSizeImage < 1)
        return std::nullopt;
    // The header must describe exactly the rows that follow it, all of them within reach; the
    // rows are read straight after the header, so no colour table and no masks may lie between.
    const std::optional<uint32_t> pixels = DibPixelBytes(header);
    if (!pixels || *pixels != header.biSizeImage || header.biClrUsed != 0)
        return std::nullopt;
    if (header.biSizeImage > availableBytes - kDibHeaderBytes)
        return std::nullopt;
    return header;
}

bool FDIBPointer::CreateFromPackedDIBPointer(const void* address, size_t availableBytes) {
    if (address == nullptr || availableBytes < kDibHeaderBytes)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(address);
    infoHeader_ = DecodeDibHeader(bytes);
    if (!AcceptPackedFrame(address, availableBytes))
        return false;

    pixelBytes_.assign(bytes + kDibHeaderBytes, bytes + kDibHeaderBytes + infoHeader_.biSizeImage);
    infoHeaderBytes_.assign(bytes, bytes + kDibHeaderBytes);
    fileHeader_.type = kBitmapFileType;
    fileHeader_.size = static_cast<uint32_t>(kBitmapHeadersBytes) + infoHeader_.biSizeImage;
    fileHeader_.reserved1 = 0;
    fileHeader_.reserved2 = 0;
    fileHeader_.offset = static_cast<uint32_t>(kBitmapHeadersBytes);
    return true;
}

std::array<uint8_t, kBitmapHeadersBytes> FDIBPointer::FileHeaderBytes() const {
    std::array<uint8_t, kBitmapHeadersBytes> bytes{};
    WriteLe16(fileHeader_.type, &bytes[0]);
    WriteLe32(fileHeader_.size, &bytes[2]);
    WriteLe16(fileHeader_.reserved1, &bytes[6]);
    WriteLe16(fileHeader_.reserved2, &bytes[8]);
    WriteLe32(fileHeader_.offset, &bytes[10]);
    for (size_t i = 0; i < infoHeaderBytes_.size() && i < kDibHeaderBytes; ++i)
        bytes[kFileHeaderBytes + i] = infoHeaderBytes_[i];
    return bytes;
}

}  // namespace kineloop
