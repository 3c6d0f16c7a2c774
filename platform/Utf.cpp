#include "platform/Utf.h"

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

}  // namespace velnorka
