// The number rules of the settings: how stored and typed texts become 16-bit settings values.
#pragma once

#include <cstdint>
#include <string>

namespace kineloop {

// Loader rule: empty gives `fallback`; a number is rounded down; no number, or a whole number
// outside the 16-bit range, gives 0.
int16_t LoaderNumber(const std::string& text, int16_t fallback);

// Saving rule: a number is rounded to nearest, halves to even; no number gives 0; a number
// outside the 16-bit range keeps `previous`.
int16_t SavingNumber(const std::string& text, int16_t previous);

}  // namespace kineloop
