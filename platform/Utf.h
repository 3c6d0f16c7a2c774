#pragma once
// UTF-8 helpers for the text box: lengths in UTF-16 code units.
#include <string_view>

namespace velnorka {

// Number of UTF-16 code units the UTF-8 text takes (a line break "\r\n"
// counts two). Malformed bytes count one each.
int utf16Length(std::string_view utf8);

}  // namespace velnorka
