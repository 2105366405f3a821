// The one seam between the music rules and the platform's media control interface: send a
// command string and get its code and answer, or get the text of an error code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kineloop {

// What the media control interface answered to one command.
struct MciAnswer {
    int32_t code = 0;   // 0 for success, otherwise the error number
    std::string reply;  // the text the device wrote into the answer space (UTF-8)
};

class MciPort {
  public:
    virtual ~MciPort() = default;
    // Sends one command and returns when it has completed. `replyLength` is the answer space in
    // characters, its terminating NUL included; 0 asks for no answer.
    virtual MciAnswer SendString(const std::string& command, size_t replyLength) = 0;
    // The text of an error code, cut to `textLength` - 1 characters, or nothing when the platform
    // has no text for it.
    virtual std::optional<std::string> ErrorString(int32_t code, size_t textLength) = 0;
};

}  // namespace kineloop
