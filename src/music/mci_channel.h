// The music module's media-control command channel: commands whose answers matter, the play
// command builder, and commands sent only to be carried out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "music/mci_port.h"

namespace kineloop {

inline constexpr size_t kReplyLength = 512;
inline constexpr size_t kErrorTextLength = 256;
// The channel's own error code for an empty command.
inline constexpr int32_t kEmptyCommandCode = -1;
inline constexpr char kEmptyCommandReply[] = "コマンド文字列が指定されていません";
inline constexpr char kNoErrorTextReply[] = "Error (文字列が取れません)";
inline constexpr char kQueryErrorPrefix[] = "Error:";

// "play " + device, with " from " + from and " to " + to for the positions that are given.
std::string MciPlayCommand(const std::string& device, const std::string& from,
                           const std::string& to);

// An answer space kept for the whole process: a command that fails leaves its text as it was.
class AnswerBuffer {
  public:
    explicit AnswerBuffer(size_t length) : length_(length) {}
    size_t Length() const { return length_; }
    const std::string& Text() const { return text_; }
    void Store(std::string text) { text_ = std::move(text); }
    bool StartsWith(std::string_view prefix) const {
        return std::string_view(text_).substr(0, prefix.size()) == prefix;
    }

  private:
    size_t length_;
    std::string text_;
};

class MciChannel {
  public:
    explicit MciChannel(MciPort& port) : port_(port) {}

    // Sends one command; returns 0, -1 for an empty command or the error number, and leaves the
    // device's answer, the error's text or a fixed failure text in `reply`.
    int32_t MciSend(const std::string& command, std::string& reply);
    // The answer to `command`, or "Error:" and the error number when it failed.
    std::string MciQuery(const std::string& command);
    // Plays `device` between the positions given (either may be empty); returns the error code.
    int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);

    // Sends a command only to have it carried out; returns its error code (0 on success).
    int32_t Send(const std::string& command);
    // Sends a command whose answer goes into `buffer`; a failure leaves the buffer as it was.
    int32_t SendInto(const std::string& command, AnswerBuffer& buffer);

    const std::string& LastReply() const { return lastReply_; }
    // The error code of the last command sent (0 when it succeeded).
    int32_t LastError() const { return lastError_; }

  private:
    MciPort& port_;
    std::string lastReply_;
    int32_t lastError_ = 0;
};

}  // namespace kineloop
