// FDIBPointer::WriteToFile: the accepted frame as a .bmp file of exactly its size.
#include "frames/fdib_pointer.h"

#include <windows.h>

#include "platform/handles_win32.h"

namespace kineloop {

namespace {

bool WriteAll(HANDLE file, const uint8_t* bytes, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written != chunk)
            return false;
        bytes += chunk;
        size -= chunk;
    }
    return true;
}

}  // namespace

bool FDIBPointer::WriteToFile(const std::wstring& path) const {
    if (!HasFrame())
        return false;
    // An existing file is written over from its first byte and then cut to the new size, so a
    // shorter frame leaves none of the older, longer one behind.
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    const std::array<uint8_t, kBitmapHeadersBytes> headers = FileHeaderBytes();
    if (!WriteAll(file.Get(), headers.data(), headers.size()) ||
        !WriteAll(file.Get(), pixelBytes_.data(), pixelBytes_.size()) || !SetEndOfFile(file.Get()))
        return false;
    return CloseHandle(file.Release()) != FALSE;
}

}  // namespace kineloop
