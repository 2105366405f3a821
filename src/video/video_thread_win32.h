// The one thread on which the process opens, reads and closes its video files. COM and Media
// Foundation are started on it once and shut down by EndVideoThread. The window thread waits for
// it with its own messages running, so a file the platform takes long over never freezes a window.
#pragma once

#include <functional>
#include <memory>

#include <windows.h>

namespace kineloop {

// Which of the waiting thread's messages run while it waits.
enum class WaitStyle {
    AllMessages,  // everything: the show, which a click or key ends meanwhile
    NoInput,      // painting, timers, posted and sent messages; input waits its turn (the dialog)
};

// Runs `work` on the video thread (started when first needed) and returns once it is done, or
// once the thread has shown no sign of life for `limitMs` (ReportVideoProgress): the platform can
// hang on a damaged file. A thread that overran is left to
// itself (`work` must then own everything it touches) and the next call starts a new one. False
// when `work` did not finish in time or the thread could not be started.
bool RunOnVideoThread(const std::function<void()>& work, WaitStyle style, DWORD limitMs = INFINITE);

// Work queued on the video thread that nobody waits for yet (PostToVideoThread).
struct VideoTask;
using VideoTicket = std::shared_ptr<VideoTask>;

// Queues `work` on the video thread and returns at once, so the caller goes on meanwhile; `work`
// must own or share everything it touches. Null when the thread could not be started (`work` then
// never runs). Work queued earlier runs first.
VideoTicket PostToVideoThread(const std::function<void()>& work);

// Waits for posted work as RunOnVideoThread does: the clock runs only while the thread is busy
// and is set back by every sign of life, so time in the queue never counts. Work that overran
// gives up its thread as stuck, just the same. False then or for a null ticket.
bool WaitForVideoWork(const VideoTicket& ticket, WaitStyle style, DWORD limitMs = INFINITE);

// Says, on the video thread, that the work under way is getting on (a sample decoded, bytes
// read), so a long task that keeps moving is not taken for a hang. Does nothing elsewhere.
void ReportVideoProgress();

// Whether a video thread was given up on as stuck in the platform, ever.
bool VideoThreadGaveUp();

// Whether a thread given up on is still in the work it was given up in: a true hang, in which
// Wine's Media Foundation hangs every later open too. One that came back was only slow.
bool VideoThreadStillStuck();

// Whether Media Foundation is started (true only on the video thread, once it started it).
bool MediaFoundationReady();

// Ends the video thread before the program ends: `release` runs on it first (objects that would
// outlive Media Foundation), then Media Foundation and COM are shut down. Waits at most
// `limitMs` for work still running there. Does nothing when the thread never started. False when
// a thread is left stuck in the platform (now or given up on before): the platform's own ending
// would then crash, and the program must end without it (TerminateProcess).
bool EndVideoThread(const std::function<void()>& release, DWORD limitMs);

}  // namespace kineloop
