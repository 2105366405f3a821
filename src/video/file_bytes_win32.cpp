// Random access to the bytes of a file on disk, for the portable checks that look into files
// before the platform does.
#include "video/file_bytes_win32.h"

#include "video/video_thread_win32.h"

namespace kineloop {

FileBytes::FileBytes(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER size{};
    if (file_ && GetFileSizeEx(file_.Get(), &size) && size.QuadPart > 0)
        size_ = static_cast<uint64_t>(size.QuadPart);
}

bool FileBytes::Read(uint64_t offset, void* into, size_t bytes) {
    const DWORD wanted = static_cast<DWORD>(bytes);
    if (!file_ || wanted != bytes)
        return false;
    OVERLAPPED at{};  // a read at `offset`, whatever the file pointer
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    const bool whole = ReadFile(file_.Get(), into, wanted, &read, &at) && read == wanted;
    // A disk that had to wake for this read is alive now.
    ReportVideoProgress();
    return whole;
}

}  // namespace kineloop
