#include "platform/win32/WideText.h"

#include <windows.h>

#include <climits>

#include "platform/Errors.h"

namespace velnorka::win32 {

namespace {

int checkedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw PlatformError("Text je příliš dlouhý.");
    return static_cast<int>(size);
}

}  // namespace

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = checkedLength(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0) throw PlatformError("Text se nepodařilo převést.");
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wideLength);
    return wide;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int length = checkedLength(utf16.size());
    const int narrowLength =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrowLength <= 0) throw PlatformError("Text se nepodařilo převést.");
    std::string text(static_cast<std::size_t>(narrowLength), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, text.data(), narrowLength, nullptr,
                        nullptr);
    return text;
}

}  // namespace velnorka::win32
