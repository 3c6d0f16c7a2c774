#include "platform/web/AreaText.h"

#include "platform/Utf.h"

namespace velnorka::web {

namespace {

// One character of the textarea's text and what it counts on either side.
struct Step {
    int areaUnits;
    int programUnits;
};

Step nextStep(std::string_view areaText, std::size_t& at) {
    const char32_t c = nextCodePoint(areaText, at);
    if (c == '\n') return {1, 2};
    const int units = c >= 0x10000 ? 2 : 1;
    return {units, units};
}

// A place in the text, counted both ways.
struct Position {
    long long area = 0;
    long long program = 0;
};

// The last character boundary whose count `by` does not pass `limit`.
Position walkTo(std::string_view areaText, long long Position::*by, long long limit) {
    Position reached;
    for (std::size_t at = 0; at < areaText.size();) {
        const Step step = nextStep(areaText, at);
        const Position next{reached.area + step.areaUnits, reached.program + step.programUnits};
        if (next.*by > limit) break;
        reached = next;
    }
    return reached;
}

}  // namespace

std::string programText(std::string_view areaText) {
    std::string text;
    text.reserve(areaText.size() + areaText.size() / 16);
    for (const char c : areaText) {
        if (c == '\n') text += '\r';
        text += c;
    }
    return text;
}

std::string areaText(std::string_view programText) {
    std::string text;
    text.reserve(programText.size());
    for (std::size_t i = 0; i < programText.size(); ++i) {
        if (programText[i] != '\r') {
            text += programText[i];
            continue;
        }
        text += '\n';
        if (i + 1 < programText.size() && programText[i + 1] == '\n') ++i;
    }
    return text;
}

int areaPosition(std::string_view areaText, long long programPosition) {
    return static_cast<int>(walkTo(areaText, &Position::program, programPosition).area);
}

int programPosition(std::string_view areaText, int areaPosition) {
    return static_cast<int>(walkTo(areaText, &Position::area, areaPosition).program);
}

}  // namespace velnorka::web
