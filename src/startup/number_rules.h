// The number rules of the settings: how stored and typed texts become 16-bit settings values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kineloop {

// A number in the user's format: blanks around it, an optional sign, decimal digits with an
// optional fraction, an optional exponent. Anything else (an empty text included) is no number.
std::optional<double> ParseNumber(const std::string& text);

// Loader rule: empty gives `fallback`; a number is rounded down; no number, or a whole number
// outside the 16-bit range, gives 0.
int16_t LoaderNumber(const std::string& text, int16_t fallback);

// Saving rule: a number is rounded to nearest, halves to even; no number gives 0; a number
// outside the 16-bit range keeps `previous`.
int16_t SavingNumber(const std::string& text, int16_t previous);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// The value as a 16-bit signed integer, or nothing when it does not fit.
std::optional<int16_t> ToInt16(double wholeNumber);

// The value as a 32-bit signed integer, or nothing when it does not fit.
std::optional<int32_t> ToInt32(double wholeNumber);

}  // namespace kineloop
