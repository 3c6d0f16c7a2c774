#pragma once
// A number as the decimal value its text shows: at most 15 significant
// digits. value = (negative ? -1 : 1) * 0.digits * 10^exponent, with no
// leading or trailing zeros in digits; zero has no digits.
#include <cstdint>
#include <string>
#include <string_view>

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

// Appends the digits in fixed notation, without a sign: "123" point "45" for
// 123.45; for a value below 1 "0" point "05" or, without the zero, point
// "05"; "120" for 120, "0" for zero.
void appendFixed(std::string& out, const Decimal& value, std::string_view point, bool zeroBeforePoint);

}  // namespace velnorka
