#pragma once
// Draws that make the generator pick given values: r such that the
// generator's arithmetic lands in the middle of the wanted value's interval.
#include "ScriptedRandom.h"

namespace velnorka::test {

// floor(r * choices + 1) == index
inline float indexDraw(int index, int choices) { return pick(index, choices); }
// r * 248999 + 1000 rounds to whole
inline float wholeDraw(int whole) { return static_cast<float>((whole - 1000) / 248999.0); }
// floor(r * 99) == integerPart
inline float integerPartDraw(int integerPart) { return static_cast<float>((integerPart + 0.5) / 99.0); }
// floor(r * (10^d - 1) + 1) == numerator
inline float fractionDraw(int numerator, int digits) {
    return static_cast<float>((numerator - 0.5) / (digits == 3 ? 999.0 : 99.0));
}
// floor(r * span + lowest) == value
inline float spanDraw(int value, int lowest, int span) {
    return static_cast<float>((value - lowest + 0.5) / span);
}

}  // namespace velnorka::test
