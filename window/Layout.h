#pragma once
// The window as designed: one table of controls in twips, read by both
// toolkit skins. 1440 twips make an inch; at 96 DPI 15 twips are one pixel.
#include <array>
#include <string_view>

namespace velnorka {

enum class ControlId { Text1, Command1, Command2, Command3, Frame1, Option1, Option2, Option3 };
enum class ControlKind { TextBox, CommandButton, Frame, OptionButton };

struct ControlSpec {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    std::string_view caption;  // UTF-8; empty for Text1
    bool inFrame;              // positioned relative to Frame1, else to the client area
    int left, top, width, height;  // twips
    int tabIndex;
};

inline constexpr std::string_view formCaption = "Velnorka";
inline constexpr int formClientWidth = 8760;   // twips
inline constexpr int formClientHeight = 4410;  // twips
// Where the design puts the client area's origin on the screen.
inline constexpr int formClientLeft = 3300;
inline constexpr int formClientTop = 2925;

// In tab order.
inline constexpr std::array<ControlSpec, 8> controls = {{
    {ControlId::Text1, "Text1", ControlKind::TextBox, "", false, 120, 120, 6015, 3255, 0},
    {ControlId::Command1, "Command1", ControlKind::CommandButton, "Generuj", false, 6360, 120, 2175, 495, 1},
    {ControlId::Command2, "Command2", ControlKind::CommandButton, "Smaž", false, 6360, 720, 2175, 495, 2},
    {ControlId::Command3, "Command3", ControlKind::CommandButton, "Kopíruj", false, 6360, 1320, 2175, 495, 3},
    {ControlId::Frame1, "Frame1", ControlKind::Frame, "Výběr činností", false, 6360, 1920, 2175, 1575, 4},
    {ControlId::Option1, "Option1", ControlKind::OptionButton, "Jen přirozená čísla", true, 120, 360, 1815, 255, 5},
    {ControlId::Option2, "Option2", ControlKind::OptionButton, "Jen desetinná čísla", true, 120, 720, 1815, 375, 6},
    {ControlId::Option3, "Option3", ControlKind::OptionButton, "Mix", true, 120, 1080, 1455, 375, 7},
}};

constexpr const ControlSpec& control(ControlId id) {
    for (const ControlSpec& entry : controls)
        if (entry.id == id) return entry;
    return controls[0];  // unreachable: every id is in the table
}

// What a screen reader calls Text1, which has no caption to be named by.
inline constexpr std::string_view text1AccessibleName = "Pracovní list";

// The font of Text1; the other controls keep the desktop's default font.
struct FontSpec {
    std::string_view face;
    int points;
    int weight;
    int charset;
};
inline constexpr FontSpec text1Font = {"Times New Roman", 12, 400, 238};

// Twips to pixels at the given DPI, rounded to the nearest pixel.
constexpr int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

}  // namespace velnorka
