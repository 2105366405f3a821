// The MP3 music file: opened under the alias "MP3Play", started, restarted from its beginning
// whenever it has stopped, and closed at the end of the show.
#pragma once

#include <string>

#include "music/mci_channel.h"

namespace kineloop {

inline constexpr size_t kMusicModeLength = 30;

class MusicFilePlayer {
  public:
    explicit MusicFilePlayer(MciChannel& channel) : channel_(channel) {}

    // Opens the file and, when that worked, starts it; a failure leaves the show silent.
    void MusicOpenPlay(const std::string& bgmFile);
    // Whether the device last answered the mode "playing".
    bool MusicIsPlaying();
    // Starts the music again from its beginning when it is no longer playing.
    void MusicRepeatCheck();
    void MusicStop();

  private:
    MciChannel& channel_;
    AnswerBuffer modeAnswer_{kMusicModeLength};
};

}  // namespace kineloop
