#include "DialogAnswerer.h"

namespace velnorka::win32::test {

namespace {

DialogAnswerer* active = nullptr;  // the timer has no room for a pointer

std::wstring className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

BOOL CALLBACK collectDialog(HWND hwnd, LPARAM list) {
    if (IsWindowVisible(hwnd) && className(hwnd) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK collectChild(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::wstring windowText(HWND hwnd) {
    const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

DialogAnswerer::DialogAnswerer(std::vector<DialogStep> steps) : steps_(std::move(steps)) {
    active = this;
    timer_ = SetTimer(nullptr, 0, 20, onTimer);
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer_);
    active = nullptr;
}

void CALLBACK DialogAnswerer::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!active) return;
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), collectDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (const HWND dialog : dialogs)
        if (active->handled_.insert(dialog).second) active->handle(dialog);
}

void DialogAnswerer::handle(HWND dialog) {
    SeenDialog seen;
    seen.seenAt = GetTickCount();
    seen.title = windowText(dialog);
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.ownerDisabled = seen.owner && !IsWindowEnabled(seen.owner);
    RECT ownerRect;
    RECT dialogRect;
    if (seen.owner && GetWindowRect(seen.owner, &ownerRect) && GetWindowRect(dialog, &dialogRect)) {
        const POINT middle = {(dialogRect.left + dialogRect.right) / 2, (dialogRect.top + dialogRect.bottom) / 2};
        seen.overOwner = PtInRect(&ownerRect, middle);
    }
    std::vector<HWND> children;
    EnumChildWindows(dialog, collectChild, reinterpret_cast<LPARAM>(&children));
    HWND entry = nullptr;
    for (const HWND child : children) {
        const std::wstring name = className(child);
        if (name == L"Edit") entry = child;
        if (name == L"Static" && !windowText(child).empty())
            seen.text += (seen.text.empty() ? L"" : L"\n") + windowText(child);
    }
    if (entry) {
        seen.isPrompt = true;
        seen.entryText = windowText(entry);
        SendMessageW(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selectionStart),
                     reinterpret_cast<LPARAM>(&seen.selectionEnd));
        seen.entryHasFocus = GetFocus() == entry;
        const HWND ok = GetDlgItem(dialog, IDOK);
        seen.okIsDefault = ok && (GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }

    const bool fits = next_ < steps_.size() &&
                      (steps_[next_].kind == DialogStep::Kind::Acknowledge) != seen.isPrompt;
    if (!fits) {
        seen.unexpected = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        const DialogStep& step = steps_[next_++];
        // Keys go through the dialog's own loop, so Enter and Escape are
        // handled as the dialog handles a person's keys.
        switch (step.kind) {
            case DialogStep::Kind::Reply:
                SetWindowTextW(entry, step.reply.c_str());
                PostMessageW(entry, WM_KEYDOWN, VK_RETURN, 0);
                break;
            case DialogStep::Kind::Cancel: PostMessageW(entry, WM_KEYDOWN, VK_ESCAPE, 0); break;
            case DialogStep::Kind::Acknowledge: PostMessageW(dialog, WM_COMMAND, IDOK, 0); break;
        }
    }
    seen_.push_back(seen);
}

}  // namespace velnorka::win32::test
