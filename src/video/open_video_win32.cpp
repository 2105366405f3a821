// The one way the show and the settings dialog open a video: AVIFile first for an AVI file, Media
// Foundation for everything else and for what AVIFile cannot decode.
#include "video/open_video_win32.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <vector>

#include "video/avi_frame_reader_win32.h"
#include "video/file_bytes_win32.h"
#include "video/media_foundation_reader_win32.h"
#include "video/reader_choice.h"
#include "platform/text_win32.h"

namespace kineloop {

namespace {

// The sources open on the video thread; what is left of them at the end is released before Media
// Foundation shuts down. (A thread given up on as stuck may still add to them.)
std::mutex g_liveMutex;
std::vector<FrameSource*> g_live;

void Keep(FrameSource* source) {
    std::lock_guard<std::mutex> lock(g_liveMutex);
    g_live.push_back(source);
}

void Forget(FrameSource* source) {
    {
        std::lock_guard<std::mutex> lock(g_liveMutex);
        g_live.erase(std::remove(g_live.begin(), g_live.end(), source), g_live.end());
    }
    delete source;
}

// A movie file cut short before its header would hang the platform's parser: such a file is
// reported as unreadable without it. So is every file while the platform hangs on one, as it would
// hang on the next too: each then is given up at once instead of after kCallLimitMs.
std::unique_ptr<MediaFoundationReader> OpenWithMediaFoundation(const std::wstring& path) {
    auto reader = std::make_unique<MediaFoundationReader>();
    FileBytes file(path);
    if (VideoThreadStillStuck() || (file.Opened() && !MovieHeaderIsWhole(file)))
        reader->Refuse(path);
    else
        reader->Open(path);
    return reader;
}

std::unique_ptr<FrameSource> OpenHere(const std::wstring& path) {
    if (HasAviExtension(Narrow(path))) {
        auto avi = std::make_unique<AviFrameReader>();
        avi->Open(path);
        if (!MediaFoundationTriesAfterAvi(
                {avi->OpenedFully(), avi->SizeFits(), avi->HasDecoder(), avi->PaletteVideo()}))
            return avi;
        auto other = OpenWithMediaFoundation(path);
        if (!other->HasDecoder()) {
            other->Close();
            return avi;  // says why nothing could show the file
        }
        avi->Close();
        return other;
    }
    return OpenWithMediaFoundation(path);
}

// A source on the video thread, seen from the window thread: the facts are copied once opened,
// every call that touches the file runs over there. A call the platform hangs in is given up
// after kCallLimitMs; the source then reads nothing more and reports its file.
class ThreadedSource final : public FrameSource {
  public:
    ThreadedSource(const std::wstring& path, WaitStyle style)
        : path_(path), style_(style), shared_(std::make_shared<Shared>()) {
        const bool done = RunOnVideoThread(
            [shared = shared_, path] {
                FrameSource* inner = OpenHere(path).release();
                Keep(inner);
                shared->inner = inner;
            },
            style_, kOpenLimitMs);
        FrameSource* inner = done ? shared_->inner : nullptr;
        if (!inner)
            return;
        inner_ = inner;
        library_ = inner->Library();
        openedFully_ = inner->OpenedFully();
        hasDecoder_ = inner->HasDecoder();
        firstFrame_ = inner->FirstFrame();
        frameCount_ = inner->FrameCount();
        frameWidth_ = inner->FrameWidth();
        frameHeight_ = inner->FrameHeight();
        framesPerSecond_ = inner->FramesPerSecond();
        paletteVideo_ = inner->PaletteVideo();
    }
    ~ThreadedSource() override {
        if (SettleAhead())
            RunOnVideoThread([inner = inner_] { Forget(inner); }, style_, kCallLimitMs);
    }

    VideoLibrary Library() const override { return library_; }
    bool OpenedFully() const override { return openedFully_; }
    bool HasDecoder() const override { return hasDecoder_; }
    int32_t FirstFrame() const override { return firstFrame_; }
    int32_t FrameCount() const override { return frameCount_; }
    int32_t FrameWidth() const override { return frameWidth_; }
    int32_t FrameHeight() const override { return frameHeight_; }
    double FramesPerSecond() const override { return framesPerSecond_; }
    bool PaletteVideo() const override { return paletteVideo_; }

    const void* ReadFrame(int32_t number) override {
        if (!inner_ || !hasDecoder_)
            return nullptr;
        // The reads ahead under way are waited for first, so the decoder sees its calls in the
        // order they were asked for. A read ahead that overran is this read overrunning.
        if (!SettleAhead())
            return nullptr;
        if (!RunOnVideoThread(Reading(number), style_, kCallLimitMs)) {
            GiveUp();
            return nullptr;
        }
        return Taken();
    }
    size_t FrameBytes() const override { return hasDecoder_ ? frameBytes_ : 0; }

    bool ReadAhead(int32_t number, FrameWork work) override {
        if (!inner_ || !hasDecoder_ || !work)
            return false;
        VideoTicket ticket = PostToVideoThread(
            [inner = inner_, number, work = std::move(work)] { inner->ReadWith(number, work); });
        if (!ticket)
            return false;
        ahead_.push_back({number, std::move(ticket)});
        return true;
    }

    bool ReadWith(int32_t number, const FrameWork& work) override {
        if (!inner_ || !hasDecoder_ || !work || !SettleAhead())
            return false;
        // The work is copied to the video thread: a read given up on may run it later still.
        if (!RunOnVideoThread([inner = inner_, number, work] { inner->ReadWith(number, work); },
                              style_, kCallLimitMs)) {
            GiveUp();
            return false;
        }
        return true;
    }

    bool TakeAhead(int32_t number) override {
        if (ahead_.empty() || ahead_.front().number != number)
            return false;
        const VideoTicket ticket = std::move(ahead_.front().ticket);
        ahead_.pop_front();
        // Each read ahead has its own time limit from when it was asked for.
        if (inner_ && WaitForVideoWork(ticket, style_, kCallLimitMs))
            return true;
        GiveUp();
        return false;
    }

    bool Close() override {
        if (closed_)
            return false;
        closed_ = true;
        if (!SettleAhead())
            return true;  // never opened, or given up: the file could not be read
        hasDecoder_ = false;
        bool report = false;
        if (!RunOnVideoThread(
                [shared = shared_, inner = inner_] { shared->report = inner->Close(); }, style_,
                kCallLimitMs)) {
            GiveUp();
            return true;
        }
        report = shared_->report;
        return report;
    }
    bool GivenUp() const override { return givenUp_; }
    const std::wstring& Path() const override { return path_; }

  private:
    // What the video thread hands back; it outlives a call given up on.
    struct Shared {
        FrameSource* inner = nullptr;
        const void* frame = nullptr;
        size_t frameBytes = 0;
        bool report = false;
    };

    // Reads frame `number` on the video thread into shared_, which outlives a read given up on.
    std::function<void()> Reading(int32_t number) const {
        return [shared = shared_, inner = inner_, number] {
            shared->frame = inner->ReadFrame(number);
            shared->frameBytes = inner->FrameBytes();
        };
    }
    // The result of the read just waited for.
    const void* Taken() {
        frameBytes_ = shared_->frameBytes;
        return shared_->frame;
    }

    // Waits for the reads ahead under way, in order, each within its own time limit from when it
    // was asked for. False when the source is gone: never opened, or given up on (now, when a
    // read ahead overran).
    bool SettleAhead() {
        std::deque<Ahead> ahead;
        ahead.swap(ahead_);
        for (const Ahead& read : ahead) {
            if (inner_ && !WaitForVideoWork(read.ticket, style_, kCallLimitMs))
                GiveUp();
        }
        return inner_ != nullptr;
    }

    // The source stays with the stuck thread; nothing here touches it again.
    void GiveUp() {
        givenUp_ = inner_ != nullptr;
        inner_ = nullptr;
        hasDecoder_ = false;
        ahead_.clear();
    }

    struct Ahead {
        int32_t number = 0;
        VideoTicket ticket;
    };

    std::wstring path_;
    WaitStyle style_;
    std::shared_ptr<Shared> shared_;
    FrameSource* inner_ = nullptr;  // lives on the video thread
    std::deque<Ahead> ahead_;       // the reads ahead under way, oldest first
    size_t frameBytes_ = 0;         // of the last frame handed out
    bool closed_ = false;
    bool givenUp_ = false;  // after it was opened
    VideoLibrary library_ = VideoLibrary::AviFile;
    bool openedFully_ = false;
    bool hasDecoder_ = false;
    bool paletteVideo_ = false;
    int32_t firstFrame_ = 0, frameCount_ = 0, frameWidth_ = 0, frameHeight_ = 0;
    double framesPerSecond_ = 0;
};

}  // namespace

std::unique_ptr<FrameSource> OpenFrameSource(const std::wstring& path, WaitStyle style) {
    return std::make_unique<ThreadedSource>(path, style);
}

bool EndVideo(DWORD limitMs) {
    return EndVideoThread(
        [] {
            std::vector<FrameSource*> live;
            {
                std::lock_guard<std::mutex> lock(g_liveMutex);
                live.swap(g_live);
            }
            for (FrameSource* source : live)
                delete source;
        },
        limitMs);
}

}  // namespace kineloop
