// The playback loop that builds the mosaic, frame by frame, pass after pass.
#pragma once

#include <cstdint>

#include "show/show_session_win32.h"

namespace kineloop {

// Plays the video stream pass after pass and never returns while the show runs: input and
// timers are answered in its pauses. It returns when the video cannot be opened (after the
// reader's message), or once `stopAfterFrames` frames have been shown (0: never; for benchmarks).
void PlayFrames(ShowSession& session, uint64_t stopAfterFrames = 0);

// Copies Pic_S into the current tile of Display, shows it, and moves on to the next tile.
void PlaceTile(ShowSession& session);

}  // namespace kineloop
