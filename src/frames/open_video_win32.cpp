// The one way the show and the settings dialog open a video: AVIFile first for an AVI file, Media
// Foundation for everything else and for what AVIFile cannot decode.
#include "frames/open_video_win32.h"

#include <algorithm>
#include <vector>

#include "frames/avi_frame_reader_win32.h"
#include "frames/media_foundation_reader_win32.h"
#include "frames/video_kind.h"
#include "platform/text_win32.h"

namespace kineloop {

namespace {

// The sources open on the video thread, touched only there; what is left of them at the end is
// released before Media Foundation shuts down.
std::vector<FrameSource*>& LiveSources() {
    static std::vector<FrameSource*> live;
    return live;
}

void Forget(FrameSource* source) {
    std::vector<FrameSource*>& live = LiveSources();
    live.erase(std::remove(live.begin(), live.end(), source), live.end());
    delete source;
}

std::unique_ptr<FrameSource> OpenHere(const std::wstring& path) {
    if (HasAviExtension(Narrow(path))) {
        auto avi = std::make_unique<AviFrameReader>();
        avi->Open(path);
        if (!MediaFoundationTriesAfterAvi(
                {avi->OpenedFully(), avi->HasDecoder(), avi->PaletteVideo()}))
            return avi;
        auto other = std::make_unique<MediaFoundationReader>();
        other->Open(path);
        if (!other->HasDecoder()) {
            other->Close();
            return avi;  // says why nothing could show the file
        }
        avi->Close();
        return other;
    }
    auto reader = std::make_unique<MediaFoundationReader>();
    reader->Open(path);
    return reader;
}

// A source on the video thread, seen from the window thread: the facts are copied once opened,
// every call that touches the file runs over there.
class ThreadedSource final : public FrameSource {
  public:
    ThreadedSource(const std::wstring& path, WaitStyle style) : path_(path), style_(style) {
        RunOnVideoThread(
            [this] {
                inner_ = OpenHere(path_).release();
                LiveSources().push_back(inner_);
                library_ = inner_->Library();
                openedFully_ = inner_->OpenedFully();
                hasDecoder_ = inner_->HasDecoder();
                firstFrame_ = inner_->FirstFrame();
                frameCount_ = inner_->FrameCount();
                frameWidth_ = inner_->FrameWidth();
                frameHeight_ = inner_->FrameHeight();
                framesPerSecond_ = inner_->FramesPerSecond();
            },
            style_);
    }
    ~ThreadedSource() override {
        if (inner_)
            RunOnVideoThread([this] { Forget(inner_); }, style_);
    }

    VideoLibrary Library() const override { return library_; }
    bool OpenedFully() const override { return openedFully_; }
    bool HasDecoder() const override { return hasDecoder_; }
    int32_t FirstFrame() const override { return firstFrame_; }
    int32_t FrameCount() const override { return frameCount_; }
    int32_t FrameWidth() const override { return frameWidth_; }
    int32_t FrameHeight() const override { return frameHeight_; }
    double FramesPerSecond() const override { return framesPerSecond_; }

    const void* ReadFrame(int32_t number) override {
        const void* frame = nullptr;
        if (inner_ && hasDecoder_) {
            RunOnVideoThread(
                [&] {
                    frame = inner_->ReadFrame(number);
                    frameBytes_ = inner_->FrameBytes();
                },
                style_);
        }
        return frame;
    }
    size_t FrameBytes() const override { return hasDecoder_ ? frameBytes_ : 0; }

    bool Close() override {
        if (closed_)
            return false;
        closed_ = true;
        hasDecoder_ = false;
        // A source the video thread could not even start for reports its file too.
        bool report = !inner_;
        if (inner_)
            RunOnVideoThread([&] { report = inner_->Close(); }, style_);
        return report;
    }
    const std::wstring& Path() const override { return path_; }

  private:
    std::wstring path_;
    WaitStyle style_;
    FrameSource* inner_ = nullptr;  // lives on the video thread
    bool closed_ = false;
    VideoLibrary library_ = VideoLibrary::AviFile;
    bool openedFully_ = false;
    bool hasDecoder_ = false;
    int32_t firstFrame_ = 0, frameCount_ = 0, frameWidth_ = 0, frameHeight_ = 0;
    double framesPerSecond_ = 0;
    size_t frameBytes_ = 0;
};

}  // namespace

std::unique_ptr<FrameSource> OpenFrameSource(const std::wstring& path, WaitStyle style) {
    return std::make_unique<ThreadedSource>(path, style);
}

void EndVideo(DWORD limitMs) {
    EndVideoThread(
        [] {
            std::vector<FrameSource*>& live = LiveSources();
            for (FrameSource* source : live)
                delete source;
            live.clear();
        },
        limitMs);
}

}  // namespace kineloop
