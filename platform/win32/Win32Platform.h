#pragma once
// The desktop services of the window logic, on Win32.
#include <utility>

#include "platform/Platform.h"
#include "platform/win32/MainWindow.h"

namespace velnorka::win32 {

class Win32Platform : public Platform {
public:
    explicit Win32Platform(MainWindow& window) : window_(window) {}

    std::optional<std::string> inputBox(const std::string& prompt,
                                        const std::string& defaultReply) override;
    void msgBox(const std::string& text) override;
    void setMousePointer(MousePointer pointer) override;

    std::string text() const override;
    void setText(const std::string& text) override;
    void setSelStart(int start) override;
    void setSelLength(int length) override;
    int selStart() const override;
    int selLength() const override;
    std::string selText() const override;

    void setOptionValue(int option, bool checked) override;

    void clipboardClear() override;
    void clipboardSetText(const ClipboardFlavours& flavours) override;

    NumberFormat numberFormat() const override;

private:
    HWND text1() const { return window_.control(ControlId::Text1); }
    std::wstring wideText() const;
    // The selection's start and end, in UTF-16 units.
    std::pair<DWORD, DWORD> selection() const;

    MainWindow& window_;
};

}  // namespace velnorka::win32
