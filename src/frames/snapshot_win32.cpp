// The scratch bitmap file beside the program: each frame shown is written to it, read back as a
// picture and deleted again, by the show and by the settings dialog alike.
#include "frames/snapshot_win32.h"

#include <cstring>
#include <utility>

#include "frames/bitmap_file.h"
#include "platform/handles_win32.h"
#include "platform/program_folder_win32.h"

namespace kineloop {

std::wstring ScratchPath() {
    return ProgramFolder() + L"\\Dummy.bmp";
}

ScratchSnapshot::ScratchSnapshot(std::wstring path) : path_(std::move(path)) {}

bool ScratchSnapshot::Write(const FDIBPointer& frame) {
    if (frame.WriteToFile(path_))
        return true;
    // A half-written file is of no use to anybody; the frame is skipped without it.
    DeleteFileW(path_.c_str());
    return false;
}

bool ScratchSnapshot::Load(Picture& into) {
    UniqueHandle file(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0)
        return false;
    uint8_t headers[kBitmapHeadersBytes];
    DWORD read = 0;
    if (!ReadFile(file.Get(), headers, sizeof headers, &read, nullptr) || read != sizeof headers)
        return false;
    const std::optional<BitmapFileLayout> layout =
        ParseBitmapHeaders(headers, static_cast<uint64_t>(size.QuadPart));
    if (!layout)
        return false;

    LARGE_INTEGER pixelOffset{};
    pixelOffset.QuadPart = static_cast<LONGLONG>(layout->pixelOffset);
    if (!SetFilePointerEx(file.Get(), pixelOffset, nullptr, FILE_BEGIN))
        return false;
    // The layout bounds the pixel bytes by kMaxBitmapFileBytes, which fits a DWORD.
    const auto length = static_cast<DWORD>(layout->pixelBytes);
    spare_.resize(length);
    if (length > 0 &&
        (!ReadFile(file.Get(), spare_.data(), length, &read, nullptr) || read != length))
        return false;

    uint8_t header[kDibHeaderBytes];
    EncodeDibHeader(layout->header, header);
    std::memcpy(&into.header, header, sizeof into.header);
    into.bits.swap(spare_);
    return true;
}

void ScratchSnapshot::Delete() {
    DeleteFileW(path_.c_str());
}

bool StretchPicture(HDC dc, const Picture& picture, int x, int y, int width, int height) {
    const DibHeader header = DecodeDibHeader(reinterpret_cast<const uint8_t*>(&picture.header));
    const std::optional<uint32_t> pixels = DibPixelBytes(header);
    if (dc == nullptr || !pixels || header.biClrUsed != 0 || picture.bits.size() < *pixels)
        return false;
    const LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    // With no colour table and no masks the header alone is a complete BITMAPINFO.
    const auto* info = reinterpret_cast<const BITMAPINFO*>(&picture.header);
    return StretchDIBits(dc, x, y, width, height, 0, 0, header.biWidth, rows, picture.bits.data(),
                         info, DIB_RGB_COLORS, SRCCOPY) != 0;
}

}  // namespace kineloop
