// The one thread on which the process opens, reads and closes its video files. COM and Media
// Foundation are started on it once and shut down by EndVideoThread.
#include "video/video_thread_win32.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

#include <mfapi.h>
#include <objbase.h>

#include "platform/handles_win32.h"
#include "platform/message_pump_win32.h"

namespace kineloop {

namespace {
struct VideoThread;
}

// One piece of work for the video thread, shared by the queue and whoever waits for it. Its end is
// a flag, not an event of its own: a show hands over hundreds of frames a second, and under Wine
// making, setting and closing an event are each a trip to the server.
struct VideoTask {
    std::function<void()> work;
    VideoThread* thread = nullptr;  // the thread it was queued on
    std::mutex mutex;
    bool finished = false;
    HANDLE waiter = nullptr;  // the waiting thread's wake event, while it waits

    void Finish() {
        HANDLE wake = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex);
            finished = true;
            wake = waiter;
        }
        if (wake)
            SetEvent(wake);
    }
    bool Finished() {
        std::lock_guard<std::mutex> lock(mutex);
        return finished;
    }
    // Finished, or else `wake` is set once it is.
    bool FinishedOrWake(HANDLE wake) {
        std::lock_guard<std::mutex> lock(mutex);
        waiter = finished ? nullptr : wake;
        return finished;
    }
    void StopWaking() {
        std::lock_guard<std::mutex> lock(mutex);
        waiter = nullptr;
    }
};

namespace {

using Task = VideoTask;

// The thread and its queue. Only ever one; it lives until EndVideoThread or the end of the
// program.
struct VideoThread {
    std::mutex mutex;
    std::deque<std::shared_ptr<Task>> queue;
    UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    UniqueHandle thread;
    DWORD threadId = 0;
    bool ending = false;
    bool sleeping = false;  // waiting for `wake`: only then is it set, which saves a server trip
    // The last sign of life of the work under way: when it started, or its last progress. Work
    // waited for is stuck only when the thread is busy and this is older than the limit.
    std::atomic<bool> busy{false};
    std::atomic<ULONGLONG> lastSign{0};
    bool givenUp = false;  // under g_startMutex
};

std::mutex g_startMutex;
// The thread in use: made when first needed, never freed (the program ends with it, and a thread
// given up on as stuck still uses its queue).
VideoThread* g_thread = nullptr;
bool g_stuck = false;  // a thread was given up on
int g_stillStuck = 0;  // threads given up on that have not come back from their work
thread_local bool t_mediaFoundation = false;
thread_local VideoThread* t_thread = nullptr;  // on the video thread, itself

std::shared_ptr<Task> NextTask(VideoThread& video) {
    std::lock_guard<std::mutex> lock(video.mutex);
    if (video.queue.empty())
        return nullptr;
    std::shared_ptr<Task> task = std::move(video.queue.front());
    video.queue.pop_front();
    return task;
}

DWORD WINAPI VideoThreadMain(void* parameter) {
    VideoThread& video = *static_cast<VideoThread*>(parameter);
    t_thread = &video;
    // A single-threaded apartment, as AVIFile's objects expect; it pumps its messages below.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    t_mediaFoundation = SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_FULL));
    for (;;) {
        while (std::shared_ptr<Task> task = NextTask(video)) {
            video.lastSign = GetTickCount64();
            video.busy = true;
            task->work();
            video.busy = false;
            task->Finish();
            std::lock_guard<std::mutex> lock(g_startMutex);
            if (video.givenUp) {
                // Back from the platform after all: a disk that was slow, not a hang.
                video.givenUp = false;
                --g_stillStuck;
            }
        }
        {
            std::lock_guard<std::mutex> lock(video.mutex);
            if (!video.queue.empty())
                continue;
            if (video.ending)
                break;
            video.sleeping = true;
        }
        const HANDLE wake = video.wake.Get();
        if (MsgWaitForMultipleObjects(1, &wake, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            PumpPendingMessages();
    }
    if (t_mediaFoundation)
        MFShutdown();
    t_mediaFoundation = false;
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

VideoThread* StartedThread() {
    std::lock_guard<std::mutex> lock(g_startMutex);
    if (!g_thread) {
        auto video = std::make_unique<VideoThread>();
        if (!video->wake)
            return nullptr;
        video->thread.Reset(
            CreateThread(nullptr, 0, VideoThreadMain, video.get(), 0, &video->threadId));
        if (!video->thread)
            return nullptr;
        g_thread = video.release();
    }
    return g_thread->ending ? nullptr : g_thread;
}

std::shared_ptr<Task> Queue(VideoThread& video, const std::function<void()>& work, bool last) {
    auto task = std::make_shared<Task>();
    task->work = work;
    task->thread = &video;
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(video.mutex);
        video.queue.push_back(task);
        if (last)
            video.ending = true;
        wake = std::exchange(video.sleeping, false);
    }
    if (wake)
        SetEvent(video.wake.Get());
    return task;
}

// Waits until `done()` with the messages of `style` running, for as long as `thread` (when given)
// shows a sign of life at least every `limitMs` while it is busy: time in the queue, and work that
// goes on making progress, never count against the limit. `wake` is set whenever `done()` may have
// become true.
bool WaitRunning(HANDLE wake, const std::function<bool()>& done, WaitStyle style, DWORD limitMs,
                 const VideoThread* thread) {
    const DWORD wakeOn = style == WaitStyle::AllMessages
                             ? QS_ALLINPUT
                             : QS_PAINT | QS_TIMER | QS_POSTMESSAGE | QS_SENDMESSAGE;
    for (;;) {
        if (done())
            return true;
        DWORD left = INFINITE;
        if (limitMs != INFINITE) {
            left = limitMs;
            if (thread && thread->busy) {
                const ULONGLONG quiet = GetTickCount64() - thread->lastSign;
                if (quiet >= limitMs)
                    return done();
                left = static_cast<DWORD>(limitMs - quiet);
            }
        }
        const DWORD woke = MsgWaitForMultipleObjects(1, &wake, FALSE, left, wakeOn);
        if (woke == WAIT_OBJECT_0 + 1) {
            if (style == WaitStyle::AllMessages)
                PumpPendingMessages();
            else
                PumpPendingMessagesExceptInput();
        }
    }
}

}  // namespace

VideoTicket PostToVideoThread(const std::function<void()>& work) {
    if (g_thread && g_thread->threadId == GetCurrentThreadId()) {
        // Already there: done at once, and the ticket says so.
        auto task = std::make_shared<Task>();
        work();
        task->finished = true;
        return task;
    }
    VideoThread* video = StartedThread();
    return video ? Queue(*video, work, false) : nullptr;
}

bool WaitForVideoWork(const VideoTicket& ticket, WaitStyle style, DWORD limitMs) {
    if (!ticket)
        return false;
    // Each waiting thread has one wake event of its own, for every task it waits for.
    thread_local UniqueHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    if (!wake)
        return false;
    VideoTask& task = *ticket;
    const bool finished = WaitRunning(
        wake.Get(), [&] { return task.FinishedOrWake(wake.Get()); }, style, limitMs, task.thread);
    task.StopWaking();
    if (finished)
        return true;
    // Stuck in the platform: the thread keeps what it holds, and later work goes to a new one.
    std::lock_guard<std::mutex> lock(g_startMutex);
    if (g_thread == ticket->thread)
        g_thread = nullptr;
    g_stuck = true;
    // Only if it is in that work still: it may have come back while the lock was awaited.
    if (!ticket->thread->givenUp && !task.Finished()) {
        ticket->thread->givenUp = true;
        ++g_stillStuck;
    }
    return false;
}

bool RunOnVideoThread(const std::function<void()>& work, WaitStyle style, DWORD limitMs) {
    if (g_thread && g_thread->threadId == GetCurrentThreadId()) {
        work();  // already there
        return true;
    }
    return WaitForVideoWork(PostToVideoThread(work), style, limitMs);
}

void ReportVideoProgress() {
    if (t_thread)
        t_thread->lastSign = GetTickCount64();
}

bool VideoThreadGaveUp() {
    std::lock_guard<std::mutex> lock(g_startMutex);
    return g_stuck;
}

bool VideoThreadStillStuck() {
    std::lock_guard<std::mutex> lock(g_startMutex);
    return g_stillStuck > 0;
}

bool MediaFoundationReady() {
    return t_mediaFoundation;
}

bool EndVideoThread(const std::function<void()>& release, DWORD limitMs) {
    VideoThread* video = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_startMutex);
        video = g_thread;
    }
    if (VideoThreadGaveUp())
        return false;  // shutting the platform down beside a stuck thread crashes it
    if (!video || video->threadId == GetCurrentThreadId())
        return true;
    if (!Queue(*video, release, true))
        return false;
    // Only the input is kept back: a click or key must not start ending the program again.
    const HANDLE thread = video->thread.Get();
    const bool ended = WaitRunning(
        thread, [thread] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; },
        WaitStyle::NoInput, limitMs, nullptr);
    std::lock_guard<std::mutex> lock(g_startMutex);
    return ended && !g_stuck;
}

}  // namespace kineloop
