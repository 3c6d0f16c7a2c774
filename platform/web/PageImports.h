#pragma once
// What the page's JavaScript (velnorka-page.js) gives the C++ side. The
// user's text (the box, the dialogs, the clipboard, the address) passes as
// UTF-8 with its length in bytes, both ways, so that a U+0000 in it is a
// character like any other; the window's own names pass as C strings.
// Strings returned as char* are allocated with malloc, their length stored
// at `length`; the caller frees them.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

extern "C" {
// The page: the box of the window and its controls.
void velnorka_set_form(const char* caption, int width, int height);
void velnorka_add_control(const char* name, int kind, const char* caption, bool inFrame, int left,
                          int top, int width, int height, int clickEvent);
void velnorka_set_text_box(const char* accessibleName, const char* fontFace, int points);
// The value of ?seed= in the page's address, or null.
char* velnorka_seed_parameter(std::size_t* length);
// Runs Form_Load after main() and opens the page for input.
void velnorka_start();

// Text1, in the textarea's own terms ("\n" line breaks).
char* velnorka_area_text(std::size_t* length);
void velnorka_set_area_text(const char* text, std::size_t length);
char* velnorka_area_selected_text(std::size_t* length);
int velnorka_area_selection_start();
int velnorka_area_selection_end();
void velnorka_set_area_selection(int start, int end);

void velnorka_set_busy(bool busy);
void velnorka_check_option(int option, bool checked);
// Puts both flavours on the clipboard inside the click; false if the browser refused.
bool velnorka_copy(const char* plainText, std::size_t plainLength, const char* html,
                   std::size_t htmlLength);
// 0: the decimal separator, 1: the group separator of the browser's language.
char* velnorka_number_separator(int which, std::size_t* length);
// The lines that the browser prints (HTML), until the next call.
void velnorka_set_print_sheet(const char* html, std::size_t length);
}

namespace velnorka::web {

// A string from the page, freed when taken; nullopt for null.
inline std::optional<std::string> taken(char* text, std::size_t length) {
    const std::unique_ptr<char, decltype(&std::free)> owner(text, &std::free);
    if (!text) return std::nullopt;
    return std::string(text, length);
}

// The string that `get` returns from the page, "" for null.
template <typename Get>
std::string fromPage(Get get) {
    std::size_t length = 0;
    char* text = get(&length);
    return taken(text, length).value_or(std::string());
}

}  // namespace velnorka::web
