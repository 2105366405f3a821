// How the screen-saver host's command line selects the mode and, for the preview, the host window.
#include "startup/command_line.h"

#include "platform/numbers.h"

namespace kineloop {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string ArgumentText(const std::string& commandLine) {
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const size_t close = commandLine.find('"', 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    }
    while (i < commandLine.size() && !IsBlank(commandLine[i]))
        ++i;
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    return commandLine.substr(i);
}

namespace {

// The second character of the argument text in upper case, or '\0' when the text is shorter.
char ModeLetter(const std::string& argumentText) {
    if (argumentText.size() < 2)
        return '\0';
    return UpperAscii(argumentText.substr(1, 1))[0];
}

}  // namespace

int32_t HostHandle(const std::string& argumentText) {
    if (argumentText.size() < 4)
        return 0;
    const std::optional<double> value = LeadingNumber(argumentText.substr(3));
    if (!value)
        return 0;
    return FitInto<int32_t>(RoundHalfEven(*value)).value_or(0);
}

StartMode ModeOf(const std::string& argumentText) {
    if (argumentText.empty())
        return StartMode::ShowAsIs;
    switch (ModeLetter(argumentText)) {
        case 'P':
            return StartMode::Preview;
        case 'C':
            return StartMode::Settings;
        case 'S':
            return StartMode::Show;
        default:
            return StartMode::End;
    }
}

}  // namespace kineloop
