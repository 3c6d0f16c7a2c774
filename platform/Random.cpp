#include "platform/Random.h"

#include <charconv>
#include <chrono>

namespace velnorka {

std::uint32_t clockSeed() {
    const auto ticks = static_cast<std::uint64_t>(
        std::chrono::system_clock::now().time_since_epoch().count());
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

MersenneRandom::MersenneRandom(std::optional<std::uint32_t> fixedSeed)
    : fixedSeed_(fixedSeed), engine_(fixedSeed.value_or(clockSeed())) {}

void MersenneRandom::randomize() { engine_.seed(fixedSeed_.value_or(clockSeed())); }

std::optional<std::uint32_t> parseSeed(std::string_view text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end || error != std::errc()) return std::nullopt;
    return value;
}

float MersenneRandom::next() {
    // 24 random bits scaled by 2^-24: exact in a float and always below 1.
    return static_cast<float>(static_cast<std::uint32_t>(engine_()) >> 8) * 0x1p-24f;
}

}  // namespace velnorka
