#pragma once
// Numbers in the Czech way: digit groups of three separated by U+00A0 and a
// decimal comma. Both procedures rebuild the plain text of the number.
#include <cstdint>
#include <string>

namespace velnorka {

inline constexpr const char* noBreakSpace = "\u00A0";

// A whole number with digit groups: 123456 -> "123 456" (U+00A0).
std::string mez(std::int32_t cislo);
std::string mez(double cislo);

// Any number: grouped integer digits, decimal comma, fraction digits grouped
// from the comma: 1234.5678 -> "1 234,567 8" (U+00A0), 0.5 -> "0,5".
std::string mez1(std::int32_t cislo);
std::string mez1(double cislo);

}  // namespace velnorka
