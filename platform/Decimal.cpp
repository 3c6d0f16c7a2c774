#include "platform/Decimal.h"

#include <charconv>
#include <cmath>
#include <string>

namespace velnorka {

Decimal toDecimal(double value) {
    Decimal result;
    if (!std::isfinite(value) || value == 0.0) return result;
    // "d.dddddddddddddde+XX": 15 significant digits, locale-independent.
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    if (error != std::errc{}) return result;
    const std::string text(buffer, end);
    const std::size_t e = text.find('e');
    std::size_t pos = 0;
    if (text[0] == '-') {
        result.negative = true;
        pos = 1;
    }
    for (std::size_t i = pos; i < e; ++i)
        if (text[i] != '.') result.digits += text[i];
    result.exponent = std::stoi(text.substr(e + 1)) + 1;
    while (!result.digits.empty() && result.digits.back() == '0') result.digits.pop_back();
    if (result.digits.empty()) result.exponent = 0;
    return result;
}

double toDouble(const Decimal& value) {
    if (value.isZero()) return 0.0;
    // 0.ddd * 10^e == ddd * 10^(e - n)
    std::string text = value.negative ? "-" : "";
    text += value.digits;
    text += 'e';
    text += std::to_string(value.exponent - static_cast<int>(value.digits.size()));
    double result = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

FixedParts fixedParts(const Decimal& value) {
    FixedParts parts;
    if (value.isZero()) {
        parts.integer = "0";
        return parts;
    }
    const int n = static_cast<int>(value.digits.size());
    const int e = value.exponent;
    if (e <= 0) {
        parts.fraction = std::string(static_cast<std::size_t>(-e), '0') + value.digits;
    } else if (e >= n) {
        parts.integer = value.digits + std::string(static_cast<std::size_t>(e - n), '0');
    } else {
        parts.integer = value.digits.substr(0, static_cast<std::size_t>(e));
        parts.fraction = value.digits.substr(static_cast<std::size_t>(e));
    }
    return parts;
}

}  // namespace velnorka
