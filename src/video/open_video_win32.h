// The one way the show and the settings dialog open a video: AVIFile first for an AVI file, Media
// Foundation for everything else and for what AVIFile cannot decode. Every call of the source
// runs on the video thread while the caller's window messages go on.
#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "video/frame_source.h"
#include "video/video_thread_win32.h"

namespace kineloop {

// Opens `path` with the reader that can show it. When none can, the source it returns says why,
// as a reader that failed does: Close reports an unreadable file, and an AVI file that AVIFile
// read without a decoder has no decoder. `style` says which messages run while it waits.
std::unique_ptr<FrameSource> OpenFrameSource(const std::wstring& path, WaitStyle style);

// Releases the sources still open and shuts the video thread down, waiting at most `limitMs`;
// run on every way out of the program once a video may have been opened. False when a thread is
// left stuck in the platform: the program must then end with TerminateProcess, as the platform's
// own ending would crash.
bool EndVideo(DWORD limitMs);

// How long a read or close of a video may go without progress (a decoded sample) before it is
// given up as stuck in the platform, which hangs on some damaged files.
inline constexpr DWORD kCallLimitMs = 4000;
// The same for an open, which shows no progress while the platform parses the file: long enough
// for a disk that has to wake (5 s and more) and a slow share on which the platform's many small
// reads add up. The show can be ended and the dialog paints meanwhile.
inline constexpr DWORD kOpenLimitMs = 15000;

// How long the end of the program waits for the video thread: a key ends the show at once even
// while the platform is still busy with a file.
inline constexpr DWORD kEndVideoWaitMs = 500;

}  // namespace kineloop
