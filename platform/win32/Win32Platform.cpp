#include "platform/win32/Win32Platform.h"

#include <cstring>

#include "platform/Errors.h"
#include "platform/RegionalFormat.h"
#include "platform/win32/PromptDialog.h"
#include "platform/win32/WideText.h"
#include "window/RichCopy.h"

namespace velnorka::win32 {

namespace {

const wchar_t programName[] = L"Velnorka";

// Clipboard history, remote desktops and password managers open the
// clipboard for a moment after every change: a refused open is tried again
// for about half a second, under the hourglass, before it counts as busy.
constexpr DWORD clipboardPatienceMs = 500;
constexpr DWORD clipboardRetryMs = 15;

bool openClipboardPatiently(MainWindow& window) {
    if (OpenClipboard(window.hwnd())) return true;
    const bool wasBusy = window.busy();
    window.setBusy(true);
    const DWORD start = GetTickCount();
    bool opened = false;
    while (!opened && GetTickCount() - start < clipboardPatienceMs) {
        Sleep(clipboardRetryMs);
        opened = OpenClipboard(window.hwnd());
    }
    if (!wasBusy) window.setBusy(false);
    return opened;
}

// The clipboard stays open for the lifetime of one of these, and no longer.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(MainWindow& window) {
        if (!openClipboardPatiently(window))
            throw PlatformError("Schránku právě používá jiný program. Zkuste to prosím znovu.");
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

// Movable memory holding a copy of some bytes, freed unless the clipboard
// took it.
class GlobalBlock {
public:
    GlobalBlock(const void* bytes, std::size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {
        void* target = memory_ ? GlobalLock(memory_) : nullptr;
        if (!target) {
            if (memory_) GlobalFree(memory_);
            throw PlatformError("Pro text ve schránce nestačí paměť.");
        }
        std::memcpy(target, bytes, size);
        GlobalUnlock(memory_);
    }
    ~GlobalBlock() {
        if (memory_) GlobalFree(memory_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    // Puts the memory on the open clipboard, which then owns it.
    bool handTo(UINT format) {
        if (!SetClipboardData(format, memory_)) return false;
        memory_ = nullptr;
        return true;
    }

private:
    HGLOBAL memory_;
};

}  // namespace

std::optional<std::string> Win32Platform::inputBox(const std::string& prompt,
                                                   const std::string& defaultReply) {
    const std::optional<std::wstring> reply =
        askForText(window_.hwnd(), programName, widen(prompt), widen(defaultReply));
    if (!reply) return std::nullopt;
    return narrow(*reply);
}

void Win32Platform::msgBox(const std::string& text) {
    if (!MessageBoxW(window_.hwnd(), widen(text).c_str(), programName, MB_OK))
        throw PlatformError("Zprávu nelze zobrazit.");
}

void Win32Platform::setMousePointer(MousePointer pointer) {
    window_.setBusy(pointer == MousePointer::Hourglass);
}

std::wstring Win32Platform::wideText() const {
    const int length = GetWindowTextLengthW(text1());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(text1(), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string Win32Platform::text() const { return narrow(wideText()); }

void Win32Platform::setText(const std::string& text) {
    if (!SetWindowTextW(text1(), widen(text).c_str()))
        throw PlatformError("Text se do okna nepodařilo vložit.");
}

void Win32Platform::setSelStart(int start) {
    if (start < 0) throw PlatformError("Začátek výběru nemůže být záporný.");
    SendMessageW(text1(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
}

std::pair<DWORD, DWORD> Win32Platform::selection() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(text1(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Win32Platform::setSelLength(int length) {
    if (length < 0) throw PlatformError("Délka výběru nemůže být záporná.");
    const DWORD start = selection().first;
    // The control keeps the end within the text.
    SendMessageW(text1(), EM_SETSEL, start, static_cast<LPARAM>(start + static_cast<DWORD>(length)));
}

int Win32Platform::selStart() const { return static_cast<int>(selection().first); }

int Win32Platform::selLength() const {
    const auto [start, end] = selection();
    return static_cast<int>(end - start);
}

std::string Win32Platform::selText() const {
    const auto [start, end] = selection();
    const std::wstring text = wideText();
    if (start >= text.size() || end <= start) return {};
    return narrow(std::wstring_view(text).substr(start, end - start));
}

void Win32Platform::setOptionValue(int option, bool checked) {
    if (option < 1 || option > 3) throw PlatformError("Takový přepínač okno nemá.");
    const ControlId ids[] = {ControlId::Option1, ControlId::Option2, ControlId::Option3};
    // BM_SETCHECK notifies nobody: the caller runs the click handler itself.
    // A button already in that state is left alone: BM_SETCHECK rewrites an
    // option button's style even when its state stays.
    for (int i = 0; i < 3; ++i) {
        const bool mine = i == option - 1;
        if (!mine && !checked) continue;
        const HWND button = window_.control(ids[i]);
        const WPARAM state = mine && checked ? BST_CHECKED : BST_UNCHECKED;
        if (static_cast<WPARAM>(SendMessageW(button, BM_GETCHECK, 0, 0)) != state)
            SendMessageW(button, BM_SETCHECK, state, 0);
    }
    window_.updateOptionTabStop();
}

void Win32Platform::clipboardClear() {
    const OpenClipboardScope clipboard(window_);
    if (!EmptyClipboard()) throw PlatformError("Schránku se nepodařilo vyprázdnit.");
}

void Win32Platform::clipboardSetText(const ClipboardFlavours& flavours) {
    const std::wstring wide = widen(flavours.plainText);
    const std::string html = windowsHtmlFormat(flavours.html);
    // Each flavour with its closing zero.
    GlobalBlock text(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalBlock htmlBlock(html.c_str(), html.size() + 1);
    GlobalBlock rtf(flavours.rtf.c_str(), flavours.rtf.size() + 1);
    const UINT htmlFormat = RegisterClipboardFormatW(L"HTML Format");
    const UINT rtfFormat = RegisterClipboardFormatW(L"Rich Text Format");
    if (!htmlFormat || !rtfFormat) throw PlatformError("Formáty schránky nejsou dostupné.");

    const OpenClipboardScope clipboard(window_);
    // Someone else filled the clipboard since it was emptied: the text
    // replaces theirs rather than joining it.
    if (GetClipboardOwner() != window_.hwnd() && !EmptyClipboard())
        throw PlatformError("Schránku se nepodařilo vyprázdnit.");
    if (!text.handTo(CF_UNICODETEXT) || !htmlBlock.handTo(htmlFormat) || !rtf.handTo(rtfFormat)) {
        EmptyClipboard();  // all flavours or none
        throw PlatformError("Text se do schránky nepodařilo vložit.");
    }
}

NumberFormat Win32Platform::numberFormat() const { return userNumberFormat(); }

}  // namespace velnorka::win32
