#pragma once
#include <string>

namespace velnorka::test {

// Expected texts are written with "·" for the no-break space U+00A0.
inline std::string nb(std::string text) {
    for (std::size_t at = text.find("·"); at != std::string::npos; at = text.find("·", at + 2))
        text.replace(at, 2, "\u00A0");
    return text;
}

}  // namespace velnorka::test
