// The media control interface of winmm behind the music module's seam. Commands go through the
// Unicode entry points, so paths outside the ANSI code page play too.
#include "music/mci_port_win32.h"

#include <vector>

#include <windows.h>
#include <mmsystem.h>

#include "platform/text_win32.h"

namespace kineloop {

namespace {

// The text before the first NUL of a space the platform wrote into.
std::string TextOf(const std::vector<wchar_t>& space) {
    return Narrow(std::wstring(space.data()));
}

}  // namespace

MciAnswer WinMciPort::SendString(const std::string& command, size_t replyLength) {
    const std::wstring wideCommand = Widen(command);
    MciAnswer answer;
    if (replyLength == 0) {
        answer.code =
            static_cast<int32_t>(mciSendStringW(wideCommand.c_str(), nullptr, 0, nullptr));
        return answer;
    }
    // A fresh NUL-filled space each time: a command with an empty answer gives an empty reply.
    std::vector<wchar_t> space(replyLength + 1, L'\0');
    answer.code = static_cast<int32_t>(
        mciSendStringW(wideCommand.c_str(), space.data(), static_cast<UINT>(replyLength), nullptr));
    if (answer.code == 0)
        answer.reply = TextOf(space);
    return answer;
}

std::optional<std::string> WinMciPort::ErrorString(int32_t code, size_t textLength) {
    // The platform leaves the space untouched when it has no text for the code.
    std::vector<wchar_t> space(textLength + 1, L'\0');
    if (!mciGetErrorStringW(static_cast<MCIERROR>(code), space.data(),
                            static_cast<UINT>(textLength)))
        return std::nullopt;
    return TextOf(space);
}

}  // namespace kineloop
