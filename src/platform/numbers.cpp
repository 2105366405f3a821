// Text-to-number and text rules shared by the subsystems.
#include "platform/numbers.h"

#include <cstdlib>

namespace kineloop {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The end of the number that starts at `i` (after blanks), or `i` itself when none starts there.
// An exponent without digits is not part of the number.
size_t NumberEnd(const std::string& text, size_t i, size_t end) {
    const size_t start = i;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < end && IsDigit(text[i]))
        ++i, ++digits;
    if (i < end && text[i] == '.') {
        ++i;
        while (i < end && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return start;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < end && (text[j] == '+' || text[j] == '-'))
            ++j;
        const size_t exponentStart = j;
        while (j < end && IsDigit(text[j]))
            ++j;
        if (j > exponentStart)
            i = j;
    }
    return i;
}

// The shape is known to be plain decimal here; strtod gives HUGE_VAL on overflow, which the
// range checks treat like any other value out of range. The program keeps the "C" locale.
double ValueOf(const std::string& text, size_t begin, size_t end) {
    return std::strtod(text.substr(begin, end - begin).c_str(), nullptr);
}

size_t SkipBlanks(const std::string& text, size_t i) {
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

}  // namespace

std::optional<double> ParseNumber(const std::string& text) {
    const size_t begin = SkipBlanks(text, 0);
    size_t end = text.size();
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    const size_t numberEnd = NumberEnd(text, begin, end);
    // An exponent marker without digits makes the whole text no number.
    if (numberEnd == begin || numberEnd != end)
        return std::nullopt;
    return ValueOf(text, begin, end);
}

std::optional<double> LeadingNumber(const std::string& text) {
    const size_t begin = SkipBlanks(text, 0);
    const size_t end = NumberEnd(text, begin, text.size());
    if (end == begin)
        return std::nullopt;
    return ValueOf(text, begin, end);
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace kineloop
