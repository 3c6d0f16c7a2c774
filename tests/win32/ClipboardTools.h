#pragma once
// The clipboard as another program sees it.
#include <windows.h>

#include <optional>
#include <string>
#include <thread>

namespace velnorka::win32::test {

// The clipboard's CF_UNICODETEXT, or nullopt when it holds none.
std::optional<std::wstring> clipboardText();

// Replaces the clipboard's content with `text` in `format`, owned by `owner`.
bool putOnClipboard(HWND owner, const std::wstring& text, UINT format = CF_UNICODETEXT);

// Holds the clipboard open from a window of another thread, as a busy
// program would, for `milliseconds` or until destroyed. Constructed once
// the clipboard is open.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD milliseconds = INFINITE);
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    bool holding() const { return holding_; }

private:
    HANDLE opened_;
    HANDLE release_;
    bool holding_ = false;
    std::thread thread_;
};

}  // namespace velnorka::win32::test
