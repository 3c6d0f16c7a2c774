#pragma once
// A <textarea> keeps each line break as one "\n", whatever was put in; the
// window logic reads and writes "\r\n". These convert texts and positions
// between the two. Positions count UTF-16 code units on both sides; in the
// window logic's count each line break is two.
#include <string>
#include <string_view>

namespace velnorka::web {

// "\n" becomes "\r\n".
std::string programText(std::string_view areaText);

// "\r\n", and a lone "\r" or "\n", become "\n".
std::string areaText(std::string_view programText);

// A position in the window logic's units as a position in the textarea's
// text. A position inside a line break or a surrogate pair maps to before it;
// one beyond the end maps to the end.
int areaPosition(std::string_view areaText, long long programPosition);

// The reverse: a textarea position in the window logic's units.
int programPosition(std::string_view areaText, int areaPosition);

}  // namespace velnorka::web
