#include "window/Form1.h"

#include <new>

#include "platform/Errors.h"
#include "platform/NumberFormat.h"
#include "platform/Utf.h"
#include "window/RichCopy.h"

namespace velnorka {

namespace {

// Keeps the hourglass up for the rest of the scope, also if a step fails.
class BusyPointer {
public:
    explicit BusyPointer(Platform& platform) : platform_(platform) {
        platform_.setMousePointer(MousePointer::Hourglass);
    }
    ~BusyPointer() {
        try {
            platform_.setMousePointer(MousePointer::Default);
        } catch (...) {
        }
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Platform& platform_;
};

}  // namespace

void Form1::raise(FormEvent event) noexcept {
    try {
        switch (event) {
            case FormEvent::Load: Form_Load(); break;
            case FormEvent::Command1Click: Command1_Click(); break;
            case FormEvent::Command2Click: Command2_Click(); break;
            case FormEvent::Command3Click: Command3_Click(); break;
            case FormEvent::Option1Click: Option1_Click(); break;
            case FormEvent::Option2Click: Option2_Click(); break;
            case FormEvent::Option3Click: Option3_Click(); break;
        }
    } catch (...) {
        reportFailure(std::current_exception());
    }
}

void Form1::reportFailure(std::exception_ptr failure) noexcept {
    if (!failure) return;
    try {
        std::rethrow_exception(failure);
    } catch (const Cancelled&) {
        return;  // the user chose to stop: nothing to report
    } catch (const UserError& error) {
        report(error.what());
    } catch (const std::bad_alloc&) {
        report("Pro tuto akci nestačí paměť.");
    } catch (const std::exception& error) {
        report(std::string("Akce se nezdařila: ") + error.what());
    } catch (...) {
        report("Akce se nezdařila kvůli neznámé chybě.");
    }
}

void Form1::report(const std::string& message) noexcept {
    try {
        platform_.msgBox(message);
    } catch (...) {
        // Nothing more can be done: the window keeps running.
    }
}

void Form1::Form_Load() {
    random_.randomize();
    start();
    platform_.setOptionValue(1, true);
    Option1_Click();  // selecting an option raises its click event
    mode = 1;
}

void Form1::Option1_Click() { mode = 1; }
void Form1::Option2_Click() { mode = 2; }
void Form1::Option3_Click() { mode = 3; }

std::int16_t Form1::askInteger(const char* prompt, const NumberFormat& format) {
    const std::optional<std::string> reply = platform_.inputBox(prompt, defaultReply);
    if (!reply) throw Cancelled();
    return replyToInt16(*reply, format);
}

void Form1::Command1_Click() {
    const NumberFormat format = platform_.numberFormat();
    const std::int16_t count = askInteger(countPrompt, format);
    if (count > maxCount) {
        platform_.msgBox(tooManyMessage);
        return;
    }
    answers.clear();
    const std::int16_t groupSize = askInteger(groupPrompt, format);
    const BusyPointer busy(platform_);
    const std::string questions =
        writeExercises(*this, count, groupSize, random_, format.decimalSeparator);
    std::string sheet = questions + newline + answers;
    platform_.setText(sheet);
    generatedText_ = std::move(sheet);
    generatedKeyStart_ = questions.size() + newline.size();
}

void Form1::Command2_Click() { platform_.setText(""); }

void Form1::Command3_Click() {
    const int caretStart = platform_.selStart();
    const int caretLength = platform_.selLength();
    platform_.setSelStart(0);
    platform_.setSelLength(utf16Length(platform_.text()));
    platform_.clipboardClear();
    const std::string selected = platform_.selText();
    const bool unchanged = !generatedText_.empty() && selected == generatedText_;
    platform_.clipboardSetText(clipboardFlavours(
        selected, unchanged ? std::optional<std::size_t>(generatedKeyStart_) : std::nullopt));
    // The copy is done: the box gets its caret and selection back, so that a
    // keystroke in it does not replace the whole sheet.
    platform_.setSelStart(caretStart);
    platform_.setSelLength(caretLength);
}

}  // namespace velnorka
