#pragma once
// The regional number format and the conversions that depend on it. None of
// them looks at the process's C locale: the separators are passed in.
#include <cstdint>
#include <string>
#include <string_view>

namespace velnorka {

struct NumberFormat {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";

    bool operator==(const NumberFormat&) const = default;
};

// A prompt reply as a 16-bit integer: blanks around it ignored, the regional
// decimal and group separators, rounded to nearest with halves to even.
// Throws ConversionError for empty or non-numeric text and for a value
// outside -32768..32767 after rounding.
std::int16_t replyToInt16(std::string_view reply, const NumberFormat& format);

// Rounds to nearest, halves to even. Throws ConversionError outside int32.
std::int32_t doubleToInt32(double value);

// The default text of a double for the regional settings: at most 15
// significant digits, trailing zeros dropped, no grouping, the regional
// decimal separator, a 0 before it below 1 ("37,512", "0,45", "120").
std::string defaultText(double value, const NumberFormat& format);

// The plain text of a number: a blank before a non-negative value ("-" before
// a negative one), digits and at most one "." (never a ","), no 0 before the
// point below 1, at most 15 significant digits, trailing zeros dropped:
// " 123456", " 37.51", " .5", " 0".
std::string plainText(std::int32_t value);
std::string plainText(double value);

}  // namespace velnorka
