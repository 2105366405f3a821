// The rules a decoded frame (a packed bitmap in decoder memory) must meet before its rows are read.
#include "bitmap/packed_frame.h"

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

}  // namespace kineloop
