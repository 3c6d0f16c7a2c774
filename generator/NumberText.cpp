#include "generator/NumberText.h"

#include <string>
#include <string_view>

#include "platform/NumberFormat.h"

namespace velnorka {

namespace {

// The plain text s holds the sign position (a blank, or "-" for a negative
// value, which we keep) and then digits with at most one ".". The sign
// position itself is never copied.

// Integer digits with a no-break space before every block of three counted
// from the right, never before the leftmost digit: "123456" -> "123 456".
void appendGroupedFromRight(std::string& result, std::string_view digits) {
    for (std::size_t j = 0; j < digits.size(); ++j) {
        if (j != 0 && (digits.size() - j) % 3 == 0) result += noBreakSpace;
        result += digits[j];
    }
}

// Fraction digits with a no-break space after every third counted from the
// comma, never at the end: "1234" -> "123 4".
void appendGroupedFromLeft(std::string& result, std::string_view digits) {
    for (std::size_t i = 1; i <= digits.size(); ++i) {
        result += digits[i - 1];
        if (i % 3 == 0 && i != digits.size()) result += noBreakSpace;
    }
}

std::string groupWhole(std::string_view s) {
    std::string result;
    result.reserve(s.size() * 2);
    if (s[0] == '-') result += '-';
    appendGroupedFromRight(result, s.substr(1));
    return result;
}

std::string groupWithComma(std::string_view s) {
    const std::size_t point = s.find('.');
    std::string result;
    result.reserve(s.size() * 2);
    if (s[0] == '-') result += '-';
    if (point == 1)
        result += '0';  // below 1: the plain text has no 0 before the point
    else
        appendGroupedFromRight(result, s.substr(1, point - 1));
    result += ',';
    appendGroupedFromLeft(result, s.substr(point + 1));
    return result;
}

std::string numberText(std::string_view s) {
    return s.find('.') == std::string_view::npos ? groupWhole(s) : groupWithComma(s);
}

}  // namespace

std::string mez(std::int32_t cislo) { return groupWhole(plainText(cislo)); }
std::string mez(double cislo) { return groupWhole(plainText(cislo)); }
std::string mez1(std::int32_t cislo) { return numberText(plainText(cislo)); }
std::string mez1(double cislo) { return numberText(plainText(cislo)); }

}  // namespace velnorka
