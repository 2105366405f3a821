// The show's loop as it ran before its tiles were sampled from the decoder's own buffer: each
// frame converted whole to a 24-bit bitmap and stretched by GDI with COLORONCOLOR on the video
// thread, two frames ahead, then through the scratch file and onto the screen as now.
#pragma once

#include <cstdint>

#include "show/show_session_win32.h"

namespace kineloop::bench {

// Shows `frames` frames of the session's video, every frame in order (a step of 1), pausing
// Fast milliseconds after each.
void PlayFramesBefore(ShowSession& session, uint64_t frames);

}  // namespace kineloop::bench
