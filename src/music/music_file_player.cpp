// The MP3 music file's commands and repeat rule.
#include "music/music_file_player.h"

namespace kineloop {

namespace {

std::string MusicOpenCommand(const std::string& bgmFile) {
    return "open \"" + bgmFile + "\" type MPEGVideo Alias MP3Play";
}

}  // namespace

void MusicFilePlayer::MusicOpenPlay(const std::string& bgmFile) {
    if (channel_.Send(MusicOpenCommand(bgmFile)) == 0)
        channel_.Send("play MP3Play");
}

bool MusicFilePlayer::MusicIsPlaying() {
    // A failed query keeps the last answer, so a device that stops answering is left alone.
    channel_.SendInto("status MP3Play mode", modeAnswer_);
    return modeAnswer_.StartsWith("playing");
}

void MusicFilePlayer::MusicRepeatCheck() {
    if (MusicIsPlaying())
        return;
    channel_.Send("stop MP3Play");
    channel_.Send("play MP3Play from 0");
}

void MusicFilePlayer::MusicStop() {
    channel_.Send("stop MP3Play");
    channel_.Send("close MP3Play");
}

}  // namespace kineloop
