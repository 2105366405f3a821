// Background music from a file, as the show window starts, keeps and ends it: an MP3 file through
// the media control interface, a WAV file looped by the system sound player.
#pragma once

#include <string>

namespace kineloop {

void MusicOpenPlay(const std::string& bgmFile);  // UTF-8 path
bool MusicIsPlaying();
void MusicRepeatCheck();
void MusicStop();
// Loops the WAV file (UTF-8 path); returns whether the sound player took it.
bool WavePlay(const std::string& bgmFile);
void WaveStop();

}  // namespace kineloop
