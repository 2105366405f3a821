// The WAV loop of the system sound player; the MP3 and CD players live in the portable code.
#include "music/music_players_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/text_win32.h"

namespace kineloop {

bool MusicPlayers::WavePlay(const std::string& bgmFile) {
    if (waveOutGetNumDevs() == 0)
        return false;
    // Without SND_NODEFAULT a file that cannot be played would loop the system's default sound
    // for the whole show instead of leaving it silent.
    const std::wstring path = Widen(bgmFile);
    return PlaySoundW(path.c_str(), nullptr, SND_ASYNC | SND_LOOP | SND_NODEFAULT) != FALSE;
}

void MusicPlayers::WaveStop() {
    PlaySoundW(nullptr, nullptr, 0);
}

}  // namespace kineloop
