// The show's loop with a clock between its steps, to see where a frame's time goes.
#include "timed_loop.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "bench/bench_clock.h"
#include "video/open_video_win32.h"
#include "video/tile_sampler.h"
#include "scratch/bitmap_file.h"
#include "scratch/stretched_frame_win32.h"
#include "scratch/scratch_file_win32.h"
#include "platform/handles_win32.h"
#include "platform/message_pump_win32.h"
#include "platform/text_win32.h"
#include "show/play_frames_win32.h"

namespace kineloop::bench {
namespace {

class Clock {
  public:
    explicit Clock(StepTimes* times) : times_(times), last_(times ? Seconds() : 0) {}
    // Ends step `index`, called `name`.
    void Lap(int index, const char* name) {
        if (!times_)
            return;
        const double now = Seconds();
        times_->names[index] = name;
        times_->seconds[index] += now - last_;
        times_->steps = std::max(times_->steps, index + 1);
        last_ = now;
    }

  private:
    StepTimes* times_;
    double last_;
};

// Runs `step` for each frame number of the session's video, round and round, until `frames`
// frames were shown: each frame read and sampled to its tile on the video thread as the show
// does it, then handed to `step` with the clock running, which reports whether it was shown.
template <typename Step>
void ForEachFrame(ShowSession& s, uint64_t frames, StepTimes& times, Step step) {
    const std::unique_ptr<FrameSource> source =
        OpenFrameSource(Widen(s.settings.AVI_File), WaitStyle::AllMessages);
    FrameSource& reader = *source;
    if (!reader.OpenedFully() || !reader.HasDecoder() || reader.FrameCount() < 1)
        return;
    RECT screen{};
    GetClientRect(s.display, &screen);
    const TileShape shape{s.settings.Pic_Width, s.settings.Pic_Height, screen.right, screen.bottom};
    const auto scaled = std::make_shared<StretchedFrame>();
    uint64_t shown = 0;
    for (uint64_t attempts = 0; shown < frames && attempts < 4 * frames; ++attempts) {
        const int32_t number =
            reader.FirstFrame() +
            static_cast<int32_t>(attempts % static_cast<uint64_t>(reader.FrameCount()));
        Clock clock(&times);
        // The sampling alone is timed on the video thread: it lies between the decoder's reads.
        double sampling = 0;
        reader.ReadWith(number, [scaled, shape, &sampling](const DecodedFrame& frame) {
            const double start = Seconds();
            scaled->MakeWith(shape, FrameSamplable(frame),
                             [&](TileImage& image, int width, int height) {
                                 return SampleFrameToTile(frame, width, height, image);
                             });
            sampling = Seconds() - start;
        });
        times.samplingSeconds += sampling;
        clock.Lap(0, "read and sample");
        if (scaled->Made() == StretchedFrame::Outcome::kStretched && step(*scaled, clock))
            ++shown;
    }
}

DWORD PauseOf(const ShowSession& s) {
    return s.settings.Fast > 0 ? static_cast<DWORD>(s.settings.Fast) : 0;
}

}  // namespace

void PlayFramesTimed(ShowSession& s, uint64_t frames, StepTimes& times) {
    ScratchFile scratch;
    Picture picture;
    UniqueHandle file(CreateFileW(scratch.Path().c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file)
        return;
    ForEachFrame(s, frames, times, [&](const StretchedFrame& scaled, Clock& clock) {
        // ScratchFile::PassThrough's calls one by one, to see where the trip's time goes.
        const DibHeader& header = scaled.Header();
        const auto headers = BitmapFileHeaders(header);
        LARGE_INTEGER start{};
        DWORD done = 0;
        if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) ||
            !WriteFile(file.Get(), headers.data(), headers.size(), &done, nullptr) ||
            !WriteFile(file.Get(), scaled.Rows(), header.biSizeImage, &done, nullptr))
            return false;
        clock.Lap(1, "write");
        picture.bits.resize(header.biSizeImage);
        uint8_t back[kBitmapHeadersBytes];
        if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) ||
            !ReadFile(file.Get(), back, sizeof back, &done, nullptr) ||
            !ReadFile(file.Get(), picture.bits.data(), header.biSizeImage, &done, nullptr))
            return false;
        std::memcpy(&picture.header, back + kFileHeaderBytes, sizeof picture.header);
        clock.Lap(2, "read back");
        if (s.picS.Resize(header.biWidth, header.biHeight))
            StretchPicture(s.picS.Dc(), picture, 0, 0, header.biWidth, header.biHeight);
        clock.Lap(3, "into Pic_S");
        PlaceTile(s);
        clock.Lap(4, "place");
        PauseWithMessages(PauseOf(s));
        clock.Lap(5, "pause");
        ++times.frames;
        return true;
    });
}

}  // namespace kineloop::bench
