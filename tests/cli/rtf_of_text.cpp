// Writes the RTF that Kopíruj makes of the text on standard input (a box the
// user edited), for the word-processor test.
#include <iostream>
#include <iterator>
#include <string>

#include "window/RichCopy.h"

int main() {
    const std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    std::cout << velnorka::clipboardFlavours(text, std::nullopt).rtf;
    return std::cout.flush() ? 0 : 1;
}
