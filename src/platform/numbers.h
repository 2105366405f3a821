// Text-to-number and text rules shared by the subsystems: one number reader, one range check,
// one ASCII upper-caser.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace kineloop {

// A number in the user's format filling the whole text: blanks around it, an optional sign,
// decimal digits with an optional fraction, an optional exponent. Anything else (an empty text
// included) is no number.
std::optional<double> ParseNumber(const std::string& text);

// The longest start of the text that reads as such a number (leading blanks skipped; "12e" reads
// as 12, "7 tracks" as 7), or nothing when the text does not start with one.
std::optional<double> LeadingNumber(const std::string& text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// A whole number as the integer type T, or nothing when it lies outside T's range (NaN too).
template <typename T>
std::optional<T> FitInto(double wholeNumber) {
    // Bounds as doubles: exact for every type up to 32 bits, and the upper bound of 64-bit types
    // rounds up to 2^63, which the strict comparison keeps out.
    constexpr double kLow = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double kHigh = static_cast<double>(std::numeric_limits<T>::max());
    if (!(wholeNumber >= kLow && (sizeof(T) < 8 ? wholeNumber <= kHigh : wholeNumber < kHigh)))
        return std::nullopt;
    return static_cast<T>(wholeNumber);
}

// Whether an integer of a wider type fits T.
template <typename T, typename Wide>
bool Fits(Wide value) {
    return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

// The ASCII letters a-z in upper case; every other byte (UTF-8 included) unchanged.
std::string UpperAscii(std::string text);

}  // namespace kineloop
