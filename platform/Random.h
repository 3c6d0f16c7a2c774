#pragma once
// The random source: each draw is the next single-precision r, 0 <= r < 1.
#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

namespace velnorka {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Seeds the source once at start-up.
    virtual void randomize() = 0;
    virtual float next() = 0;
};

// Mersenne twister; r = float(x >> 8) * 2^-24 for each output x, so r is
// never 1. Seeded from the clock, or from a fixed seed that makes a sheet
// reproducible on every platform.
class MersenneRandom : public RandomSource {
public:
    explicit MersenneRandom(std::optional<std::uint32_t> fixedSeed = std::nullopt);
    void randomize() override;
    float next() override;

private:
    std::optional<std::uint32_t> fixedSeed_;
    std::mt19937 engine_;
};

std::uint32_t clockSeed();

// A seed as the user writes it (velnorka-cli --seed, the page's ?seed=):
// decimal digits only, leading zeros allowed ("007" is 7), 0..4294967295.
std::optional<std::uint32_t> parseSeed(std::string_view text);

}  // namespace velnorka
