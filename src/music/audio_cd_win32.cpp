// Background music from the audio CD: the CD player of the music module.
#include "music/audio_cd_win32.h"

#include "music/kine_bgm_win32.h"

namespace kineloop {

void CdOpen() {
    KineBgmModule().audioCd.CdOpen();
}

void CdPoll(int16_t bgmRepeat) {
    KineBgmModule().audioCd.CdPoll(bgmRepeat);
}

void CdStop() {
    KineBgmModule().audioCd.CdStop();
}

bool CdPollActive() {
    return KineBgmModule().audioCd.CdPollActive();
}

}  // namespace kineloop
