#pragma once
// A number as the decimal value its text shows: at most 15 significant
// digits. value = (negative ? -1 : 1) * 0.digits * 10^exponent, with no
// leading or trailing zeros in digits; zero has no digits.
#include <cstdint>
#include <string>

namespace velnorka {

struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool isZero() const { return digits.empty(); }
};

// The value rounded to 15 significant digits (exact for any int32).
// Non-finite values are not numbers the program writes; they give zero.
Decimal toDecimal(double value);

// The double nearest to the decimal value.
double toDouble(const Decimal& value);

// Integer and fraction digits in fixed notation, no sign: "123" and "45" for
// 123.45, "" and "05" for 0.05, "120" and "" for 120.
struct FixedParts {
    std::string integer;
    std::string fraction;
};
FixedParts fixedParts(const Decimal& value);

}  // namespace velnorka
