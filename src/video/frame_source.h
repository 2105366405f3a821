// One video file's frames as the show and the settings dialog read them, whichever platform
// library decodes them: opened by OpenFrameSource, read by number, closed once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace kineloop {

// The platform library that reads a source's file.
enum class VideoLibrary { AviFile, MediaFoundation };

class FrameSource {
  public:
    virtual ~FrameSource() = default;

    virtual VideoLibrary Library() const = 0;

    // Whether the file's frame information was read (frame numbers and size below are known).
    virtual bool OpenedFully() const = 0;
    // Whether frames can be decoded at all; a source without a decoder reads no frames.
    virtual bool HasDecoder() const = 0;
    // Frame numbers run from FirstFrame to FirstFrame + FrameCount - 1.
    virtual int32_t FirstFrame() const = 0;
    virtual int32_t FrameCount() const = 0;
    // The size a frame is seen at: turned upright and widened to its pixels' shape where the file
    // asks for it. ReadFrame's picture is turned but not widened; the show stretches it anyway.
    virtual int32_t FrameWidth() const = 0;
    virtual int32_t FrameHeight() const = 0;
    // 0 when the file does not say.
    virtual double FramesPerSecond() const = 0;
    // Whether the stream is stored at 8 bits a pixel or fewer (known once fully opened; only
    // AVIFile reads such streams).
    virtual bool PaletteVideo() const { return false; }

    // Frame `number` as a packed 24-bit bottom-up bitmap (40-byte header, rows padded to 4 bytes)
    // that stays valid until the next ReadFrame or Close; nullptr when it cannot be
    // decoded.
    virtual const void* ReadFrame(int32_t number) = 0;
    // What is made of a frame read ahead, where and while it was read: the frame as ReadFrame
    // gives it and its FrameBytes (nullptr and 0 when it cannot be decoded).
    using FrameWork = std::function<void(const void* packed, size_t bytes)>;
    // Reads frame `number` ahead, after the reads ahead already asked for, and hands it to `work`
    // there; `work` must own or share what it touches. The frame itself is never handed out, so
    // the next read ahead may begin before the caller takes this one. False when this source
    // reads nothing ahead (`work` then never runs).
    virtual bool ReadAhead(int32_t number, FrameWork work) {
        (void)number;
        (void)work;
        return false;
    }
    // Waits for the oldest read ahead given work: true when it was of frame `number` and its work
    // has run. Otherwise false, and ReadFrame then reads `number` as usual (and lets go of every
    // read ahead).
    virtual bool TakeAhead(int32_t number) {
        (void)number;
        return false;
    }
    // Bytes that the last non-null ReadFrame result may be read for; 0 without a decoder.
    virtual size_t FrameBytes() const = 0;

    // Whether the source was given up on, stuck in the platform: it reads nothing more, and only
    // a fresh open may read the file again.
    virtual bool GivenUp() const { return false; }

    // Lets go of the file. True when the file could not be read: the caller then reports it with
    // UnreadableVideoMessage before anything else happens. Running it again returns false.
    virtual bool Close() = 0;
    virtual const std::wstring& Path() const = 0;
};

// What the user is told about a video file that could not be read: "Error : " CR LF path.
std::wstring UnreadableVideoMessage(const std::wstring& path);

}  // namespace kineloop
