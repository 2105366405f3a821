// Which player a music file goes to: the last three characters of its path, upper-cased.
#pragma once

#include <string>

namespace kineloop {

inline constexpr char kMp3Kind[] = "MP3";
inline constexpr char kWavKind[] = "WAV";

// The last three characters of `bgmFile` (UTF-8), ASCII letters upper-cased: "MP3" for
// "song.mp3"; a shorter path gives all of it.
std::string MusicFileKind(const std::string& bgmFile);

}  // namespace kineloop
