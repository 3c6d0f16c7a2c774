#include "platform/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/Decimal.h"
#include "platform/Errors.h"
#include "platform/Utf.h"

namespace velnorka {

namespace {

constexpr std::string_view noBreakSpace = "\u00A0";
constexpr std::string_view narrowNoBreakSpace = "\u202F";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
    for (;;) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        else if (text.starts_with(noBreakSpace))
            text.remove_prefix(noBreakSpace.size());
        else if (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        else if (text.ends_with(noBreakSpace))
            text.remove_suffix(noBreakSpace.size());
        else
            return text;
    }
}

[[noreturn]] void throwNotANumber(std::string_view reply) {
    throw ConversionError(ConversionError::Reason::NotANumber,
                          quotedValue(reply) + " není číslo. Zadejte celé číslo, například 10.");
}

[[noreturn]] void throwOutOfRange(std::string_view reply) {
    throw ConversionError(ConversionError::Reason::OutOfRange,
                          "Číslo " + quotedValue(reply) +
                              " je mimo povolený rozsah. Zadejte celé číslo od -32768 do 32767.");
}

// Group separators a reply may contain: the regional one and, where that is a
// no-break space nobody can type, the ordinary blank too.
bool startsWithGroupSeparator(std::string_view text, const NumberFormat& format,
                              std::size_t& length) {
    if (!format.groupSeparator.empty() && text.starts_with(format.groupSeparator)) {
        length = format.groupSeparator.size();
        return true;
    }
    const bool spaceLike = format.groupSeparator == noBreakSpace ||
                           format.groupSeparator == narrowNoBreakSpace;
    if (spaceLike && text.starts_with(' ')) {
        length = 1;
        return true;
    }
    return false;
}

}  // namespace

std::int16_t replyToInt16(std::string_view reply, const NumberFormat& format) {
    std::string_view text = trimBlanks(reply);
    if (text.empty())
        throw ConversionError(ConversionError::Reason::Empty,
                              "Nebylo zadáno žádné číslo. Zadejte celé číslo, například 10.");

    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    std::string integerDigits;
    std::string fractionDigits;
    bool inFraction = false;
    while (!text.empty()) {
        std::size_t separatorLength = 0;
        if (isDigit(text.front())) {
            (inFraction ? fractionDigits : integerDigits) += text.front();
            text.remove_prefix(1);
        } else if (!inFraction && !format.decimalSeparator.empty() &&
                   text.starts_with(format.decimalSeparator)) {
            inFraction = true;
            text.remove_prefix(format.decimalSeparator.size());
        } else if (!inFraction && !integerDigits.empty() &&
                   startsWithGroupSeparator(text, format, separatorLength) &&
                   text.size() > separatorLength && isDigit(text[separatorLength])) {
            text.remove_prefix(separatorLength);
        } else {
            throwNotANumber(reply);
        }
    }
    if (integerDigits.empty() && fractionDigits.empty()) throwNotANumber(reply);

    integerDigits.erase(0, std::min(integerDigits.find_first_not_of('0'), integerDigits.size()));
    if (integerDigits.size() > 5) throwOutOfRange(reply);
    long value = integerDigits.empty() ? 0 : std::stol(integerDigits);

    // Halves to even: 12.5 -> 12, 13.5 -> 14, 12.51 -> 13.
    if (!fractionDigits.empty()) {
        const char first = fractionDigits[0];
        const bool restNonZero = fractionDigits.find_first_not_of('0', 1) != std::string::npos;
        if (first > '5' || (first == '5' && (restNonZero || value % 2 == 1))) ++value;
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) throwOutOfRange(reply);
    return static_cast<std::int16_t>(value);
}

std::int32_t doubleToInt32(double value) {
    if (!(value >= -2147483648.5 && value <= 2147483647.5))
        throw ConversionError(ConversionError::Reason::OutOfRange, "Číslo je mimo povolený rozsah.");
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (whole > 2147483647.0)
        throw ConversionError(ConversionError::Reason::OutOfRange, "Číslo je mimo povolený rozsah.");
    return static_cast<std::int32_t>(whole);
}

std::string defaultText(double value, const NumberFormat& format) {
    const Decimal decimal = toDecimal(value);
    std::string text = decimal.negative ? "-" : "";
    if (decimal.exponent > 15 || decimal.exponent < -14) {
        // Too long for fixed notation: 1,5E+20 and 1E-20.
        text += decimal.digits.substr(0, 1);
        if (decimal.digits.size() > 1) text += format.decimalSeparator + decimal.digits.substr(1);
        const int power = decimal.exponent - 1;
        text += power < 0 ? "E-" : "E+";
        const std::string digits = std::to_string(std::abs(power));
        text += (digits.size() < 2 ? "0" : "") + digits;
        return text;
    }
    appendFixed(text, decimal, format.decimalSeparator, true);
    return text;
}

std::string plainText(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return value < 0 ? digits : " " + digits;
}

std::string plainText(double value) {
    const Decimal decimal = toDecimal(value);
    std::string text(1, decimal.negative ? '-' : ' ');
    appendFixed(text, decimal, ".", false);
    return text;
}

}  // namespace velnorka
