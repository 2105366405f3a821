// The show's background music: one command channel on the real media control interface, the MP3
// and audio CD players that send through it, and the WAV loop of the system sound player. The
// window that plays music owns one; nothing of it outlives that window.
#pragma once

#include <cstdint>
#include <string>

#include "music/audio_cd_player.h"
#include "music/mci_channel.h"
#include "music/mci_port_win32.h"
#include "music/music_file_player.h"

namespace kineloop {

class MusicPlayers {
  public:
    MusicPlayers() = default;
    // The players refer to the channel, and the channel to the port: the object stays put.
    MusicPlayers(const MusicPlayers&) = delete;
    MusicPlayers& operator=(const MusicPlayers&) = delete;

    // The MP3 file (UTF-8 path) under the alias "MP3Play".
    void MusicOpenPlay(const std::string& bgmFile) { musicFile_.MusicOpenPlay(bgmFile); }
    bool MusicIsPlaying() { return musicFile_.MusicIsPlaying(); }
    void MusicRepeatCheck() { musicFile_.MusicRepeatCheck(); }
    void MusicStop() { musicFile_.MusicStop(); }

    // Loops the WAV file (UTF-8 path); returns whether the sound player took it.
    bool WavePlay(const std::string& bgmFile);
    void WaveStop();

    // The audio CD.
    void CdOpen() { audioCd_.CdOpen(); }
    void CdPoll(int16_t bgmRepeat) { audioCd_.CdPoll(bgmRepeat); }
    void CdStop() { audioCd_.CdStop(); }
    // Whether the show's poll timer is to keep running after the last poll.
    bool CdPollActive() const { return audioCd_.CdPollActive(); }

    // The channel both players send through, with the last command's reply and error.
    MciChannel& Channel() { return channel_; }

  private:
    WinMciPort port_;
    MciChannel channel_{port_};
    MusicFilePlayer musicFile_{channel_};
    AudioCdPlayer audioCd_{channel_};
};

}  // namespace kineloop
