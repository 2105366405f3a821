// AviFrameReader: the AVIFile call sequence that opens a video file's first video stream, decodes
// its frames as 24-bit bitmaps by sample number, and releases everything again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <windows.h>
#include <vfw.h>

#include "video/frame_source.h"
#include "platform/handles_win32.h"

namespace kineloop {

struct AviFileFree {
    static bool IsValid(PAVIFILE) { return true; }
    static void Release(PAVIFILE file) { AVIFileRelease(file); }
};
struct AviStreamFree {
    static bool IsValid(PAVISTREAM) { return true; }
    static void Release(PAVISTREAM stream) { AVIStreamRelease(stream); }
};
struct GetFrameFree {
    static bool IsValid(PGETFRAME) { return true; }
    static void Release(PGETFRAME decoder) { AVIStreamGetFrameClose(decoder); }
};

// One AVIFileInit, ended by one AVIFileExit.
class AviLibraryUse {
  public:
    AviLibraryUse() = default;
    ~AviLibraryUse() { End(); }
    AviLibraryUse(const AviLibraryUse&) = delete;
    AviLibraryUse& operator=(const AviLibraryUse&) = delete;
    void Start();
    void End();
    bool Active() const { return active_; }

  private:
    bool active_ = false;
};

// One use of one file: Open, any number of ReadFrame, Close. Not copyable.
class AviFrameReader : public FrameSource {
  public:
    AviFrameReader() = default;
    ~AviFrameReader() override;  // releases whatever is still held, silently
    AviFrameReader(const AviFrameReader&) = delete;
    AviFrameReader& operator=(const AviFrameReader&) = delete;

    // The opening sequence; it stops at the first failing step. Afterwards the values below say
    // what it found. A reader opened again first lets go of the previous file, silently.
    void Open(const std::wstring& path);

    // The decoder's frame `number` (a sample number of the stream) as a packed 24-bit bitmap that
    // belongs to the decoder until the next ReadFrame or Close; nullptr without a decoder, when
    // the frame cannot be decoded, or when it does not come in the format asked for.
    const void* ReadFrame(int32_t number) override;

    // Bytes a non-null ReadFrame result may be read for: 40 + biSizeImage of RequestedFormat;
    // 0 without a decoder.
    size_t FrameBytes() const override;

    // The closing sequence: decoder, stream and file released in that order, then AVIFileExit.
    // Returns true when a status call of the opening failed: the caller then reports the file
    // with UnreadableVideoMessage before anything else happens. Running it again returns false.
    bool Close() override;

    VideoLibrary Library() const override { return VideoLibrary::AviFile; }
    bool OpenedFully() const override { return openedFully_; }
    bool HasDecoder() const override { return static_cast<bool>(decoder_); }
    int32_t OpenStatus() const { return openStatus_; }
    int32_t FirstFrame() const override { return firstFrame_; }
    int32_t FrameCount() const override { return frameCount_; }
    int32_t FrameWidth() const override { return frameWidth_; }
    int32_t FrameHeight() const override { return frameHeight_; }
    double FramesPerSecond() const override { return framesPerSecond_; }
    bool PaletteVideo() const override { return paletteVideo_; }
    // Whether the frame size was fit to ask the platform for a decoder.
    bool SizeFits() const { return sizeFits_; }
    const BITMAPINFOHEADER& RequestedFormat() const { return requestedFormat_; }
    const std::wstring& Path() const override { return path_; }

  private:
    void OpenSequence();
    bool StreamFormatFits();  // also learns PaletteVideo
    void ReleaseAll();

    std::wstring path_;
    // Declared in the order of opening, so that destruction releases in the order of closing.
    AviLibraryUse library_;
    Owned<PAVIFILE, AviFileFree> file_;
    Owned<PAVISTREAM, AviStreamFree> stream_;
    Owned<PGETFRAME, GetFrameFree> decoder_;

    int32_t openStatus_ = 0;
    int32_t firstFrame_ = 0;
    int32_t frameCount_ = 0;
    int32_t frameWidth_ = 0;
    int32_t frameHeight_ = 0;
    double framesPerSecond_ = 0;
    BITMAPINFOHEADER requestedFormat_{};
    bool openedFully_ = false;
    bool paletteVideo_ = false;
    bool sizeFits_ = false;
};

}  // namespace kineloop
