#pragma once
// Platform on Qt: the prompt and message box, the busy pointer, Text1, the
// option buttons, the clipboard and the regional number format.
#include <QString>

#include "platform/Platform.h"

class QTextDocument;

namespace velnorka::qt {

class Form1Window;

class QtPlatform : public Platform {
public:
    explicit QtPlatform(Form1Window& window);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

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
    Form1Window& window_;
    bool busy_ = false;
};

// Text of the box as the program sees it: every line or paragraph separator
// becomes "\r\n"; no-break spaces are kept.
QString programText(QString text);

// The box's whole text as the program sees it.
QString documentText(const QTextDocument& document);

// A position counted in UTF-16 units with each line break counting two, as a
// document position (one unit per paragraph or line separator). A position inside a line
// break maps to the end of its line; one past the end maps to the end.
int documentPosition(const QTextDocument& document, int position);

// The reverse: a document position in the program's units.
int programPosition(const QTextDocument& document, int position);

}  // namespace velnorka::qt
