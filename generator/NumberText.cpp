#include "generator/NumberText.h"

#include <string>

#include "platform/NumberFormat.h"

namespace velnorka {

namespace {

// The plain text s holds the sign position (a blank, or "-" for a negative
// value, which we keep) and then digits with at most one ".". Positions are
// 1-based, as the loops below count them.
char at(const std::string& s, std::size_t position) { return s[position - 1]; }

std::string signOf(const std::string& s) { return s[0] == '-' ? "-" : ""; }

std::string groupWhole(const std::string& s) {
    const std::size_t n = s.size();
    std::string result;
    for (std::size_t i = 1; i <= n - 1; ++i) {
        result.insert(0, 1, at(s, n - i + 1));
        if (i % 3 == 0 && i != n - 1) result.insert(0, noBreakSpace);
    }
    return signOf(s) + result;
}

std::string groupWithComma(const std::string& s) {
    const std::size_t n = s.size();
    const std::size_t p = s.find('.') + 1;  // 1-based position of the point
    std::string result;
    for (std::size_t i = 1; i + 2 <= p; ++i) {
        result.insert(0, 1, at(s, p - i));
        if (i % 3 == 0 && i != p - 2) result.insert(0, noBreakSpace);
    }
    result += ",";
    if (p == 2) result = "0,";  // below 1: the plain text has no 0 before the point
    for (std::size_t i = 1; i <= n - p; ++i) {
        result += at(s, p + i);
        if (i % 3 == 0 && i != n - p) result += noBreakSpace;
    }
    return signOf(s) + result;
}

std::string numberText(const std::string& s) {
    return s.find('.') == std::string::npos ? groupWhole(s) : groupWithComma(s);
}

}  // namespace

std::string mez(std::int32_t cislo) { return groupWhole(plainText(cislo)); }
std::string mez(double cislo) { return groupWhole(plainText(cislo)); }
std::string mez1(std::int32_t cislo) { return numberText(plainText(cislo)); }
std::string mez1(double cislo) { return numberText(plainText(cislo)); }

}  // namespace velnorka
