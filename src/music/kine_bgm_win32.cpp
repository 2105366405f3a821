// The music module's process-wide state.
#include "music/kine_bgm_win32.h"

namespace kineloop {

KineBgm& KineBgmModule() {
    static KineBgm module;
    return module;
}

}  // namespace kineloop
