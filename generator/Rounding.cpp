#include "generator/Rounding.h"

#include <algorithm>
#include <string>

#include "platform/Decimal.h"

namespace velnorka {

double zaon(double cislo, std::int16_t cisl) {
    const Decimal value = toDecimal(cislo);
    const int n = static_cast<int>(value.digits.size());
    // Digits kept: those whose place is at least 10^-cisl.
    const int kept = value.exponent + cisl;
    if (kept >= n) return toDouble(value);  // nothing to drop
    if (kept < 0) return 0.0;               // below a tenth of the place: rounds to 0

    std::string result = value.digits.substr(0, static_cast<std::size_t>(kept));
    const char firstDropped = value.digits[static_cast<std::size_t>(kept)];
    const bool restNonZero = n > kept + 1;  // digits carry no trailing zeros
    // floor(x + 0.5): a half rounds up, so toward zero for a negative value.
    const bool magnitudeUp = value.negative
                                 ? firstDropped > '5' || (firstDropped == '5' && restNonZero)
                                 : firstDropped >= '5';
    if (magnitudeUp) {
        int i = static_cast<int>(result.size()) - 1;
        while (i >= 0 && result[static_cast<std::size_t>(i)] == '9')
            result[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            result.insert(0, 1, '1');
        else
            ++result[static_cast<std::size_t>(i)];
    }
    // result counts units of 10^-cisl.
    Decimal rounded;
    rounded.negative = value.negative;
    rounded.digits = result;
    rounded.digits.erase(0, std::min(rounded.digits.find_first_not_of('0'), rounded.digits.size()));
    if (rounded.digits.empty()) return 0.0;
    rounded.exponent = static_cast<int>(rounded.digits.size()) - cisl;
    return toDouble(rounded);
}

double zaon(std::int32_t cislo, std::int16_t cisl) { return zaon(static_cast<double>(cislo), cisl); }

}  // namespace velnorka
