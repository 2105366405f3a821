// The number rules of the settings: how stored and typed texts become 16-bit settings values.
#include "settings/number_rules.h"

#include <cmath>

#include "platform/numbers.h"

namespace kineloop {

int16_t LoaderNumber(const std::string& text, int16_t fallback) {
    if (text.empty())
        return fallback;
    const std::optional<double> number = ParseNumber(text);
    if (!number)
        return 0;
    return FitInto<int16_t>(std::floor(*number)).value_or(0);
}

int16_t SavingNumber(const std::string& text, int16_t previous) {
    const std::optional<double> number = ParseNumber(text);
    if (!number)
        return 0;
    return FitInto<int16_t>(RoundHalfEven(*number)).value_or(previous);
}

}  // namespace kineloop
