#pragma once
#include <cstdint>

namespace velnorka {

// Rounds cislo half up at the place 10^-cisl, on the decimal value its plain
// text shows (15 significant digits), and returns the double nearest to the
// decimal result: zaon(1.005, 2) == 1.01, zaon(12345, -1) == 12350.
double zaon(double cislo, std::int16_t cisl);
double zaon(std::int32_t cislo, std::int16_t cisl);

}  // namespace velnorka
