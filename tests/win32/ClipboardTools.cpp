#include "ClipboardTools.h"

#include <cstring>

namespace velnorka::win32::test {

std::optional<std::wstring> clipboardText() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            // Up to the closing zero, within the block.
            const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
            std::size_t length = 0;
            while (length < capacity && chars[length] != L'\0') ++length;
            text.emplace(chars, length);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

bool putOnClipboard(HWND owner, const std::wstring& text, UINT format) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool put = SetClipboardData(format, memory) != nullptr;
    if (!put) GlobalFree(memory);
    CloseClipboard();
    return put;
}

ClipboardHolder::ClipboardHolder(DWORD milliseconds)
    : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, milliseconds] {
        const HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, nullptr,
                                            nullptr, GetModuleHandleW(nullptr), nullptr);
        holding_ = window && OpenClipboard(window);
        SetEvent(opened_);
        WaitForSingleObject(release_, milliseconds);
        if (holding_) CloseClipboard();
        if (window) DestroyWindow(window);
    });
    WaitForSingleObject(opened_, INFINITE);
}

ClipboardHolder::~ClipboardHolder() {
    SetEvent(release_);
    thread_.join();
    CloseHandle(opened_);
    CloseHandle(release_);
}

}  // namespace velnorka::win32::test
