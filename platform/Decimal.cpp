#include "platform/Decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace velnorka {

namespace {

// Powers of ten that doubles hold exactly.
constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Digits of a scientific printf text: "-1.2345e+02". Its decimal point
// follows the C library's numeric locale: any character that is not a digit
// counts as the point.
Decimal parseScientificText(const char* begin, const char* end) {
    Decimal result;
    const char* p = begin;
    if (*p == '-') {
        result.negative = true;
        ++p;
    }
    int pointAt = -1;
    int digitsSeen = 0;
    int leadingZeros = 0;  // zeros before the first significant digit
    int exponent = 0;
    for (; p != end; ++p) {
        if (*p == 'e') {
            std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
            break;
        } else if (*p < '0' || *p > '9') {
            pointAt = digitsSeen;
        } else {
            ++digitsSeen;
            if (*p != '0' || !result.digits.empty())
                result.digits += *p;
            else
                ++leadingZeros;
        }
    }
    if (pointAt < 0) pointAt = digitsSeen;
    result.exponent = pointAt + exponent - leadingZeros;
    while (!result.digits.empty() && result.digits.back() == '0') result.digits.pop_back();
    if (result.digits.empty()) result = Decimal{};
    return result;
}

}  // namespace

Decimal toDecimal(double value) {
    if (!std::isfinite(value) || value == 0.0) return Decimal{};
    // Quick path: the fewest decimals k for which the value's digits, as a
    // whole number below 10^15, read back as the value. A decimal of at most
    // 15 digits that reads back as the value is also the value rounded to 15
    // digits: its neighbours on that grid lie much further away than an ulp.
    const double magnitude = std::fabs(value);
    for (int k = 0; k < 16 && magnitude * powersOfTen[k] < 1e15; ++k) {
        const double scaled = std::nearbyint(magnitude * powersOfTen[k]);
        if (scaled / powersOfTen[k] != magnitude) continue;
        if (scaled == 0.0) break;
        long long whole = static_cast<long long>(scaled);
        int trailingZeros = 0;
        for (; whole % 10 == 0; whole /= 10) ++trailingZeros;
        Decimal decimal;
        decimal.negative = value < 0;
        decimal.digits = std::to_string(whole);
        decimal.exponent = static_cast<int>(decimal.digits.size()) + trailingZeros - k;
        return decimal;
    }
    // The value rounded to 15 significant digits. printf rather than the
    // floating-point std::to_chars: its tables would make up a third of the
    // Windows program.
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.14e", value);
    if (length <= 0 || length >= static_cast<int>(sizeof buffer)) return Decimal{};
    return parseScientificText(buffer, buffer + length);
}

double toDouble(const Decimal& value) {
    if (value.isZero()) return 0.0;
    const int scale = value.exponent - static_cast<int>(value.digits.size());
    if (value.digits.size() <= 15 && scale >= -22 && scale <= 22) {
        // Both the digits and the power of ten are exact doubles, and one
        // multiplication or division rounds correctly: the nearest double.
        long long digits = 0;
        std::from_chars(value.digits.data(), value.digits.data() + value.digits.size(), digits);
        const double result = scale < 0 ? static_cast<double>(digits) / powersOfTen[-scale]
                                         : static_cast<double>(digits) * powersOfTen[scale];
        return value.negative ? -result : result;
    }
    // 0.ddd * 10^e == ddd * 10^(e - n)
    char text[64];
    char* end = text;
    if (value.negative) *end++ = '-';
    const std::size_t length = std::min<std::size_t>(value.digits.size(), 40);
    end = std::copy_n(value.digits.data(), length, end);
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, value.exponent - static_cast<int>(length)).ptr;
    *end = '\0';
    // Correctly rounded, and with no decimal point in the text the C
    // library's locale does not matter.
    return std::strtod(text, nullptr);
}

void appendFixed(std::string& out, const Decimal& value, std::string_view point, bool zeroBeforePoint) {
    if (value.isZero()) {
        out += '0';
        return;
    }
    const int n = static_cast<int>(value.digits.size());
    const int e = value.exponent;
    const std::string_view digits = value.digits;
    if (e <= 0) {  // below 1
        if (zeroBeforePoint) out += '0';
        out += point;
        out.append(static_cast<std::size_t>(-e), '0');
        out += digits;
    } else if (e >= n) {  // whole
        out += digits;
        out.append(static_cast<std::size_t>(e - n), '0');
    } else {
        out += digits.substr(0, static_cast<std::size_t>(e));
        out += point;
        out += digits.substr(static_cast<std::size_t>(e));
    }
}

}  // namespace velnorka
