// The playback loop that builds the mosaic, frame by frame, pass after pass.
#pragma once

#include <cstdint>

#include "show/show_session_win32.h"

namespace kineloop {

// Plays the video stream pass after pass and never returns while the show runs: input and
// timers are answered in its pauses. It returns when the video cannot be opened or can never show
// a frame (after the "Error : " message), once `stopAfterFrames` frames have been shown (0: never;
// for benchmarks), or at the first yield after the session's KeepPlaying was cleared.
void PlayFrames(ShowSession& session, uint64_t stopAfterFrames = 0);

// Copies Pic_S into the current tile of Display, shows it, and moves on to the next tile.
void PlaceTile(ShowSession& session);

}  // namespace kineloop
