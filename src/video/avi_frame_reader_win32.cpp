// AviFrameReader: the AVIFile call sequence that opens a video file's first video stream, decodes
// its frames as 24-bit bitmaps by sample number, and releases everything again.
#include "video/avi_frame_reader_win32.h"

#include <cstring>
#include <vector>

#include "video/avi_structure.h"
#include "video/file_bytes_win32.h"
#include "video/frame_format.h"
#include "video/reader_choice.h"

namespace kineloop {

namespace {

// Read-only, others may read but not write.
constexpr UINT kOpenMode = OF_SHARE_DENY_WRITE;
// A video format record is a bitmap header with at most a full colour table and some codec data.
constexpr LONG kMaxStreamFormatBytes = 64 * 1024;

static_assert(sizeof(BITMAPINFOHEADER) == kDibHeaderBytes);

// A file that cannot be opened here is left to the platform, which reports it. A file that does
// not start as an AVI file never reaches the platform, which takes seconds a gigabyte to refuse it.
bool LayoutIsSafe(const std::wstring& path) {
    FileBytes file(path);
    if (!file.Opened())
        return true;
    uint8_t start[kRiffAviHeaderBytes] = {};
    const bool riff = file.Size() >= sizeof start && file.Read(0, start, sizeof start);
    return riff && StartsAsRiffAvi(start, sizeof start) && AviLayoutIsSafe(file);
}

BITMAPINFOHEADER ToPlatform(const DibHeader& header) {
    uint8_t bytes[kDibHeaderBytes];
    EncodeDibHeader(header, bytes);
    BITMAPINFOHEADER platform;
    std::memcpy(&platform, bytes, sizeof platform);
    return platform;
}

DibHeader FromPlatform(const void* header) {
    return DecodeDibHeader(static_cast<const uint8_t*>(header));
}

}  // namespace

void AviLibraryUse::Start() {
    if (!active_) {
        AVIFileInit();
        active_ = true;
    }
}

void AviLibraryUse::End() {
    if (active_) {
        AVIFileExit();
        active_ = false;
    }
}

AviFrameReader::~AviFrameReader() {
    ReleaseAll();
}

void AviFrameReader::ReleaseAll() {
    decoder_.Reset();
    stream_.Reset();
    file_.Reset();
    library_.End();
}

void AviFrameReader::Open(const std::wstring& path) {
    ReleaseAll();
    path_ = path;
    openStatus_ = 0;
    firstFrame_ = 0;
    frameCount_ = 0;
    frameWidth_ = 0;
    frameHeight_ = 0;
    framesPerSecond_ = 0;
    requestedFormat_ = BITMAPINFOHEADER{};
    openedFully_ = false;
    paletteVideo_ = false;
    sizeFits_ = false;
    OpenSequence();
}

void AviFrameReader::OpenSequence() {
    library_.Start();

    // A file whose layout the platform's parser would mishandle is refused before it sees it, as
    // a file of a bad format.
    if (!LayoutIsSafe(path_)) {
        openStatus_ = AVIERR_BADFORMAT;
        return;
    }
    PAVIFILE file = nullptr;
    openStatus_ = AVIFileOpenW(&file, path_.c_str(), kOpenMode, nullptr);
    file_.Reset(file);
    if (openStatus_ != 0)
        return;

    PAVISTREAM stream = nullptr;
    openStatus_ = AVIFileGetStream(file_.Get(), &stream, streamtypeVIDEO, 0);
    stream_.Reset(stream);
    if (openStatus_ != 0)
        return;

    firstFrame_ = AVIStreamStart(stream_.Get());
    if (firstFrame_ == -1)
        return;
    frameCount_ = AVIStreamLength(stream_.Get());
    if (frameCount_ == -1)
        return;

    AVIFILEINFOW fileInfo{};
    openStatus_ = AVIFileInfoW(file_.Get(), &fileInfo, sizeof fileInfo);
    if (openStatus_ != 0)
        return;
    AVISTREAMINFOW streamInfo{};
    openStatus_ = AVIStreamInfoW(stream_.Get(), &streamInfo, sizeof streamInfo);
    if (openStatus_ != 0)
        return;

    if (streamInfo.dwScale != 0)
        framesPerSecond_ = static_cast<double>(streamInfo.dwRate) / streamInfo.dwScale;

    FrameFormat format;
    const RECT& frame = streamInfo.rcFrame;
    const bool computed =
        ComputeFrameFormat(frame.left, frame.top, frame.right, frame.bottom, format);
    frameWidth_ = format.FrameWidth;
    frameHeight_ = format.FrameHeight;
    requestedFormat_ = ToPlatform(format.RequestedFormat);

    // A frame size from a damaged or hostile file must not reach the decoder, which would try to
    // allocate it: such a reader simply has no decoder and reads no frames.
    const bool ownFormatFits = StreamFormatFits();
    sizeFits_ = computed && FitsDecoder(format.RequestedFormat) && ownFormatFits;
    if (sizeFits_) {
        BITMAPINFOHEADER wanted = requestedFormat_;  // the platform may write into it
        decoder_.Reset(AVIStreamGetFrameOpen(stream_.Get(), &wanted));
    }
    openedFully_ = true;
}

// The stream's own format record must be a whole bitmap header of a sane size too: the decoder
// sizes its buffers from it.
bool AviFrameReader::StreamFormatFits() {
    LONG size = 0;
    if (AVIStreamReadFormat(stream_.Get(), firstFrame_, nullptr, &size) != 0)
        return false;
    if (size < static_cast<LONG>(kDibHeaderBytes) || size > kMaxStreamFormatBytes)
        return false;
    std::vector<uint8_t> record(static_cast<size_t>(size));
    if (AVIStreamReadFormat(stream_.Get(), firstFrame_, record.data(), &size) != 0 ||
        size < static_cast<LONG>(kDibHeaderBytes))
        return false;
    const DibHeader own = DecodeDibHeader(record.data());
    paletteVideo_ = own.biBitCount != 0 && own.biBitCount <= 8;
    const int64_t height = own.biHeight < 0 ? -int64_t{own.biHeight} : own.biHeight;
    return own.biWidth >= 1 && own.biWidth <= kMaxFrameSide && height >= 1 &&
           height <= kMaxFrameSide;
}

const void* AviFrameReader::ReadFrame(int32_t number) {
    // Wine's AVIFile ends the process when asked for a frame before the stream's start.
    if (!decoder_ || number < firstFrame_)
        return nullptr;
    const void* frame = AVIStreamGetFrame(decoder_.Get(), number);
    if (frame == nullptr)
        return nullptr;
    // FrameBytes bounds only a frame in the format asked for.
    const DibHeader got = FromPlatform(frame);
    const BITMAPINFOHEADER& asked = requestedFormat_;
    if (got.biWidth != asked.biWidth || got.biHeight != asked.biHeight ||
        got.biBitCount != asked.biBitCount || got.biCompression != asked.biCompression)
        return nullptr;
    return frame;
}

size_t AviFrameReader::FrameBytes() const {
    if (!decoder_)
        return 0;
    return kDibHeaderBytes + requestedFormat_.biSizeImage;
}

bool AviFrameReader::Close() {
    if (!library_.Active())
        return false;
    decoder_.Reset();
    stream_.Reset();
    file_.Reset();
    library_.End();
    return openStatus_ != 0;
}

std::wstring UnreadableVideoMessage(const std::wstring& path) {
    return L"Error : \r\n" + path;
}

}  // namespace kineloop
