// The media control interface of winmm behind the music module's seam.
#pragma once

#include "music/mci_port.h"

namespace kineloop {

class WinMciPort : public MciPort {
  public:
    MciAnswer SendString(const std::string& command, size_t replyLength) override;
    std::optional<std::string> ErrorString(int32_t code, size_t textLength) override;
};

}  // namespace kineloop
