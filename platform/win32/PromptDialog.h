#pragma once
// The input prompt: a small modal dialog built in memory, no resource script.
#include <windows.h>

#include <optional>
#include <string>

namespace velnorka::win32 {

// Control ids of the prompt's text and entry (OK and Cancel are IDOK and IDCANCEL).
inline constexpr int promptTextId = 100;
inline constexpr int promptEntryId = 101;

// Shows the prompt over `owner` with the default reply selected. Enter
// presses OK, Escape Cancel. Returns the reply, or nullopt for Cancel or a
// closed dialog. Throws PlatformError if the dialog cannot be shown.
std::optional<std::wstring> askForText(HWND owner, const std::wstring& title,
                                       const std::wstring& prompt, const std::wstring& defaultReply);

}  // namespace velnorka::win32
