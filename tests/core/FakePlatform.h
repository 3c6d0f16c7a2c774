#pragma once
// A desktop that records what the window logic asked of it.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "platform/Platform.h"
#include "platform/Utf.h"

namespace velnorka::test {

class FakePlatform : public Platform {
public:
    std::optional<std::string> inputBox(const std::string& prompt,
                                        const std::string& defaultReply) override {
        log.push_back("prompt:" + prompt + "|" + defaultReply);
        if (replies.empty()) return std::nullopt;
        std::optional<std::string> reply = replies.front();
        replies.pop_front();
        return reply;
    }
    void msgBox(const std::string& text) override {
        log.push_back("msgBox:" + text);
        messages.push_back(text);
    }
    void setMousePointer(MousePointer pointer) override {
        log.push_back(pointer == MousePointer::Hourglass ? "pointer:hourglass" : "pointer:default");
    }
    std::string text() const override { return box; }
    void setText(const std::string& text) override {
        log.push_back("setText");
        box = text;
    }
    void setSelStart(int start) override { selectionStart = start; }
    void setSelLength(int length) override { selectionLength = length; }
    int selStart() const override { return selectionStart; }
    int selLength() const override { return selectionLength; }
    std::string selText() const override {
        // Selections count UTF-16 units; the tests keep to text where that
        // matches whole characters.
        std::string result;
        int unit = 0;
        for (std::size_t i = 0; i < box.size();) {
            std::size_t length = 1;
            while (i + length < box.size() && (static_cast<unsigned char>(box[i + length]) & 0xC0) == 0x80)
                ++length;
            const std::string character = box.substr(i, length);
            if (unit >= selectionStart && unit < selectionStart + selectionLength) result += character;
            unit += utf16Length(character);
            i += length;
        }
        return result;
    }
    void setOptionValue(int option, bool checked) override {
        log.push_back("option:" + std::to_string(option) + (checked ? "=on" : "=off"));
    }
    void clipboardClear() override {
        log.push_back("clipboardClear");
        if (clipboardLocked) throw PlatformError("Schránka je obsazená jiným programem.");
        clipboard.reset();
    }
    void clipboardSetText(const ClipboardFlavours& flavours) override {
        log.push_back("clipboardSetText");
        selectionWhenCopied = {selectionStart, selectionLength};
        clipboard = flavours.plainText;
        clipboardHtml = flavours.html;
        clipboardRtf = flavours.rtf;
    }
    NumberFormat numberFormat() const override { return format; }

    std::deque<std::optional<std::string>> replies;
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::string box;
    int selectionStart = 0;
    int selectionLength = 0;
    std::pair<int, int> selectionWhenCopied{-1, -1};  // start and length
    std::optional<std::string> clipboard = std::string("earlier clipboard");
    std::string clipboardHtml;
    std::string clipboardRtf;
    bool clipboardLocked = false;
    NumberFormat format{",", "\u00A0"};
};

}  // namespace velnorka::test
