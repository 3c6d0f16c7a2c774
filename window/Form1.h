#pragma once
// The main window's logic: the form-level state, start-up and the seven event
// handlers. It reaches the desktop only through Platform; a toolkit skin
// creates the controls from Layout.h and forwards each event to raise().
#include <exception>
#include <optional>

#include "generator/Worksheet.h"
#include "platform/Platform.h"
#include "platform/Random.h"
#include "window/Layout.h"

namespace velnorka {

enum class FormEvent {
    Load,
    Command1Click,  // "Generuj"
    Command2Click,  // "Smaž"
    Command3Click,  // "Kopíruj"
    Option1Click,
    Option2Click,
    Option3Click,
};

// The event a click on the control raises: the buttons raise their click, the
// text box and the frame none.
constexpr std::optional<FormEvent> clickEvent(ControlId id) {
    switch (id) {
        case ControlId::Command1: return FormEvent::Command1Click;
        case ControlId::Command2: return FormEvent::Command2Click;
        case ControlId::Command3: return FormEvent::Command3Click;
        case ControlId::Option1: return FormEvent::Option1Click;
        case ControlId::Option2: return FormEvent::Option2Click;
        case ControlId::Option3: return FormEvent::Option3Click;
        case ControlId::Text1:
        case ControlId::Frame1: break;
    }
    return std::nullopt;
}

inline constexpr const char* countPrompt = "Zadejte počet příkladů (max.200)";
inline constexpr const char* groupPrompt = "Zadejte po kolika odsazovat";
inline constexpr const char* defaultReply = "10";
inline constexpr const char* tooManyMessage = "Tolik příkladů nelze vygenerovat";

class Form1 : public WorksheetState {
public:
    Form1(Platform& platform, RandomSource& random) : platform_(platform), random_(random) {}

    // Runs the handler of the event. A failing step ends the handler, is
    // reported in a Czech message box, and leaves what earlier steps did;
    // Cancel in a prompt ends it silently. Never throws.
    void raise(FormEvent event) noexcept;

    // Reports a failure as raise() does: a Czech message box, nothing for
    // Cancel. For failures that happen outside the seven handlers.
    void reportFailure(std::exception_ptr failure) noexcept;

    // The handlers themselves have no error handling of their own.
    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    std::int16_t askInteger(const char* prompt, const NumberFormat& format);
    void report(const std::string& message) noexcept;

    Platform& platform_;
    RandomSource& random_;
    // What the last "Generuj" put in Text1, and where its answer key starts,
    // so that a copy of the unchanged sheet knows where to break the page.
    std::string generatedText_;
    std::size_t generatedKeyStart_ = 0;
};

}  // namespace velnorka
