// Everything the settings dialog learns from a video file in one reading: its numbers, whether a
// frame of it can be shown, the first frame itself, and whether its frames are of few colours.
#include "settings_dialog/video_probe_win32.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "frames/avi_frame_reader_win32.h"
#include "frames/open_video_win32.h"

namespace kineloop {

namespace {

// A video format record is a bitmap header with at most a full colour table and some codec data.
constexpr LONG kLargestFormat = 64 * 1024;

// The bits per pixel of the first video stream's own format, 0 when they cannot be read. Asked
// only of a file the reader has opened, so its layout is known to be safe.
int StreamBitCount(const std::wstring& path) {
    AviLibraryUse library;
    library.Start();
    PAVIFILE opened = nullptr;
    if (AVIFileOpenW(&opened, path.c_str(), OF_SHARE_DENY_WRITE, nullptr) != 0)
        return 0;
    Owned<PAVIFILE, AviFileFree> file(opened);
    PAVISTREAM found = nullptr;
    if (AVIFileGetStream(file.Get(), &found, streamtypeVIDEO, 0) != 0)
        return 0;
    Owned<PAVISTREAM, AviStreamFree> stream(found);
    // The whole record (a colour table may follow the header): a shorter buffer is refused.
    const LONG start = std::max<LONG>(AVIStreamStart(stream.Get()), 0);
    LONG size = 0;
    if (AVIStreamReadFormat(stream.Get(), start, nullptr, &size) != 0 ||
        size < static_cast<LONG>(sizeof(BITMAPINFOHEADER)) || size > kLargestFormat)
        return 0;
    std::vector<uint8_t> record(static_cast<size_t>(size));
    if (AVIStreamReadFormat(stream.Get(), start, record.data(), &size) != 0 ||
        size < static_cast<LONG>(sizeof(BITMAPINFOHEADER)))
        return 0;
    BITMAPINFOHEADER format;
    std::memcpy(&format, record.data(), sizeof format);
    return format.biBitCount;
}

}  // namespace

VideoProbe ProbeVideo(const std::wstring& path) {
    VideoProbe probe;
    // Read on the video thread: the dialog keeps painting whatever the platform does with the file.
    const std::unique_ptr<FrameSource> source = OpenFrameSource(path, WaitStyle::NoInput);
    FrameSource& reader = *source;
    VideoFacts& facts = probe.facts;
    facts.informationRead = reader.OpenedFully();
    facts.hasDecoder = reader.HasDecoder();
    facts.firstFrame = reader.FirstFrame();
    facts.frameCount = reader.FrameCount();
    facts.frameWidth = reader.FrameWidth();
    facts.frameHeight = reader.FrameHeight();
    if (reader.HasDecoder()) {
        // Frame 0 is the thumbnail; a stream that starts later may still show its own first.
        const void* frame = reader.ReadFrame(0);
        if (!frame && reader.FirstFrame() > 0)
            frame = reader.ReadFrame(reader.FirstFrame());
        if (frame && reader.FrameBytes() > 0) {
            const auto* bytes = static_cast<const uint8_t*>(frame);
            probe.firstFrame.assign(bytes, bytes + reader.FrameBytes());
            facts.frameShown = true;
        }
    }
    const bool readByAviFile = reader.Library() == VideoLibrary::AviFile;
    probe.openFailed = reader.Close();
    // Only AVIFile tells of a stream's own colours; the file has already been opened safely.
    if (readByAviFile && facts.informationRead && !facts.hasDecoder) {
        const int bits = StreamBitCount(path);
        facts.fewColours = bits > 0 && bits <= 8;
    }
    return probe;
}

}  // namespace kineloop
