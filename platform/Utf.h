#pragma once
// UTF-8 helpers: code points, lengths in UTF-16 code units for the text box,
// and text quoted safely in a message.
#include <string>
#include <string_view>

namespace velnorka {

// Number of UTF-16 code units the UTF-8 text takes (a line break "\r\n"
// counts two). Malformed bytes count one each, as nextCodePoint reads them.
int utf16Length(std::string_view utf8);

inline constexpr char32_t replacementCharacter = 0xFFFD;

// The code point of the UTF-8 sequence that starts at `at`, and `at` moved
// past it. A malformed byte (a stray continuation byte, an overlong form, a
// surrogate, a value beyond U+10FFFF, a sequence cut short) gives U+FFFD and
// moves `at` on by one.
char32_t nextCodePoint(std::string_view utf8, std::size_t& at);

// A value as a message quotes it: „value“, cut to its first 40 characters
// with "…" after it. Control characters are shown as \xHH (ESC as \x1B) and
// malformed UTF-8 as U+FFFD, so that nothing in a reply or an argument can
// steer a terminal or break the message over lines.
std::string quotedValue(std::string_view value);

}  // namespace velnorka
