// Looks at the running program from outside, as another program on the same
// desktop would, for the end-to-end test: the clipboard, open dialogs, the
// text box, the regional decimal separator. Waits are bounded.
//
//   velnorka_probe clipboard FILE SECONDS   CF_UNICODETEXT as UTF-8, once there
//   velnorka_probe clear                    empties the clipboard
//   velnorka_probe dialog FILE SECONDS TEXT the open dialog whose static text shows
//                                           TEXT, once it has the keyboard: title,
//                                           then each control
//   velnorka_probe nodialog SECONDS         waits until no dialog is open
//   velnorka_probe text FILE                Text1 of the program's window
//   velnorka_probe decimal FILE             the regional decimal separator
//   velnorka_probe close SECONDS            closes the window, waits until it is gone
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int timedOut = 2;

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

bool writeFile(const wchar_t* path, const std::string& bytes) {
    FILE* file = _wfopen(path, L"wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::wstring windowText(HWND hwnd) {
    // WM_GETTEXT crosses process boundaries; GetWindowText does not for controls.
    const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// Polls `ready` every 50 ms for at most `seconds`.
template <typename Ready>
bool waitFor(double seconds, Ready ready) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        if (ready()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(50);
    }
}

BOOL CALLBACK collectDialog(HWND hwnd, LPARAM list) {
    if (IsWindowVisible(hwnd) && className(hwnd) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> openDialogs() {
    std::vector<HWND> dialogs;
    EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

BOOL CALLBACK describeChild(HWND hwnd, LPARAM out) {
    *reinterpret_cast<std::wstring*>(out) += className(hwnd) + L"\t" + windowText(hwnd) + L"\n";
    return TRUE;
}

std::wstring describe(HWND dialog) {
    std::wstring description = L"title\t" + windowText(dialog) + L"\n";
    EnumChildWindows(dialog, describeChild, reinterpret_cast<LPARAM>(&description));
    return description;
}

BOOL CALLBACK collectStaticText(HWND hwnd, LPARAM out) {
    if (className(hwnd) == L"Static") *reinterpret_cast<std::wstring*>(out) += windowText(hwnd) + L"\n";
    return TRUE;
}

// What the dialog says: its static texts, not what was typed into it (a
// prompt holding the reply "abc" does not show a message about "abc").
std::wstring shownText(HWND dialog) {
    std::wstring text;
    EnumChildWindows(dialog, collectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

// The dialog that shows `text` and is ready for keys: in front, with a
// focused control. A closing dialog may still be visible for a moment.
HWND readyDialog(const std::wstring& text) {
    for (const HWND dialog : openDialogs()) {
        if (shownText(dialog).find(text) == std::wstring::npos) continue;
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        if (GetForegroundWindow() == dialog &&
            GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread) &&
            thread.hwndFocus && IsChild(dialog, thread.hwndFocus))
            return dialog;
    }
    return nullptr;
}

HWND programWindow() { return FindWindowW(L"VelnorkaForm1", nullptr); }

bool readClipboard(std::wstring& text) {
    // Opened only once the text is there: a probe that holds the clipboard
    // while the program opens it would make the program report it busy.
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr)) return false;
    bool found = false;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
            std::size_t length = 0;
            while (length < capacity && chars[length] != L'\0') ++length;
            text.assign(chars, length);
            found = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return found;
}

int usage() {
    std::fputs("usage: velnorka_probe clipboard|clear|dialog|nodialog|text|decimal|close ...\n", stderr);
    return 64;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return usage();
    const std::wstring command = argv[1];
    const auto seconds = [&](int index) { return argc > index ? std::wcstod(argv[index], nullptr) : 10.0; };

    if (command == L"clipboard" && argc >= 3) {
        std::wstring text;
        if (!waitFor(seconds(3), [&] { return readClipboard(text); })) return timedOut;
        return writeFile(argv[2], utf8(text)) ? 0 : 1;
    }
    if (command == L"clear") {
        const bool cleared = waitFor(5, [] {
            if (!OpenClipboard(nullptr)) return false;
            EmptyClipboard();
            CloseClipboard();
            return true;
        });
        return cleared ? 0 : timedOut;
    }
    if (command == L"dialog" && argc >= 5) {
        HWND dialog = nullptr;
        if (!waitFor(seconds(3), [&] { return (dialog = readyDialog(argv[4])) != nullptr; })) {
            const std::vector<HWND> dialogs = openDialogs();
            if (!dialogs.empty()) writeFile(argv[2], utf8(describe(dialogs.front())));
            return timedOut;
        }
        return writeFile(argv[2], utf8(describe(dialog))) ? 0 : 1;
    }
    if (command == L"nodialog") return waitFor(seconds(2), [] { return openDialogs().empty(); }) ? 0 : timedOut;
    if (command == L"text" && argc >= 3) {
        const HWND window = programWindow();
        const HWND text = window ? FindWindowExW(window, nullptr, L"Edit", nullptr) : nullptr;
        if (!text) return 1;
        return writeFile(argv[2], utf8(windowText(text))) ? 0 : 1;
    }
    if (command == L"decimal" && argc >= 3) {
        wchar_t separator[16] = {};
        if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 16) <= 1) return 1;
        return writeFile(argv[2], utf8(separator)) ? 0 : 1;
    }
    if (command == L"close") {
        const HWND window = programWindow();
        if (!window) return 1;
        PostMessageW(window, WM_CLOSE, 0, 0);
        return waitFor(seconds(2), [] { return programWindow() == nullptr; }) ? 0 : timedOut;
    }
    return usage();
}
