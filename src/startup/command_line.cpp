// How the screen-saver host's command line selects the mode and, for the preview, the host window.
#include "startup/command_line.h"

#include <cmath>

#include "startup/number_rules.h"

namespace kineloop {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
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

char ModeLetter(const std::string& argumentText) {
    if (argumentText.size() < 2)
        return '\0';
    const char c = argumentText[1];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int32_t HostHandle(const std::string& argumentText) {
    if (argumentText.size() < 4)
        return 0;
    // The longest prefix that reads as a number: blanks, sign, digits, fraction, exponent.
    size_t i = 3;
    while (i < argumentText.size() && IsBlank(argumentText[i]))
        ++i;
    const size_t start = i;
    if (i < argumentText.size() && (argumentText[i] == '+' || argumentText[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < argumentText.size() && IsDigit(argumentText[i]))
        ++i, ++digits;
    if (i < argumentText.size() && argumentText[i] == '.') {
        ++i;
        while (i < argumentText.size() && IsDigit(argumentText[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    size_t end = i;
    if (i < argumentText.size() && (argumentText[i] == 'e' || argumentText[i] == 'E')) {
        size_t j = i + 1;
        if (j < argumentText.size() && (argumentText[j] == '+' || argumentText[j] == '-'))
            ++j;
        const size_t exponentStart = j;
        while (j < argumentText.size() && IsDigit(argumentText[j]))
            ++j;
        if (j > exponentStart)
            end = j;
    }
    const std::optional<double> value = ParseNumber(argumentText.substr(start, end - start));
    if (!value)
        return 0;
    return ToInt32(RoundHalfEven(*value)).value_or(0);
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

int16_t PixelsToTwips(int32_t pixels, int32_t twipsPerPixel) {
    return ToInt16(RoundHalfEven(static_cast<double>(pixels) * twipsPerPixel)).value_or(0);
}

}  // namespace kineloop
