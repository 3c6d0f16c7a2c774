#pragma once
// The core speaks UTF-8, Win32 speaks UTF-16: conversions at the edge.
#include <string>
#include <string_view>

namespace velnorka::win32 {

// Malformed UTF-8 becomes U+FFFD rather than failing: a text is never lost.
std::wstring widen(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string narrow(std::wstring_view utf16);

}  // namespace velnorka::win32
