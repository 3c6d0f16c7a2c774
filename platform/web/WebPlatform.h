#pragma once
// Platform on the page: the prompts and the message box as a modal <dialog>
// awaited through ASYNCIFY, Text1 as a <textarea>, the option buttons as
// radio inputs, the clipboard through the click's copy event, and the
// browser language's number format.
#include "platform/Platform.h"

namespace velnorka::web {

class WebPlatform : public Platform {
public:
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
    // The copy event replaces every flavour at once: nothing to empty first.
    void clipboardClear() override {}
    void clipboardSetText(const ClipboardFlavours& flavours) override;
    NumberFormat numberFormat() const override;
};

}  // namespace velnorka::web
