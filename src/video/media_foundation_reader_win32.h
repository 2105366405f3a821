// MediaFoundationReader: a video file's first video stream through the Media Foundation Source
// Reader, frames numbered 0 to N-1 in their order, each as the packed 24-bit bitmap the show takes.
// Used on the video thread only (video_thread_win32.h), where Media Foundation is started.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include "platform/com_ref_win32.h"
#include "video/frame_seek.h"
#include "video/frame_source.h"
#include "video/picture_shape.h"
#include "video/yuv_to_dib.h"

namespace kineloop {

class MediaFoundationReader : public FrameSource {
  public:
    MediaFoundationReader() = default;
    ~MediaFoundationReader() override;
    MediaFoundationReader(const MediaFoundationReader&) = delete;
    MediaFoundationReader& operator=(const MediaFoundationReader&) = delete;

    // Opens the file and settles the pixel format; afterwards it either has a decoder and knows
    // the frames, or Close reports the file.
    void Open(const std::wstring& path);
    // Takes `path` as a file that cannot be read, without opening it: Close reports it.
    void Refuse(const std::wstring& path);

    VideoLibrary Library() const override { return VideoLibrary::MediaFoundation; }
    bool OpenedFully() const override { return openedFully_; }
    bool HasDecoder() const override { return static_cast<bool>(reader_); }
    int32_t FirstFrame() const override { return 0; }
    int32_t FrameCount() const override { return frameCount_; }
    int32_t FrameWidth() const override { return shownWidth_; }
    int32_t FrameHeight() const override { return shownHeight_; }
    double FramesPerSecond() const override { return framesPerSecond_; }
    // A later frame is reached by reading and dropping the frames between, or where a key frame
    // lies between and the times tell frames apart, by seeking to that key frame; an earlier one
    // the same way from the start.
    const void* ReadFrame(int32_t number) override;
    // Hands `work` the decoder's own sample, locked only while it runs: nothing is converted here.
    bool ReadWith(int32_t number, const FrameWork& work) override;
    size_t FrameBytes() const override { return reader_ ? dib_.size() : 0; }
    bool Close() override;
    const std::wstring& Path() const override { return path_; }

  private:
    // Releases the reader and shuts down the media source it read from.
    void LetGoOfReader();
    bool ChooseOutput(IMFMediaType* native);
    bool LearnOutput();
    // The next sample of the stream; false at its end or on an error.
    bool NextSample(ComRef<IMFSample>& sample, LONGLONG* time = nullptr);
    // The times of the first kTimedSamples samples (100-nanosecond units), and whether the stream
    // ended within them; the reader is back at the start afterwards.
    std::vector<int64_t> MeasureFrameTimes(bool& wholeStream);
    bool Rewind();
    // Goes on to the sample of frame `number` (sample_), decoding the frames between only as far as
    // the decoder needs to; false when there is none.
    bool SeekSample(int32_t number);
    // Seeks to the key frame before frame `number` and reads on to it, numbering the samples by
    // their times; false when a time falls off the grid or past the frame (the position is then
    // unknown until a rewind).
    bool SeekNear(int32_t number);
    // Seeks to `time` and reads on to frame `number`; when the first sample came after that
    // frame, `late` says by how much.
    bool SeekAndRead(int64_t time, int32_t number, int64_t& late);
    // Runs `use` on a view of sample_'s pixels while its buffer is locked; its result, or false.
    bool WithView(const std::function<bool(const SampleView&)>& use);

    std::wstring path_;
    ComRef<IMFSourceReader> reader_;
    bool openedFully_ = false;
    bool failed_ = false;  // the file could not be read: Close reports it
    int32_t frameCount_ = 0;
    int32_t shownWidth_ = 0, shownHeight_ = 0;
    double framesPerSecond_ = 0;
    uint32_t rotation_ = 0;  // the clockwise turn applied to decoded pictures
    PixelAspect aspect_;     // the stored pixel's shape, which the shown size follows

    // The decoder's output.
    SampleLayout layout_ = SampleLayout::Nv12;
    int32_t frameWidth_ = 0, frameHeight_ = 0;  // as its buffers hold it (MF_MT_FRAME_SIZE)
    PictureArea picture_;             // the part of that which is picture (the display aperture)
    int32_t width_ = 0, height_ = 0;  // the picture's size
    int32_t stride_ = 0;              // MF_MT_DEFAULT_STRIDE, 0 when absent
    uint32_t interlace_ = 0;          // MF_MT_INTERLACE_MODE, 0 (unknown) when absent
    YuvMatrix matrix_ = YuvMatrix::Bt601;
    YuvRange range_ = YuvRange::Limited;

    FrameGrid grid_;         // frames' times, where they tell frames apart
    bool keyTable_ = false;  // only keyFrames_ are key frames (else every frame is)
    std::vector<uint32_t> keyFrames_;

    int32_t next_ = 0;          // the number of the frame the next sample holds
    bool numbered_ = true;      // next_ is known (not while a seek looks for its place)
    bool ended_ = false;        // no more samples before a rewind
    bool reachedEnd_ = false;   // ended at the stream's true end, not on an error
    ComRef<IMFSample> sample_;  // of frame sampled_, kept for the same frame asked for again
    int32_t sampled_ = -1;
    int32_t converted_ = -1;  // the frame dib_ holds
    std::vector<uint8_t> dib_;
};

}  // namespace kineloop
