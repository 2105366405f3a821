// The music module's media-control command channel.
#include "music/mci_channel.h"

namespace kineloop {

std::string MciPlayCommand(const std::string& device, const std::string& from,
                           const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty())
        command += " from " + from;
    if (!to.empty())
        command += " to " + to;
    return command;
}

int32_t MciChannel::MciSend(const std::string& command, std::string& reply) {
    if (command.empty()) {
        reply = kEmptyCommandReply;
        return kEmptyCommandCode;
    }
    MciAnswer answer = port_.SendString(command, kReplyLength);
    lastError_ = answer.code;
    if (answer.code == 0) {
        reply = std::move(answer.reply);
        return 0;
    }
    const std::optional<std::string> errorText = port_.ErrorString(answer.code, kErrorTextLength);
    reply = errorText ? *errorText : std::string(kNoErrorTextReply);
    return answer.code;
}

std::string MciChannel::MciQuery(const std::string& command) {
    const int32_t code = MciSend(command, lastReply_);
    lastError_ = code;
    if (code != 0)
        return kQueryErrorPrefix + std::to_string(code);
    return lastReply_;
}

int32_t MciChannel::MciPlay(const std::string& device, const std::string& from,
                            const std::string& to) {
    return MciSend(MciPlayCommand(device, from, to), lastReply_);
}

int32_t MciChannel::Send(const std::string& command) {
    lastError_ = port_.SendString(command, 0).code;
    return lastError_;
}

int32_t MciChannel::SendInto(const std::string& command, AnswerBuffer& buffer) {
    MciAnswer answer = port_.SendString(command, buffer.Length());
    lastError_ = answer.code;
    if (answer.code == 0)
        buffer.Store(std::move(answer.reply));
    return lastError_;
}

}  // namespace kineloop
