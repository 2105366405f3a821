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

// How long one open or read of a video may take before it is given up (the platform hangs on
// some damaged files): a failed open then, or a frame that cannot be decoded.
inline constexpr DWORD kCallLimitMs = 4000;

// How long the end of the program waits for the video thread: a key ends the show at once even
// while the platform is still busy with a file.
inline constexpr DWORD kEndVideoWaitMs = 500;

}  // namespace kineloop
