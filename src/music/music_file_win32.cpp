// Background music from a file: the MP3 player of the music module, and the WAV loop of the
// system sound player.
#include "music/music_file_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "music/kine_bgm_win32.h"
#include "platform/text_win32.h"

namespace kineloop {

void MusicOpenPlay(const std::string& bgmFile) {
    KineBgmModule().musicFile.MusicOpenPlay(bgmFile);
}

bool MusicIsPlaying() {
    return KineBgmModule().musicFile.MusicIsPlaying();
}

void MusicRepeatCheck() {
    KineBgmModule().musicFile.MusicRepeatCheck();
}

void MusicStop() {
    KineBgmModule().musicFile.MusicStop();
}

bool WavePlay(const std::string& bgmFile) {
    if (waveOutGetNumDevs() == 0)
        return false;
    // Without SND_NODEFAULT a file that cannot be played would loop the system's default sound
    // for the whole show instead of leaving it silent.
    const std::wstring path = Widen(bgmFile);
    return PlaySoundW(path.c_str(), nullptr, SND_ASYNC | SND_LOOP | SND_NODEFAULT) != FALSE;
}

void WaveStop() {
    PlaySoundW(nullptr, nullptr, 0);
}

}  // namespace kineloop
