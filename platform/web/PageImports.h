#pragma once
// What the page's JavaScript (velnorka-page.js) gives the C++ side. Strings
// returned as char* are allocated with malloc; the caller frees them.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <memory>
#include <string>

extern "C" {
// The page: the box of the window and its controls.
void velnorka_set_form(const char* caption, int width, int height);
void velnorka_add_control(const char* name, int kind, const char* caption, bool inFrame, int left,
                          int top, int width, int height, int clickEvent);
void velnorka_set_text_box(const char* accessibleName, const char* fontFace, int points);
// The value of ?seed= in the page's address, or null.
char* velnorka_seed_parameter();
// Runs Form_Load after main() and opens the page for input.
void velnorka_start();

// Text1, in the textarea's own terms ("\n" line breaks).
char* velnorka_area_text();
void velnorka_set_area_text(const char* text);
char* velnorka_area_selected_text();
int velnorka_area_selection_start();
int velnorka_area_selection_end();
void velnorka_set_area_selection(int start, int end);

void velnorka_set_busy(bool busy);
void velnorka_check_option(int option, bool checked);
// Puts both flavours on the clipboard inside the click; false if the browser refused.
bool velnorka_copy(const char* plainText, const char* html);
// 0: the decimal separator, 1: the group separator of the browser's language.
char* velnorka_number_separator(int which);
}

namespace velnorka::web {

// A string from the page, freed when taken.
inline std::string taken(char* text) {
    const std::unique_ptr<char, decltype(&std::free)> owner(text, &std::free);
    return text ? std::string(text) : std::string();
}

}  // namespace velnorka::web
