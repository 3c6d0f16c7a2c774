#pragma once
// Answers the program's modal dialogs from inside their own message loop, as
// a user would: a thread timer finds each new dialog of this thread, notes
// what it shows and handles it with the next scripted step.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace velnorka::win32::test {

struct DialogStep {
    enum class Kind { Reply, Cancel, Acknowledge };
    Kind kind;
    std::wstring reply;  // typed over the default reply, then Enter

    static DialogStep replyWith(std::wstring text) { return {Kind::Reply, std::move(text)}; }
    static DialogStep cancel() { return {Kind::Cancel, {}}; }          // Escape in a prompt
    static DialogStep acknowledge() { return {Kind::Acknowledge, {}}; }  // OK of a message box
};

struct SeenDialog {
    bool isPrompt = false;  // has an entry field; otherwise a message box
    std::wstring title;
    std::wstring text;       // the static texts, joined by newlines
    std::wstring entryText;  // what the entry held when the dialog appeared
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    bool entryHasFocus = false;
    bool okIsDefault = false;
    HWND owner = nullptr;
    bool ownerDisabled = false;
    bool overOwner = false;  // its middle lies on the owner window
    bool unexpected = false;  // no step fitted: closed with Cancel
    DWORD seenAt = 0;         // GetTickCount() when it was found open
};

class DialogAnswerer {
public:
    explicit DialogAnswerer(std::vector<DialogStep> steps);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    const std::vector<SeenDialog>& seen() const { return seen_; }
    std::size_t stepsLeft() const { return steps_.size() - next_; }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void handle(HWND dialog);

    std::vector<DialogStep> steps_;
    std::size_t next_ = 0;
    std::vector<SeenDialog> seen_;
    std::set<HWND> handled_;
    UINT_PTR timer_ = 0;
};

// The text of a window, read with WM_GETTEXT.
std::wstring windowText(HWND hwnd);

}  // namespace velnorka::win32::test
