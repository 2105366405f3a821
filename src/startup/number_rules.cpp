// The number rules of the settings: how stored and typed texts become 16-bit settings values.
#include "startup/number_rules.h"

#include <cmath>
#include <cstdlib>

namespace kineloop {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParseNumber(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;

    // Check the shape first: from_chars alone would also take "inf", "nan" and hexadecimal.
    size_t i = begin;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t mantissa = i;
    size_t digits = 0;
    while (i < end && IsDigit(text[i]))
        ++i, ++digits;
    if (i < end && text[i] == '.') {
        ++i;
        while (i < end && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exponentDigits = 0;
        while (i < end && IsDigit(text[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;

    // The shape is known to be plain decimal now; strtod gives HUGE_VAL on overflow, which the
    // range checks treat like any other value out of range. The program keeps the "C" locale.
    const std::string body = text.substr(mantissa, end - mantissa);
    const double value = std::strtod(body.c_str(), nullptr);
    return negative ? -value : value;
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

std::optional<int16_t> ToInt16(double wholeNumber) {
    if (!(wholeNumber >= -32768.0 && wholeNumber <= 32767.0))
        return std::nullopt;
    return static_cast<int16_t>(wholeNumber);
}

std::optional<int32_t> ToInt32(double wholeNumber) {
    if (!(wholeNumber >= -2147483648.0 && wholeNumber <= 2147483647.0))
        return std::nullopt;
    return static_cast<int32_t>(wholeNumber);
}

int16_t LoaderNumber(const std::string& text, int16_t fallback) {
    if (text.empty())
        return fallback;
    const std::optional<double> number = ParseNumber(text);
    if (!number)
        return 0;
    return ToInt16(std::floor(*number)).value_or(0);
}

int16_t SavingNumber(const std::string& text, int16_t previous) {
    const std::optional<double> number = ParseNumber(text);
    if (!number)
        return 0;
    return ToInt16(RoundHalfEven(*number)).value_or(previous);
}

}  // namespace kineloop
