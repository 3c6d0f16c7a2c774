#include "platform/Utf.h"

#include <cstdint>

namespace velnorka {

int utf16Length(std::string_view utf8) {
    int units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;  // a lead byte starts a character
        if (byte >= 0xF0) ++units;           // outside the BMP: a surrogate pair
    }
    return units;
}

namespace {

constexpr std::string_view replacementCharacter = "\uFFFD";

// The length of the well-formed UTF-8 sequence at the start of text, or 0
// when it is malformed (stray continuation byte, overlong form, surrogate,
// beyond U+10FFFF, cut short). Sets codePoint.
std::size_t sequenceLength(std::string_view text, std::uint32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80, codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800, codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000, codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    if (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

bool isControl(std::uint32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace

std::string quotedValue(std::string_view value) {
    constexpr int maxCharacters = 40;
    std::string shown = "„";
    int characters = 0;
    while (!value.empty()) {
        if (characters == maxCharacters) {
            shown += "…";
            break;
        }
        std::uint32_t codePoint = 0;
        const std::size_t length = sequenceLength(value, codePoint);
        if (length == 0) {
            shown += replacementCharacter;
            value.remove_prefix(1);
        } else {
            if (isControl(codePoint)) {
                constexpr char hex[] = "0123456789ABCDEF";
                shown += {'\\', 'x', hex[codePoint >> 4], hex[codePoint & 0xF]};
            } else {
                shown += value.substr(0, length);
            }
            value.remove_prefix(length);
        }
        ++characters;
    }
    return shown + "“";
}

}  // namespace velnorka
