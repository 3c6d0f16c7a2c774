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
    int area = 0;
    long long program = 0;
    for (std::size_t at = 0; at < areaText.size();) {
        const Step step = nextStep(areaText, at);
        if (program + step.programUnits > programPosition) break;
        program += step.programUnits;
        area += step.areaUnits;
    }
    return area;
}

int programPosition(std::string_view areaText, int areaPosition) {
    int area = 0;
    int program = 0;
    for (std::size_t at = 0; at < areaText.size();) {
        const Step step = nextStep(areaText, at);
        if (area + step.areaUnits > areaPosition) break;
        area += step.areaUnits;
        program += step.programUnits;
    }
    return program;
}

}  // namespace velnorka::web
