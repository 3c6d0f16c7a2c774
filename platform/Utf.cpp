#include "platform/Utf.h"

namespace velnorka {

int utf16Length(std::string_view utf8) {
    int units = 0;
    for (std::size_t at = 0; at < utf8.size();)
        units += nextCodePoint(utf8, at) > 0xFFFF ? 2 : 1;  // beyond the BMP: a surrogate pair
    return units;
}

char32_t nextCodePoint(std::string_view utf8, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t lowest = 0;
    char32_t codePoint = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80, codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800, codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000, codePoint = lead & 0x07u;
    }
    bool wellFormed = length > 0 && utf8.size() - at >= length;
    for (std::size_t i = 1; wellFormed && i < length; ++i) {
        wellFormed = (byte(at + i) & 0xC0) == 0x80;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3Fu);
    }
    wellFormed = wellFormed && codePoint >= lowest && codePoint <= 0x10FFFF &&
                 (codePoint < 0xD800 || codePoint > 0xDFFF);
    if (!wellFormed) {
        ++at;
        return replacementCharacter;
    }
    at += length;
    return codePoint;
}

namespace {

bool isControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace

std::string quotedValue(std::string_view value) {
    constexpr int maxCharacters = 40;
    std::string shown = "„";
    int characters = 0;
    for (std::size_t at = 0; at < value.size(); ++characters) {
        if (characters == maxCharacters) {
            shown += "…";
            break;
        }
        const std::size_t start = at;
        const char32_t codePoint = nextCodePoint(value, at);
        if (isControl(codePoint)) {
            constexpr char hex[] = "0123456789ABCDEF";
            shown += {'\\', 'x', hex[codePoint >> 4], hex[codePoint & 0xF]};
        } else if (codePoint == replacementCharacter) {
            shown += "\uFFFD";  // also for a malformed byte
        } else {
            shown += value.substr(start, at - start);
        }
    }
    return shown + "“";
}

}  // namespace velnorka
