// zaon and mez1 over the values the generator passes them: the text parses
// back to the number, holds no ordinary blank, and the rounding lands on a
// multiple of the place within half a unit, halves going up.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "generator/NumberText.h"
#include "generator/Rounding.h"
#include "platform/NumberFormat.h"

namespace {

// "1 234,5" (U+00A0) back to 1234.5.
double parseCzech(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\u00A0") == 0) {
            ++i;
            continue;
        }
        if (text[i] == ' ') std::abort();
        plain += text[i] == ',' ? '.' : text[i];
    }
    return std::strtod(plain.c_str(), nullptr);
}

void checkText(double value) {
    const std::string text = velnorka::mez1(value);
    const double back = parseCzech(text);
    if (std::fabs(back - value) > 1e-9 * std::fmax(1.0, value)) std::abort();
}

void checkRounding(double value, std::int16_t cisl) {
    const double unit = std::pow(10.0, -cisl);
    const double rounded = velnorka::zaon(value, cisl);
    const double units = rounded / unit;
    if (std::fabs(units - std::round(units)) > 1e-6) std::abort();
    const double error = rounded - value;
    if (error < -0.5 * unit - 1e-9 || error > 0.5 * unit + 1e-9) std::abort();
    checkText(rounded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    std::uint32_t raw;
    std::memcpy(&raw, data, sizeof raw);
    switch (data[4] % 4) {
        case 0: {  // whole numbers of mode 1 and the mix
            const auto whole = static_cast<std::int32_t>(1000 + raw % 249000);
            checkText(whole);
            checkRounding(whole, static_cast<std::int16_t>(-(1 + data[4] / 4 % 4)));
            break;
        }
        case 1: {  // "na desítky" numbers divided by 10: 100..999.9
            const double tens = (1000 + raw % 9000) / 10.0;
            checkText(tens);
            checkRounding(tens, -1);
            break;
        }
        default: {  // decimal numbers 0.001..98.999
            const double decimal = static_cast<float>(raw % 99) + (1 + (raw >> 8) % 999) / 1000.0;
            checkText(decimal);
            checkRounding(decimal, static_cast<std::int16_t>(data[4] / 4 % 3));
            break;
        }
    }
    return 0;
}
