#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <climits>

#include "platform/Errors.h"
#include "platform/qt/Form1Window.h"

namespace velnorka::qt {

namespace {

const QString lineBreak = QStringLiteral("\r\n");

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Line and paragraph separators: where a line of text ends.
bool isLineBreak(QChar c) {
    switch (c.unicode()) {
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case 0x0085:  // next line
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
            return true;
        default:
            return false;
    }
}

// Keeps a reply to one line, however the text got in (typed, pasted,
// dropped): everything from the first line break on is dropped.
class OneLineReply : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        const auto lineEnd = std::find_if(input.cbegin(), input.cend(), isLineBreak);
        if (lineEnd != input.cend()) {
            input.truncate(lineEnd - input.cbegin());
            position = std::min(position, static_cast<int>(input.size()));
        }
        return Acceptable;
    }
};

// The prompt: its text, an entry with the default reply selected so that
// typing replaces it, OK (Enter) and Cancel (Escape).
class PromptDialog : public QDialog {
public:
    PromptDialog(QWidget* parent, const QString& prompt, const QString& defaultReply)
        : QDialog(parent) {
        setWindowTitle(QApplication::applicationDisplayName());
        auto* layout = new QVBoxLayout(this);
        // The prompt labels the entry, so a screen reader says what to type.
        auto* label = new QLabel(shownAsWritten(prompt), this);
        label->setObjectName(QStringLiteral("prompt"));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        layout->addWidget(label);
        reply_ = new QLineEdit(this);
        reply_->setObjectName(QStringLiteral("reply"));
        // A reply is never cut at the entry's usual 32767 characters, and a
        // pasted line break ends it, as in a one-line field.
        reply_->setMaxLength(INT_MAX);
        reply_->setValidator(new OneLineReply(reply_));
        reply_->setText(defaultReply);
        reply_->selectAll();
        label->setBuddy(reply_);
        layout->addWidget(reply_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
        buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Zrušit"));
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
        label->setMinimumWidth(300);
        reply_->setFocus();
    }
    QString reply() const { return reply_->text(); }

private:
    QLineEdit* reply_;
};

}  // namespace

QString programText(QString text) {
    return text.replace(QChar::LineSeparator, lineBreak).replace(QChar::ParagraphSeparator, lineBreak);
}

QString documentText(const QTextDocument& document) {
    // toPlainText() would turn no-break spaces into blanks: read the blocks.
    // A paragraph ends in a line break; so does a line within one (Shift+Enter).
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) text += lineBreak;
        text += programText(block.text());
    }
    return text;
}

namespace {

// The length of a paragraph's text in the program's units: a line
// separator in it is a line break of two.
int programLength(const QString& paragraph) {
    return static_cast<int>(paragraph.size() + paragraph.count(QChar::LineSeparator));
}

}  // namespace

int documentPosition(const QTextDocument& document, int position) {
    int remaining = std::max(position, 0);
    QTextBlock block = document.begin();
    while (block.isValid()) {
        const QString paragraph = block.text();
        for (qsizetype i = 0; i < paragraph.size(); ++i) {
            const int units = paragraph[i] == QChar::LineSeparator ? 2 : 1;
            if (remaining < units) return block.position() + static_cast<int>(i);  // before it
            remaining -= units;
        }
        const int paragraphEnd = block.position() + static_cast<int>(paragraph.size());
        const QTextBlock next = block.next();
        if (!next.isValid() || remaining < 2) return paragraphEnd;  // inside a line break: before it
        remaining -= 2;
        block = next;
    }
    return document.characterCount() - 1;  // the end of the text
}

int programPosition(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid()) return static_cast<int>(documentText(document).size());
    int units = 0;
    for (QTextBlock before = document.begin(); before != block; before = before.next())
        units += programLength(before.text()) + 2;  // its text and the line break after it
    return units + programLength(block.text().left(position - block.position()));
}

QtPlatform::QtPlatform(Form1Window& window) : window_(window) {}

QtPlatform::~QtPlatform() {
    if (busy_) QApplication::restoreOverrideCursor();
}

std::optional<std::string> QtPlatform::inputBox(const std::string& prompt,
                                                const std::string& defaultReply) {
    PromptDialog dialog(&window_, fromUtf8(prompt), fromUtf8(defaultReply));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return toUtf8(dialog.reply());
}

void QtPlatform::msgBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), fromUtf8(text),
                    QMessageBox::Ok, &window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtPlatform::setMousePointer(MousePointer pointer) {
    // The override stack must stay balanced, whatever the caller sends.
    if (pointer == MousePointer::Hourglass && !busy_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busy_ = true;
    } else if (pointer == MousePointer::Default && busy_) {
        QApplication::restoreOverrideCursor();
        busy_ = false;
    }
}

std::string QtPlatform::text() const { return toUtf8(documentText(*window_.text1()->document())); }

void QtPlatform::setText(const std::string& text) {
    // "\r\n" (and a lone "\r" or "\n") starts a new paragraph.
    window_.text1()->setPlainText(fromUtf8(text));
}

void QtPlatform::setSelStart(int start) {
    if (start < 0) throw PlatformError("Začátek výběru v textovém poli nesmí být záporný.");
    QPlainTextEdit* edit = window_.text1();
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(documentPosition(*edit->document(), start));
    edit->setTextCursor(cursor);
}

void QtPlatform::setSelLength(int length) {
    if (length < 0) throw PlatformError("Délka výběru v textovém poli nesmí být záporná.");
    QPlainTextEdit* edit = window_.text1();
    const QTextDocument& document = *edit->document();
    QTextCursor cursor = edit->textCursor();
    const int start = cursor.selectionStart();
    // Widened: a length up to INT_MAX simply selects to the end.
    const long long endUnits = static_cast<long long>(programPosition(document, start)) + length;
    const int end = documentPosition(document, static_cast<int>(std::min<long long>(endUnits, INT_MAX)));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

int QtPlatform::selStart() const {
    const QPlainTextEdit* edit = window_.text1();
    return programPosition(*edit->document(), edit->textCursor().selectionStart());
}

int QtPlatform::selLength() const {
    const QPlainTextEdit* edit = window_.text1();
    const QTextCursor cursor = edit->textCursor();
    return programPosition(*edit->document(), cursor.selectionEnd()) -
           programPosition(*edit->document(), cursor.selectionStart());
}

std::string QtPlatform::selText() const {
    return toUtf8(programText(window_.text1()->textCursor().selectedText()));
}

void QtPlatform::setOptionValue(int option, bool checked) {
    QRadioButton* button = window_.option(option);
    if (!button) throw PlatformError("Přepínač číslo " + std::to_string(option) + " neexistuje.");
    // setChecked emits no click, so no event handler runs from here.
    if (checked || !button->isChecked()) {
        button->setChecked(checked);
        return;
    }
    // An exclusive group keeps one button checked; clearing it needs a pause.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

void QtPlatform::clipboardClear() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) throw PlatformError("Schránka není dostupná.");
    clipboard->clear(QClipboard::Clipboard);
}

void QtPlatform::clipboardSetText(const ClipboardFlavours& flavours) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) throw PlatformError("Schránka není dostupná.");
    const QString qtext = fromUtf8(flavours.plainText);
    auto* data = new QMimeData;
    data->setText(qtext);
    data->setHtml(fromUtf8(flavours.html));
    const QByteArray rtf(flavours.rtf.data(), static_cast<qsizetype>(flavours.rtf.size()));
    data->setData(QStringLiteral("text/rtf"), rtf);
    data->setData(QStringLiteral("application/rtf"), rtf);
    clipboard->setMimeData(data, QClipboard::Clipboard);  // the clipboard takes ownership
    // X11 reports no failure; a clipboard that we do not hold reads back otherwise.
    if (clipboard->text(QClipboard::Clipboard) != qtext)
        throw PlatformError("Text se nepodařilo vložit do schránky. Zkuste to prosím znovu.");
}

NumberFormat QtPlatform::numberFormat() const {
    const QLocale locale = QLocale::system();
    return NumberFormat{toUtf8(locale.decimalPoint()), toUtf8(locale.groupSeparator())};
}

}  // namespace velnorka::qt
