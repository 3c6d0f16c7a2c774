#pragma once
// A random source that plays back the draws a test gives it.
#include <deque>
#include <stdexcept>

#include "platform/Random.h"

namespace velnorka::test {

class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<float> draws) : draws_(draws) {}

    void randomize() override { ++randomizeCalls; }
    float next() override {
        if (draws_.empty()) throw std::logic_error("the script ran out of draws");
        const float r = draws_.front();
        draws_.pop_front();
        return r;
    }
    void add(std::initializer_list<float> draws) { draws_.insert(draws_.end(), draws); }
    std::size_t left() const { return draws_.size(); }

    int randomizeCalls = 0;

private:
    std::deque<float> draws_;
};

// The draw r that makes floor(r * choices + 1) == index.
inline float pick(int index, int choices) { return (static_cast<float>(index) - 0.5f) / static_cast<float>(choices); }

}  // namespace velnorka::test
