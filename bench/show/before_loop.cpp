// The show's loop as it ran before its tiles were sampled from the decoder's own buffer.
#include "before_loop.h"

#include <cstdlib>
#include <deque>
#include <memory>
#include <vector>

#include "bitmap/packed_frame.h"
#include "platform/handles_win32.h"
#include "platform/message_pump_win32.h"
#include "platform/text_win32.h"
#include "scratch/bitmap_file.h"
#include "scratch/scratch_file_win32.h"
#include "scratch/stretched_frame_win32.h"
#include "scratch/tile_picture.h"
#include "show/play_frames_win32.h"
#include "video/open_video_win32.h"
#include "video/yuv_to_dib.h"

namespace kineloop::bench {
namespace {

// One picture ahead: the whole frame converted (as the Media Foundation reader did for every
// frame) and stretched by GDI into a DIB section of the kept size.
class GdiStretched {
  public:
    GdiStretched() = default;
    GdiStretched(const GdiStretched&) = delete;
    GdiStretched& operator=(const GdiStretched&) = delete;
    ~GdiStretched() {
        if (dc_ && original_)
            SelectObject(dc_.Get(), original_);
    }

    void Make(const DecodedFrame& frame, int width, int height, int limitWidth, int limitHeight) {
        made_ = false;
        const void* packed = frame.packed;
        size_t bytes = frame.bytes;
        if (frame.sample) {
            if (!SampleToPackedDib(*frame.sample, frame.rotation, whole_))
                return;
            packed = whole_.data();
            bytes = whole_.size();
        }
        const std::optional<DibHeader> header = AcceptPackedFrame(packed, bytes);
        const std::optional<PictureSize> kept =
            KeptPictureSize(width, height, limitWidth, limitHeight);
        if (!header || !kept || !Resize(kept->width, kept->height))
            return;
        made_ =
            StretchRows(dc_.Get(), *header, static_cast<const uint8_t*>(packed) + kDibHeaderBytes,
                        0, 0, width, height);
        GdiFlush();
    }
    bool Made() const { return made_; }
    const DibHeader& Header() const { return header_; }
    const uint8_t* Rows() const { return static_cast<const uint8_t*>(bits_); }

  private:
    bool Resize(int width, int height) {
        if (bits_ && header_.biWidth == width && header_.biHeight == height)
            return true;
        const std::optional<DibHeader> header = TilePictureHeader(width, height);
        if (!header)
            return false;
        if (dc_ && original_)
            SelectObject(dc_.Get(), original_);
        BITMAPINFO info{};
        EncodeDibHeader(*header, reinterpret_cast<uint8_t*>(&info.bmiHeader));
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_.Reset(CreateCompatibleDC(nullptr));
        if (!bitmap_ || !dc_ || !bits_)
            return bits_ = nullptr, false;
        original_ = SelectObject(dc_.Get(), bitmap_.Get());
        SetStretchBltMode(dc_.Get(), COLORONCOLOR);
        header_ = *header;
        return true;
    }

    std::vector<uint8_t> whole_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    void* bits_ = nullptr;
    DibHeader header_;
    bool made_ = false;
};

}  // namespace

void PlayFramesBefore(ShowSession& s, uint64_t frames) {
    const std::unique_ptr<FrameSource> source =
        OpenFrameSource(Widen(s.settings.AVI_File), WaitStyle::AllMessages);
    FrameSource& reader = *source;
    if (!reader.OpenedFully() || !reader.HasDecoder() || reader.FrameCount() < 1)
        return;
    RECT screen{};
    GetClientRect(s.display, &screen);
    const int width = s.settings.Pic_Width, height = s.settings.Pic_Height;
    const DWORD pause = s.settings.Fast > 0 ? static_cast<DWORD>(s.settings.Fast) : 0;
    std::shared_ptr<GdiStretched> pictures[2] = {std::make_shared<GdiStretched>(),
                                                 std::make_shared<GdiStretched>()};
    const auto numberOf = [&](uint64_t i) {
        return reader.FirstFrame() +
               static_cast<int32_t>(i % static_cast<uint64_t>(reader.FrameCount()));
    };
    const auto readAhead = [&](uint64_t i) {
        const std::shared_ptr<GdiStretched> into = pictures[i % 2];
        const int right = screen.right, bottom = screen.bottom;
        reader.ReadAhead(numberOf(i), [into, width, height, right, bottom](const DecodedFrame& f) {
            into->Make(f, width, height, right, bottom);
        });
    };
    ScratchFile scratch;
    Picture picture;
    s.KeepPlaying = true;
    readAhead(0);
    readAhead(1);
    for (uint64_t i = 0; i < frames && s.KeepPlaying; ++i) {
        if (!reader.TakeAhead(numberOf(i)))
            return;
        const GdiStretched& frame = *pictures[i % 2];
        if (frame.Made() &&
            scratch.PassThrough(BitmapFileHeaders(frame.Header()), frame.Rows(),
                                frame.Header().biSizeImage,
                                picture) == ScratchFile::Trip::kReadBack &&
            s.picS.Resize(picture.header.biWidth, std::abs(picture.header.biHeight)))
            StretchPicture(s.picS.Dc(), picture, 0, 0, picture.header.biWidth,
                           std::abs(picture.header.biHeight));
        readAhead(i + 2);
        PlaceTile(s);
        PauseWhile(s.KeepPlaying, pause);
    }
}

}  // namespace kineloop::bench
