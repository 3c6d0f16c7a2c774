#pragma once
// The one interface through which the window logic reaches the desktop.
// Texts are UTF-8; line breaks are "\r\n" and digit groups are separated by
// U+00A0, exactly as the user sees them. Every operation that fails throws
// PlatformError with a Czech message; a prompt's Cancel is reported by an
// empty optional (the caller turns it into Cancelled).
#include <optional>
#include <string>

#include "platform/NumberFormat.h"

namespace velnorka {

enum class MousePointer { Default, Hourglass };

// One text in the clipboard's flavours: the plain text, and the same lines
// as an HTML document and as RTF for programs that take rich text.
struct ClipboardFlavours {
    std::string plainText;  // UTF-8 with "\r\n", exactly as the box shows it
    std::string html;       // UTF-8; the lines lie between the fragment markers
    std::string rtf;        // 7-bit
};

class Platform {
public:
    virtual ~Platform() = default;

    // Modal prompt over the window: the prompt text, an entry holding the
    // default reply (selected), OK and Cancel. The program's name is the title.
    // Returns the reply, or nullopt for Cancel (or the dialog closed).
    virtual std::optional<std::string> inputBox(const std::string& prompt,
                                                const std::string& defaultReply) = 0;

    // Modal message box with the text and one OK button.
    virtual void msgBox(const std::string& text) = 0;

    virtual void setMousePointer(MousePointer pointer) = 0;

    // Text1. Selection positions and lengths count UTF-16 code units, each
    // line break counting two.
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void setSelStart(int start) = 0;
    virtual void setSelLength(int length) = 0;
    virtual int selStart() const = 0;
    virtual int selLength() const = 0;
    virtual std::string selText() const = 0;

    // Checks option button 1..3 (the others of the frame clear). Raises no
    // event: the window logic runs the click handler itself.
    virtual void setOptionValue(int option, bool checked) = 0;

    // The clipboard: empty it (every format), then put a text on it in all
    // its flavours at once.
    virtual void clipboardClear() = 0;
    virtual void clipboardSetText(const ClipboardFlavours& flavours) = 0;

    // The user's regional number format (decimal and group separators).
    virtual NumberFormat numberFormat() const = 0;
};

}  // namespace velnorka
