// MediaFoundationReader: reaching frame N, by reading on from where the stream is, or by seeking
// to a key frame before it where the times tell frames apart.
#include "video/media_foundation_reader_win32.h"

#include <algorithm>
#include <cmath>

#include "video/video_thread_win32.h"

namespace kineloop {

bool MediaFoundationReader::SeekSample(int32_t number) {
    if (!reader_ || number < 0 || number >= frameCount_)
        return false;
    if (number == sampled_ && sample_)
        return true;  // the same frame again (a step of 0, the thumbnail)
    sample_.Reset();
    sampled_ = -1;
    converted_ = -1;
    const bool back = number < next_ || !numbered_;
    if (grid_.frameTime > 0 && WorthSeeking(keyTable_, keyFrames_, back ? 0 : next_, number)) {
        if (SeekNear(number))
            return true;
        if (!Rewind())  // decoding on from the start is slower but certain
            return false;
    } else if (back && !Rewind()) {
        return false;
    }
    ComRef<IMFSample> sample;
    while (!ended_ && next_ <= number) {
        if (!NextSample(sample))
            return false;
    }
    if (!sample)
        return false;
    sample_ = std::move(sample);
    sampled_ = number;
    return true;
}

bool MediaFoundationReader::SeekNear(int32_t number) {
    // The frame before the one wanted, in the stream's own time: Wine seeks before the delay at
    // which the first frame is shown (an edit list), and stamps the first sample after a seek
    // with the time asked for. Elsewhere this only starts a frame or two early.
    const int64_t wanted = std::max<int64_t>(0, TimeOfFrame(grid_, number - 1) - grid_.first);
    int64_t late = 0;
    if (SeekAndRead(wanted, number, late))
        return true;
    // Landed too late all the same: once more, that much earlier.
    return late > 0 &&
           SeekAndRead(std::max<int64_t>(0, wanted - late - std::llround(grid_.frameTime)), number,
                       late);
}

bool MediaFoundationReader::SeekAndRead(int64_t time, int32_t number, int64_t& late) {
    late = 0;
    PROPVARIANT at;
    PropVariantInit(&at);
    at.vt = VT_I8;
    at.hVal.QuadPart = time;
    const HRESULT seek = reader_->SetCurrentPosition(GUID_NULL, at);
    PropVariantClear(&at);
    ReportVideoProgress();
    numbered_ = false;
    ended_ = FAILED(seek);
    ComRef<IMFSample> sample;
    LONGLONG sampleTime = 0;
    bool firstAfterSeek = true;
    while (!ended_ && NextSample(sample, &sampleTime)) {
        int32_t frame = -1;
        if (!FrameAtTime(grid_, sampleTime, frame))
            return false;
        // The first sample's time may be the one asked for rather than its own: never the frame.
        if (firstAfterSeek && frame >= number) {
            late = sampleTime - TimeOfFrame(grid_, number - 1);
            return false;
        }
        if (frame > number)
            return false;
        next_ = frame + 1;
        numbered_ = true;
        if (frame == number && !firstAfterSeek) {
            sample_ = std::move(sample);
            sampled_ = number;
            return true;
        }
        firstAfterSeek = false;
    }
    return false;
}

}  // namespace kineloop
