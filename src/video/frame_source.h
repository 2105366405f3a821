// One video file's frames as the show and the settings dialog read them, whichever platform
// library decodes them: opened by OpenFrameSource, read by number, closed once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "video/sample_planes.h"

namespace kineloop {

// A decoded frame where the decoder left it, valid only while the work given it runs: either a
// packed 24-bit bottom-up bitmap (as ReadFrame gives it) of which `bytes` may be read, or the
// decoder's own sample, shown turned by `rotation` degrees. Neither: it could not be decoded.
struct DecodedFrame {
    const void* packed = nullptr;
    size_t bytes = 0;
    const SampleView* sample = nullptr;
    uint32_t rotation = 0;
};

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
    // What is made of a frame where and while it was read, from the decoder's own picture, so
    // that only what is shown of it is ever converted.
    using FrameWork = std::function<void(const DecodedFrame& frame)>;
    // Reads frame `number` and hands it to `work` while it is valid. False when `work` did not
    // run (a read given up on may still run it later: `work` must own or share what it touches).
    virtual bool ReadWith(int32_t number, const FrameWork& work) {
        const void* packed = ReadFrame(number);
        DecodedFrame frame;
        frame.packed = packed;
        frame.bytes = packed ? FrameBytes() : 0;
        work(frame);
        return true;
    }
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
