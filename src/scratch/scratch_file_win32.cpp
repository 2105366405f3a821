// The scratch bitmap file, beside the program or at the run's fallback: each picture shown is
// written to it and read back; it is deleted when it is no longer needed.
#include "scratch/scratch_file_win32.h"

#include <cstring>
#include <utility>

#include "scratch/bitmap_file.h"
#include "scratch/stretched_frame_win32.h"
#include "platform/handles_win32.h"
#include "platform/program_folder_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kScratchName[] = L"\\Dummy.bmp";

std::wstring ScratchPathIn(const std::wstring& folder) {
    return folder.empty() ? std::wstring() : folder + kScratchName;
}

// The folder part of a scratch path.
std::wstring FolderOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// The current place's path, or nothing when there is no place.
std::wstring PlaceOrNothing(const ScratchPlaces& places) {
    return places.Current() ? *places.Current() : std::wstring();
}

// A refused open is tried again for a moment before the run moves on to the next place: a virus
// scanner, an indexer or a sync client holding the previous frame's file keeps its name
// delete-pending for a while. A missing folder is no passing thing.
constexpr int kOpenTries = 8;
constexpr DWORD kOpenRetryMs = 25;

// Opens (or creates) the scratch file at `path`; `wasThere` says whether a file was there.
UniqueHandle OpenScratch(const std::wstring& path, bool& wasThere) {
    for (int tries = 1;; ++tries) {
        // The system keeps a temporary file in its cache rather than on the disk, and deletes a
        // delete-on-close file when its last handle goes, also when the process is killed.
        // Opened, not created over: a file cut to nothing and written again is sent to the disk
        // when it closes (ext4 under Wine: 1-2 ms). One left there by something else is cut to
        // the picture after the first write.
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                      nullptr));
        const DWORD error = GetLastError();
        wasThere = file && error == ERROR_ALREADY_EXISTS;
        const bool passing = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (file || !passing || tries == kOpenTries)
            return file;
        Sleep(kOpenRetryMs);
    }
}

bool WriteAll(HANDLE file, const uint8_t* bytes, size_t size) {
    // A picture is at most kMaxImageBytes, well within one call.
    DWORD written = 0;
    return size <= kMaxImageBytes &&
           WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

}  // namespace

std::wstring ScratchPath() {
    return ProgramFolder() + kScratchName;
}

ScratchPlaces ProgramScratchPlaces() {
    return ScratchPlaces(
        {ScratchPath(), ScratchPathIn(PerUserFolder()), ScratchPathIn(TemporaryFolder())});
}

ScratchFile::ScratchFile() : own_(ProgramScratchPlaces()), path_(PlaceOrNothing(own_)) {}

ScratchFile::ScratchFile(ScratchPlaces& places)
    : own_({}), shared_(&places), path_(PlaceOrNothing(places)) {}

bool ScratchFile::NextPlace() {
    if (!Places().WriteFailed())
        return false;
    // A fallback's folder is made when the run first moves there (only the last level: the
    // user's own application data folder exists wherever the platform names one).
    if (const std::wstring* next = Places().Current())
        CreateDirectoryW(FolderOf(*next).c_str(), nullptr);
    return true;
}

ScratchFile::Trip ScratchFile::PassThrough(const std::array<uint8_t, kBitmapHeadersBytes>& headers,
                                           const uint8_t* rows, size_t rowBytes, Picture& into) {
    if (rows == nullptr || rowBytes == 0)
        return Trip::kNoPlace;
    for (;;) {
        const std::wstring* place = Places().Current();
        if (!place)
            return Trip::kNoPlace;
        if (file_ && path_ != *place)
            file_.Reset();  // another scratch file of the run moved on
        path_ = *place;
        if (Write(headers, rows, rowBytes)) {
            LARGE_INTEGER start{};
            const bool read = SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN) &&
                              ReadPicture(file_.Get(), into);
            return read ? Trip::kReadBack : Trip::kNotReadBack;
        }
        file_.Reset();  // a half-written file goes with its handle
        if (!NextPlace())
            return Trip::kNoPlace;
    }
}

bool ScratchFile::Write(const std::array<uint8_t, kBitmapHeadersBytes>& headers,
                        const uint8_t* rows, size_t rowBytes) {
    bool wasThere = false;
    if (!file_) {
        file_ = OpenScratch(path_, wasThere);
        if (!file_)
            return false;
        fileBytes_ = 0;
    }
    LARGE_INTEGER start{};
    const uint64_t bytes = headers.size() + rowBytes;
    if (!SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN) ||
        !WriteAll(file_.Get(), headers.data(), headers.size()) ||
        !WriteAll(file_.Get(), rows, rowBytes))
        return false;
    // A longer picture before (or another writer's file) leaves bytes behind the new one.
    if ((wasThere || bytes < fileBytes_) && !SetEndOfFile(file_.Get()))
        return false;
    fileBytes_ = bytes;
    return true;
}

bool ScratchFile::ReadPicture(HANDLE file, Picture& into) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0)
        return false;
    uint8_t headers[kBitmapHeadersBytes];
    DWORD read = 0;
    if (!ReadFile(file, headers, sizeof headers, &read, nullptr) || read != sizeof headers)
        return false;
    const std::optional<BitmapFileLayout> layout =
        ParseBitmapHeaders(headers, static_cast<uint64_t>(size.QuadPart));
    if (!layout)
        return false;

    // The pixels follow the headers straight away unless a colour table lies between them.
    if (layout->pixelOffset != sizeof headers) {
        LARGE_INTEGER pixelOffset{};
        pixelOffset.QuadPart = static_cast<LONGLONG>(layout->pixelOffset);
        if (!SetFilePointerEx(file, pixelOffset, nullptr, FILE_BEGIN))
            return false;
    }
    // The layout bounds the pixel bytes by kMaxBitmapFileBytes, which fits a DWORD.
    const auto length = static_cast<DWORD>(layout->pixelBytes);
    spare_.resize(length);
    if (length > 0 && (!ReadFile(file, spare_.data(), length, &read, nullptr) || read != length))
        return false;

    uint8_t header[kDibHeaderBytes];
    EncodeDibHeader(layout->header, header);
    std::memcpy(&into.header, header, sizeof into.header);
    into.bits.swap(spare_);
    return true;
}

bool StretchPicture(HDC dc, const Picture& picture, int x, int y, int width, int height) {
    const DibHeader header = DecodeDibHeader(reinterpret_cast<const uint8_t*>(&picture.header));
    const std::optional<uint32_t> pixels = DibPixelBytes(header);
    if (!pixels || picture.bits.size() < *pixels)
        return false;
    return StretchRows(dc, header, picture.bits.data(), x, y, width, height);
}

}  // namespace kineloop
