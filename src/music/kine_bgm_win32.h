// The music module's process-wide state: one command channel on the real media control
// interface and the two players that send through it.
#pragma once

#include "music/audio_cd_player.h"
#include "music/mci_channel.h"
#include "music/mci_port_win32.h"
#include "music/music_file_player.h"

namespace kineloop {

struct KineBgm {
    WinMciPort port;
    MciChannel channel{port};
    MusicFilePlayer musicFile{channel};
    AudioCdPlayer audioCd{channel};
};

// The one instance, alive from its first use to the end of the process.
KineBgm& KineBgmModule();

}  // namespace kineloop
