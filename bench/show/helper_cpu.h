// The CPU of the processes that work for this one under Wine and that its own times leave out:
// its wineserver (every wait, event, file open and close, message) and the X server (every blit to
// a window). Read from the host's /proc through Wine's Z: drive; nothing when not under Wine.
#pragma once

#include <string>

namespace kineloop::bench {

class HelperCpu {
  public:
    // Finds this prefix's wineserver and the X server started beside this program.
    HelperCpu();

    struct Seconds {
        double wineserver = 0;
        double xServer = 0;
    };
    // CPU seconds so far of each (0 for one not found).
    Seconds Now() const;
    // Which were found, to say what the figures cover.
    std::string Found() const;

  private:
    std::wstring wineserverStat_, xServerStat_;
};

}  // namespace kineloop::bench
