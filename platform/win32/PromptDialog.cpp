#include "platform/win32/PromptDialog.h"

#include <cstring>
#include <vector>

#include "platform/Errors.h"
#include "platform/win32/WorkArea.h"

namespace velnorka::win32 {

namespace {

// Builds a DLGTEMPLATE and its items word by word.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, const std::wstring& title,
                   WORD points, const std::wstring& face) {
        dword(style);
        dword(0);  // extended style
        countIndex_ = words_.size();
        word(0);  // number of items, counted as they are added
        word(0);  // x, y: placed over the owner when shown
        word(0);
        word(static_cast<WORD>(width));
        word(static_cast<WORD>(height));
        word(0);  // no menu
        word(0);  // the standard dialog class
        text(title);
        word(points);
        text(face);
    }

    // `classAtom`: 0x80 button, 0x81 edit, 0x82 static.
    void item(DWORD style, short x, short y, short width, short height, WORD id, WORD classAtom,
              const std::wstring& caption) {
        if (words_.size() % 2) word(0);  // each item starts on a DWORD boundary
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        word(static_cast<WORD>(x));
        word(static_cast<WORD>(y));
        word(static_cast<WORD>(width));
        word(static_cast<WORD>(height));
        word(id);
        word(0xFFFF);
        word(classAtom);
        text(caption);
        word(0);  // no creation data
        ++words_[countIndex_];
    }

    // The template in DWORD-aligned memory, as DialogBoxIndirect wants it.
    std::vector<DWORD> memory() const {
        std::vector<DWORD> aligned((words_.size() + 1) / 2, 0);
        std::memcpy(aligned.data(), words_.data(), words_.size() * sizeof(WORD));
        return aligned;
    }

private:
    void word(WORD value) { words_.push_back(value); }
    void dword(DWORD value) {
        word(LOWORD(value));
        word(HIWORD(value));
    }
    void text(const std::wstring& value) {
        for (const wchar_t c : value) word(static_cast<WORD>(c));
        word(0);
    }

    std::vector<WORD> words_;
    std::size_t countIndex_ = 0;
};

struct PromptState {
    const std::wstring& prompt;
    const std::wstring& defaultReply;
    std::wstring reply;
};

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Over the middle of the window that asks, kept on its screen.
void centerOnOwner(HWND dialog) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    RECT ownerRect;
    RECT dialogRect;
    if (!owner || !GetWindowRect(owner, &ownerRect) || !GetWindowRect(dialog, &dialogRect)) return;
    const LONG width = dialogRect.right - dialogRect.left;
    const LONG height = dialogRect.bottom - dialogRect.top;
    const LONG left = (ownerRect.left + ownerRect.right - width) / 2;
    const LONG top = (ownerRect.top + ownerRect.bottom - height) / 2;
    const POINT corner = placeInWorkArea({left, top, left + width, top + height},
                                         MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST));
    SetWindowPos(dialog, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK promptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<PromptState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            centerOnOwner(dialog);
            SetDlgItemTextW(dialog, promptTextId, state->prompt.c_str());
            const HWND entry = GetDlgItem(dialog, promptEntryId);
            SetWindowTextW(entry, state->defaultReply.c_str());
            // Typing replaces the default reply.
            SendMessageW(entry, EM_SETSEL, 0, -1);
            SetFocus(entry);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: {
                    auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                    state->reply = windowText(GetDlgItem(dialog, promptEntryId));
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> askForText(HWND owner, const std::wstring& title,
                                       const std::wstring& prompt, const std::wstring& defaultReply) {
    // The dialog speaks in the desktop's message font, like the system's own.
    std::wstring face = L"MS Shell Dlg";
    WORD points = 8;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
        metrics.lfMessageFont.lfHeight != 0) {
        const HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        const int height = metrics.lfMessageFont.lfHeight;
        points = static_cast<WORD>(MulDiv(height < 0 ? -height : height, 72, dpi > 0 ? dpi : 96));
        face = metrics.lfMessageFont.lfFaceName;
    }

    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                          240, 70, title, points, face);
    dialog.item(SS_LEFT | SS_NOPREFIX, 7, 7, 226, 18, promptTextId, 0x82, L"");
    dialog.item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 28, 226, 14, promptEntryId, 0x81, L"");
    dialog.item(WS_TABSTOP | BS_DEFPUSHBUTTON, 129, 49, 50, 14, IDOK, 0x80, L"OK");
    dialog.item(WS_TABSTOP | BS_PUSHBUTTON, 183, 49, 50, 14, IDCANCEL, 0x80, L"Storno");
    const std::vector<DWORD> memory = dialog.memory();

    PromptState state{prompt, defaultReply, {}};
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(memory.data()), owner,
        promptProc, reinterpret_cast<LPARAM>(&state));
    if (result == -1 || result == 0) throw PlatformError("Dialog pro zadání hodnoty nelze zobrazit.");
    if (result != IDOK) return std::nullopt;
    return state.reply;
}

}  // namespace velnorka::win32
