// The Qt window in-process: the controls against the control table, the
// seven events, prompts answered as a user would, Text1 and the clipboard.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QDialog>
#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <QTimer>
#include <climits>
#include <deque>
#include <functional>
#include <optional>

#include "platform/Errors.h"
#include "platform/qt/QtProgram.h"
#include "tests/core/FakePlatform.h"

using namespace velnorka;
using namespace velnorka::qt;

namespace {

const char* const nbsp = "\u00A0";
// One question, the empty line between the halves and its key.
const std::string oneExerciseSheet = "a) 1\u00A0234 na desítky ____________________\r\n\r\n"
                                     "a) 1\u00A0234 na desítky  1\u00A0230\r\n";

// What a test saw of one modal dialog.
struct SeenDialog {
    bool isPrompt = false;
    QString title;
    QString text;          // the prompt or the message
    QString defaultReply;  // prompts only
    QString selectedReply;
    bool modal = false;
    QWidget* parent = nullptr;
    int buttonCount = 0;
};

// Answers the program's dialogs one after another as a user would, from
// outside: a timer looks for the active modal dialog, then types into it and
// presses a key. Dialogs that nobody expected are cancelled and counted, so a
// test never hangs on them.
class DialogScript {
public:
    using Answer = std::function<void(QDialog&)>;

    DialogScript() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start(5);
    }

    // Types the text (replacing the selected default) and presses Enter.
    void type(const QString& text) {
        answers_.push_back([text](QDialog& dialog) {
            QWidget* target = replyField(dialog);
            QTest::keyClicks(target, text);
            QTest::keyClick(target, Qt::Key_Return);
        });
    }
    // Pastes the text over the selected default with Ctrl+V and presses Enter.
    void paste(const QString& text) {
        answers_.push_back([text](QDialog& dialog) {
            QGuiApplication::clipboard()->setText(text);
            QWidget* target = replyField(dialog);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(target, Qt::Key_Return);
        });
    }
    // Any other answer: looks at the dialog and closes it.
    void then(Answer answer) { answers_.push_back(std::move(answer)); }
    void press(Qt::Key key) {
        answers_.push_back([key](QDialog& dialog) {
            QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
            QTest::keyClick(target, key);
        });
    }

    std::vector<SeenDialog> seen;
    int unexpected = 0;

private:
    static QWidget* replyField(QDialog& dialog) {
        auto* reply = dialog.findChild<QLineEdit*>(QStringLiteral("reply"));
        return reply ? static_cast<QWidget*>(reply) : &dialog;
    }

    void look() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == answered_) return;
        answered_ = dialog;
        answer(*dialog);
    }

    void answer(QDialog& dialog) {
        SeenDialog record;
        record.title = dialog.windowTitle();
        record.modal = dialog.isModal();
        record.parent = dialog.parentWidget();
        if (auto* reply = dialog.findChild<QLineEdit*>(QStringLiteral("reply"))) {
            record.isPrompt = true;
            record.defaultReply = reply->text();
            record.selectedReply = reply->selectedText();
            if (auto* label = dialog.findChild<QLabel*>(QStringLiteral("prompt")))
                record.text = label->text();
            record.buttonCount = static_cast<int>(dialog.findChildren<QPushButton*>().size());
        } else if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            record.text = box->text();
            record.buttonCount = static_cast<int>(box->buttons().size());
        }
        seen.push_back(record);
        // Whatever the answer does, the dialog does not outlive it.
        QTimer::singleShot(5000, &dialog, &QDialog::reject);
        if (answers_.empty()) {
            ++unexpected;
            dialog.reject();
            return;
        }
        const Answer next = answers_.front();
        answers_.pop_front();
        next(dialog);
    }

    QTimer timer_;
    QPointer<QDialog> answered_;
    std::deque<Answer> answers_;
};

// Another program that takes the clipboard and keeps it: xclip in the
// foreground, serving its own text until it is ended.
class OtherClipboardOwner {
public:
    explicit OtherClipboardOwner(const QByteArray& text) {
        owner_.start(QStringLiteral("xclip"), {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                               QStringLiteral("clipboard")});
        owner_.waitForStarted();
        owner_.write(text);
        owner_.waitForBytesWritten();
        owner_.closeWriteChannel();
    }
    ~OtherClipboardOwner() {
        owner_.kill();
        owner_.waitForFinished();
    }

    // Waits, without running this program's event loop, until the clipboard
    // serves the other program's text.
    bool owns(const QByteArray& text) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            QProcess reader;
            reader.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                                   QStringLiteral("clipboard")});
            // While this program still owns the clipboard the read waits for
            // it in vain: it is given up (and the reader ended) after a second.
            if (reader.waitForFinished(1000) && reader.readAllStandardOutput() == text) return true;
            QThread::msleep(50);
        }
        return false;
    }

private:
    QProcess owner_;
};

// The sheet the core writes for this seed, option and replies, without any window.
std::string coreSheet(std::uint32_t seed, FormEvent option, const std::vector<std::string>& replies,
                      const NumberFormat& format) {
    test::FakePlatform platform;
    platform.format = format;
    for (const std::string& reply : replies) platform.replies.push_back(reply);
    MersenneRandom random(seed);
    Form1 form(platform, random);
    form.raise(FormEvent::Load);
    form.raise(option);
    form.raise(FormEvent::Command1Click);
    return platform.box;
}

}  // namespace

class Form1WindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationDisplayName(QStringLiteral("Velnorka")); }

    void windowHasTheDesignedCaptionAndClientSize() {
        QtProgram program;
        QCOMPARE(program.window.windowTitle(), QStringLiteral("Velnorka"));
        QCOMPARE(program.window.size(), QSize(584, 294));
        QCOMPARE(program.window.minimumSize(), program.window.maximumSize());
    }

    void everyControlSitsWhereTheDesignPutsIt() {
        QtProgram program;
        // Pixels at 96 DPI as the design states them; option buttons in the frame.
        const struct {
            ControlId id;
            QRect geometry;
            bool inFrame;
        } expected[] = {
            {ControlId::Text1, QRect(8, 8, 401, 217), false},
            {ControlId::Command1, QRect(424, 8, 145, 33), false},
            {ControlId::Command2, QRect(424, 48, 145, 33), false},
            {ControlId::Command3, QRect(424, 88, 145, 33), false},
            {ControlId::Frame1, QRect(424, 128, 145, 105), false},
            {ControlId::Option1, QRect(8, 24, 121, 17), true},
            {ControlId::Option2, QRect(8, 48, 121, 25), true},
            {ControlId::Option3, QRect(8, 72, 97, 25), true},
        };
        for (const auto& control : expected) {
            QWidget* widget = program.window.control(control.id);
            QCOMPARE(widget->geometry(), control.geometry);
            QWidget* container = control.inFrame ? program.window.control(ControlId::Frame1)
                                                 : static_cast<QWidget*>(&program.window);
            QCOMPARE(widget->parentWidget(), container);
        }
        QCOMPARE(program.window.control(ControlId::Option2)->objectName(), QStringLiteral("Option2"));
    }

    void controlsHaveTheirKindsAndExactCaptions() {
        QtProgram program;
        const QStringList commands = {QStringLiteral("Generuj"), QStringLiteral("Smaž"), QStringLiteral("Kopíruj")};
        const QStringList options = {QStringLiteral("Jen přirozená čísla"), QStringLiteral("Jen desetinná čísla"),
                                     QStringLiteral("Mix")};
        for (int i = 1; i <= 3; ++i) {
            QPushButton* button = program.window.command(i);
            QCOMPARE(button->text(), commands[i - 1]);
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
            QVERIFY(button->shortcut().isEmpty());  // no access key
            QRadioButton* option = program.window.option(i);
            QCOMPARE(option->text(), options[i - 1]);
            QVERIFY(option->autoExclusive());
            QVERIFY(option->shortcut().isEmpty());
        }
        QCOMPARE(program.window.frame1()->title(), QStringLiteral("Výběr činností"));
        QVERIFY(!program.window.option(4));
        QVERIFY(!program.window.command(0));
    }

    void text1IsAWrappingEditableBoxWithAVerticalScrollBar() {
        QtProgram program;
        QPlainTextEdit* text1 = program.window.text1();
        QVERIFY(!text1->isReadOnly());
        QCOMPARE(text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(text1->document()->maximumBlockCount(), 0);  // no length limit

        // A long line wraps instead of scrolling sideways.
        program.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&program.window));
        text1->setPlainText(QString(400, QLatin1Char('x')) + QStringLiteral(" ") + QString(300, QLatin1Char('y')));
        QApplication::processEvents();
        QVERIFY(text1->document()->firstBlock().layout()->lineCount() > 1);
        QCOMPARE(text1->horizontalScrollBar()->maximum(), 0);
    }

    void text1HasItsFontAndTheOthersTheDefault() {
        QtProgram program;
        const QFont font = program.window.text1()->font();
        QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(font.pointSize(), 12);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        // What renders is the face itself or its metric twin.
        const QString rendered = QFontInfo(font).family();
        QVERIFY2(rendered == QStringLiteral("Times New Roman") || rendered == QStringLiteral("Liberation Serif"),
                 qPrintable(rendered));
        QCOMPARE(QFontInfo(font).pointSize(), 12);

        // The others keep the desktop's font: its family, and its size unless
        // the caption would not fit the designed width at that size.
        for (const ControlSpec& entry : controls) {
            if (entry.id == ControlId::Text1) continue;
            QWidget* widget = program.window.control(entry.id);
            const QFont standard = QApplication::font(widget);
            QCOMPARE(widget->font().family(), standard.family());
            QVERIFY2(widget->font().pointSizeF() <= standard.pointSizeF(), entry.name.data());
            // Every caption is shown whole.
            if (qobject_cast<QAbstractButton*>(widget))
                QVERIFY2(widget->sizeHint().width() <= widget->width(), entry.name.data());
        }
    }

    void tabOrderFollowsTheDesignAndFocusStartsInText1() {
        QtProgram program;
        program.start();
        QApplication::setActiveWindow(&program.window);
        QVERIFY(QTest::qWaitForWindowActive(&program.window));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(program.window.text1()));

        // The focus chain visits the controls in the designed tab order.
        QStringList chain;
        QWidget* widget = program.window.text1();
        do {
            const bool isControl = std::any_of(controls.begin(), controls.end(), [&](const ControlSpec& entry) {
                return program.window.control(entry.id) == widget;
            });
            if (isControl && (widget->focusPolicy() & Qt::TabFocus)) chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != program.window.text1() && chain.size() < 20);
        QCOMPARE(chain, (QStringList{QStringLiteral("Text1"), QStringLiteral("Command1"), QStringLiteral("Command2"),
                                     QStringLiteral("Command3"), QStringLiteral("Option1"), QStringLiteral("Option2"),
                                     QStringLiteral("Option3")}));

        // Tab leaves the text box for the buttons, in order.
        for (const char* name : {"Command1", "Command2", "Command3"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
        }
        QCOMPARE(program.window.text1()->toPlainText(), QString());  // no tab typed
    }

    void afterStartWholeNumbersAreSelected() {
        QtProgram program;
        program.start();
        QCOMPARE(program.form.mode, 1);
        QVERIFY(program.window.option(1)->isChecked());
        QVERIFY(!program.window.option(2)->isChecked());
        QVERIFY(!program.window.option(3)->isChecked());
        QCOMPARE(program.platform.text(), std::string());
        QVERIFY(program.window.isVisible());
    }

    void optionClicksReachTheForm() {
        QtProgram program;
        program.start();
        program.platform.setText("typed\r\ntext");
        QTest::mouseClick(program.window.option(2), Qt::LeftButton);
        QCOMPARE(program.form.mode, 2);
        QVERIFY(program.window.option(2)->isChecked());
        QVERIFY(!program.window.option(1)->isChecked());
        QTest::mouseClick(program.window.option(3), Qt::LeftButton);
        QCOMPARE(program.form.mode, 3);
        QTest::mouseClick(program.window.option(3), Qt::LeftButton);
        QCOMPARE(program.form.mode, 3);
        QTest::mouseClick(program.window.option(1), Qt::LeftButton);
        QCOMPARE(program.form.mode, 1);
        QCOMPARE(program.platform.text(), std::string("typed\r\ntext"));
    }

    void selectingAnOptionFromTheProgramRaisesNoEvent() {
        QtProgram program;
        program.start();
        program.platform.setOptionValue(3, true);
        QVERIFY(program.window.option(3)->isChecked());
        QVERIFY(!program.window.option(1)->isChecked());
        QCOMPARE(program.form.mode, 1);
        program.platform.setOptionValue(3, false);
        QVERIFY(!program.window.option(3)->isChecked());
        QVERIFY_THROWS_EXCEPTION(PlatformError, program.platform.setOptionValue(0, true));
        QVERIFY_THROWS_EXCEPTION(PlatformError, program.platform.setOptionValue(4, true));
    }

    void clearEmptiesTheBoxAndLeavesTheClipboard() {
        QtProgram program;
        program.start();
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        program.platform.setText("a) 1\u00A0234\r\n");
        QTest::mouseClick(program.window.command(2), Qt::LeftButton);
        QCOMPARE(program.platform.text(), std::string());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        QTest::mouseClick(program.window.command(2), Qt::LeftButton);
        QCOMPARE(program.platform.text(), std::string());
    }

    void generateAndCopyRoundTrip() {
        const std::uint32_t seed = 20261208;
        QtProgram program(seed);
        program.start();
        QTest::mouseClick(program.window.option(3), Qt::LeftButton);  // mix: every kind of number
        DialogScript script;
        script.type(QStringLiteral("23"));
        script.type(QStringLiteral("4"));
        QTest::mouseClick(program.window.command(1), Qt::LeftButton);

        QCOMPARE(script.unexpected, 0);
        QCOMPARE(script.seen.size(), std::size_t{2});
        QCOMPARE(script.seen[0].text, QStringLiteral("Zadejte počet příkladů (max.200)"));
        QCOMPARE(script.seen[1].text, QStringLiteral("Zadejte po kolika odsazovat"));
        for (const SeenDialog& dialog : script.seen) {
            QVERIFY(dialog.isPrompt);
            QCOMPARE(dialog.title, QStringLiteral("Velnorka"));
            QCOMPARE(dialog.defaultReply, QStringLiteral("10"));
            QCOMPARE(dialog.selectedReply, QStringLiteral("10"));  // typing replaces it
            QVERIFY(dialog.modal);
            QCOMPARE(dialog.parent, static_cast<QWidget*>(&program.window));
            QCOMPARE(dialog.buttonCount, 2);
        }
        QVERIFY(!QApplication::overrideCursor());  // the busy pointer is gone again

        // The box holds exactly what the form wrote, with CRLF and U+00A0.
        const std::string sheet = program.platform.text();
        QCOMPARE(sheet, coreSheet(seed, FormEvent::Option3Click, {"23", "4"}, program.platform.numberFormat()));
        QVERIFY(sheet.find("\r\n\r\n") != std::string::npos);
        QVERIFY(sheet.find(nbsp) != std::string::npos);
        QCOMPARE(program.window.text1()->document()->blockCount(), 23 * 2 + 5 + 1 + 5 + 1);

        QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
        QTest::mouseClick(program.window.command(3), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8().toStdString(), sheet);
    }

    void copyGivesTheBoxBackItsSelection() {
        QtProgram program;
        program.start();
        const std::string& sheet = oneExerciseSheet;
        program.platform.setText(sheet);
        QPlainTextEdit* box = program.window.text1();
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(box->document()->findBlockByNumber(2).position() + 3);  // the key's "1 234"
        cursor.setPosition(cursor.position() + 5, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        QTest::mouseClick(program.window.command(3), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8().toStdString(), sheet);
        QCOMPARE(program.platform.selStart(), 47);  // program units: each line break counts two
        QCOMPARE(program.platform.selLength(), 5);
        // A key typed in the box afterwards replaces that selection, not the sheet.
        QTest::keyClicks(box, QStringLiteral("X"));
        QCOMPARE(QString::fromStdString(program.platform.text()),
                 QStringLiteral("a) 1\u00A0234 na desítky ____________________\r\n\r\n"
                                "a) X na desítky  1\u00A0230\r\n"));
    }

    void copyTakesWhatTheUserTyped() {
        QtProgram program;
        program.start();
        program.platform.setText("a) 1\u00A0234 na desítky ____________________\r\n");
        QTextCursor cursor = program.window.text1()->textCursor();
        cursor.setPosition(3);  // a partial selection that the copy replaces
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        program.window.text1()->setTextCursor(cursor);
        QTest::keyClick(program.window.text1(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(program.window.text1(), QStringLiteral("konec"));
        QTest::keyClick(program.window.text1(), Qt::Key_Return);
        QKeyEvent czechLetter(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ř"));
        QApplication::sendEvent(program.window.text1(), &czechLetter);
        QTest::mouseClick(program.window.command(3), Qt::LeftButton);
        const QString expected = QStringLiteral("a) 1\u00A0234 na desítky ____________________\r\nkonec\r\nř");
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    }

    void copyOfAnEmptyBoxLeavesAnEmptyClipboard() {
        QtProgram program;
        program.start();
        QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
        QTest::mouseClick(program.window.command(3), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QCOMPARE(program.platform.selText(), std::string());
    }

    void copyOffersHtmlAndRtfBesideThePlainText() {
        QtProgram program;
        program.start();
        const std::string& sheet = oneExerciseSheet;
        program.platform.setText(sheet);
        QTest::mouseClick(program.window.command(3), Qt::LeftButton);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->text().toUtf8().toStdString(), sheet);
        for (const char* type : {"text/plain", "text/html", "text/rtf", "application/rtf"})
            QVERIFY2(data->hasFormat(QString::fromLatin1(type)), type);
        const QString html = data->html();
        QVERIFY(html.contains(QStringLiteral(";break-before:page\">a) 1&nbsp;234 na desítky<span")));
        const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("\\pagebb\\f0\\fs24 a) 1\\~234 na des\\u237itky {\\'20}1\\~230\\par"));
        QCOMPARE(data->data(QStringLiteral("application/rtf")), rtf);
    }

    void textRoundTripKeepsLineBreaksAndNoBreakSpaces() {
        QtProgram program;
        const std::string samples[] = {
            "",
            "\r\n",
            "a) 123\u00A0456 na stovky  123\u00A0500\r\n\r\nb) 0,45 na jednotky  0\r\n",
            "\r\nstarts and ends with a break\r\n\r\n",
            "tab\there, emoji \U0001F600, nbsp\u00A0\u00A0twice",
        };
        for (const std::string& sample : samples) {
            program.platform.setText(sample);
            QCOMPARE(program.platform.text(), sample);
        }
        // A lone CR or LF starts a new line as well; it reads back as CRLF.
        program.platform.setText("a\nb\rc");
        QCOMPARE(program.platform.text(), std::string("a\r\nb\r\nc"));
        // Text that is not UTF-8 neither crashes nor gets lost.
        program.platform.setText(std::string("bad \xFF\xFE bytes\r\nnext"));
        QVERIFY(program.platform.text().find("next") != std::string::npos);
    }

    void selectionCountsLineBreaksAsTwo() {
        QtProgram program;
        QtPlatform& platform = program.platform;
        platform.setText("ab\r\ncd\r\n\U0001F600x");  // the emoji is two UTF-16 units
        platform.setSelStart(0);
        platform.setSelLength(11);
        QCOMPARE(platform.selText(), std::string("ab\r\ncd\r\n\U0001F600x"));
        platform.setSelStart(1);
        platform.setSelLength(3);
        QCOMPARE(platform.selText(), std::string("b\r\n"));
        platform.setSelStart(4);
        platform.setSelLength(2);
        QCOMPARE(platform.selText(), std::string("cd"));
        platform.setSelStart(8);
        platform.setSelLength(2);
        QCOMPARE(platform.selText(), std::string("\U0001F600"));
        QCOMPARE(platform.selStart(), 8);
        QCOMPARE(platform.selLength(), 2);
        // Setting the start collapses the selection; lengths past the end stop there.
        platform.setSelStart(4);
        QCOMPARE(platform.selText(), std::string());
        platform.setSelLength(1000);
        QCOMPARE(platform.selText(), std::string("cd\r\n\U0001F600x"));
        platform.setSelStart(2);
        platform.setSelLength(INT_MAX);
        QCOMPARE(platform.selText(), std::string("\r\ncd\r\n\U0001F600x"));
        platform.setSelStart(1000);
        platform.setSelLength(5);
        QCOMPARE(platform.selText(), std::string());
        QVERIFY_THROWS_EXCEPTION(PlatformError, platform.setSelStart(-1));
        QVERIFY_THROWS_EXCEPTION(PlatformError, platform.setSelLength(-1));
    }

    void positionsMapBetweenProgramAndDocument() {
        QTextDocument document;
        document.setPlainText(QStringLiteral("ab\r\n\r\ncd"));  // blocks "ab", "", "cd"
        const int expected[][2] = {{0, 0}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}, {8, 6}, {9, 6}};
        for (const auto& pair : expected) QCOMPARE(documentPosition(document, pair[0]), pair[1]);
        QCOMPARE(programPosition(document, 3), 4);
        QCOMPARE(programPosition(document, 6), 8);
        QCOMPARE(documentText(document), QStringLiteral("ab\r\n\r\ncd"));
    }

    // Every failure is reported in one Czech message box with OK only, and
    // the box keeps its text.
    void failuresAreReportedAndTheBoxKept_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<bool>("clipboardHeldElsewhere");
        QTest::addColumn<QString>("message");
        const QString notANumber = QStringLiteral(" není číslo. Zadejte celé číslo, například 10.");
        QTest::newRow("reply not a number")
            << 1 << QStringList{QStringLiteral("deset")} << false << false << QStringLiteral("„deset“") + notANumber;
        QTest::newRow("more than 200 exercises")
            << 1 << QStringList{QStringLiteral("201")} << false << false
            << QStringLiteral("Tolik příkladů nelze vygenerovat");
        QTest::newRow("second reply out of range")
            << 1 << QStringList{QStringLiteral("5"), QStringLiteral("99999")} << false << false
            << QStringLiteral("Číslo „99999“ je mimo povolený rozsah. Zadejte celé číslo od -32768 do 32767.");
        // A pasted reply ends at its first line break.
        QTest::newRow("pasted lines")
            << 1 << QStringList{QStringLiteral("dvanáct\n12\n")} << true << false
            << QStringLiteral("„dvanáct“") + notANumber;
        // A long pasted reply is taken whole, never cut to another value.
        QTest::newRow("pasted reply of 40001 characters")
            << 1 << QStringList{QString(40000, QLatin1Char('0')) + QStringLiteral("x")} << true << false
            << QStringLiteral("„") + QString(40, QLatin1Char('0')) + QStringLiteral("…“") + notANumber;
        // Another program takes the clipboard after this one's last event:
        // the X server ignores this program's claim, and the copy says so.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QTest::newRow("clipboard held by another program")
                << 3 << QStringList{} << false << true
                << QStringLiteral("Text se nepodařilo vložit do schránky. Zkuste to prosím znovu.");
    }

    void failuresAreReportedAndTheBoxKept() {
        QFETCH(int, command);
        QFETCH(QStringList, replies);
        QFETCH(bool, pasted);
        QFETCH(bool, clipboardHeldElsewhere);
        QFETCH(QString, message);

        QtProgram program;
        program.start();
        QVERIFY(QTest::qWaitForWindowExposed(&program.window));
        const std::string kept = "a) 1\u00A0234 na desítky ____________________\r\n";
        program.platform.setText(kept);
        DialogScript script;
        for (const QString& reply : replies) pasted ? script.paste(reply) : script.type(reply);
        script.press(Qt::Key_Return);  // OK in the message box
        std::optional<OtherClipboardOwner> otherOwner;
        if (clipboardHeldElsewhere) {
            otherOwner.emplace("held elsewhere");
            QVERIFY(otherOwner->owns("held elsewhere"));
        }
        QTest::mouseClick(program.window.command(command), Qt::LeftButton);

        QCOMPARE(script.unexpected, 0);
        QCOMPARE(script.seen.size(), static_cast<std::size_t>(replies.size() + 1));
        const SeenDialog& shown = script.seen.back();
        QVERIFY(!shown.isPrompt);
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, QStringLiteral("Velnorka"));
        QCOMPARE(shown.buttonCount, 1);
        QCOMPARE(program.platform.text(), kept);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(program.window.isVisible());
    }

    // A pasted reply counts up to its first line break, and is never cut
    // short at any length.
    void pastedRepliesAreReadWhole_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<std::string>("reply");
        QTest::newRow("a cell of a spreadsheet") << QStringLiteral("12\n") << std::string("12");
        QTest::newRow("CR LF and a second line") << QStringLiteral("12\r\n3\r\n") << std::string("12");
        QTest::newRow("paragraph separator") << QStringLiteral("7\u20299") << std::string("7");
        QTest::newRow("40001 characters") << QString(40000, QLatin1Char('0')) + QStringLiteral("5")
                                          << std::string("5");
    }

    void pastedRepliesAreReadWhole() {
        QFETCH(QString, pasted);
        QFETCH(std::string, reply);
        const std::uint32_t seed = 99;
        QtProgram program(seed);
        program.start();
        DialogScript script;
        script.paste(pasted);
        script.type(QStringLiteral("0"));
        QTest::mouseClick(program.window.command(1), Qt::LeftButton);
        QCOMPARE(script.unexpected, 0);
        QCOMPARE(script.seen.size(), std::size_t{2});
        QCOMPARE(program.platform.text(),
                 coreSheet(seed, FormEvent::Option1Click, {reply, "0"}, program.platform.numberFormat()));
    }

    void cancelInEitherPromptDoesNothing() {
        QtProgram program;
        program.start();
        program.platform.setText("kept");
        DialogScript script;
        script.press(Qt::Key_Escape);
        QTest::mouseClick(program.window.command(1), Qt::LeftButton);
        script.type(QStringLiteral("3"));
        script.press(Qt::Key_Escape);
        QTest::mouseClick(program.window.command(1), Qt::LeftButton);
        QCOMPARE(script.unexpected, 0);
        QCOMPARE(script.seen.size(), std::size_t{3});  // prompts only, no message
        for (const SeenDialog& dialog : script.seen) QVERIFY(dialog.isPrompt);
        QCOMPARE(program.platform.text(), std::string("kept"));
        QVERIFY(!QApplication::overrideCursor());
    }

    void busyPointerStaysBalanced() {
        QtProgram program;
        program.platform.setMousePointer(MousePointer::Hourglass);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        program.platform.setMousePointer(MousePointer::Hourglass);
        program.platform.setMousePointer(MousePointer::Default);
        QVERIFY(!QApplication::overrideCursor());
        program.platform.setMousePointer(MousePointer::Default);
        QVERIFY(!QApplication::overrideCursor());
    }

    void numberFormatComesFromTheRegionalSettings() {
        // The test runs under LC_ALL=cs_CZ.UTF-8.
        QtProgram program;
        const NumberFormat format = program.platform.numberFormat();
        QCOMPARE(format.decimalSeparator, std::string(","));
        QCOMPARE(format.groupSeparator, std::string(nbsp));
    }

    void enterOnAFocusedButtonPressesIt() {
        QtProgram program;
        program.start();
        program.platform.setText("kept");
        DialogScript script;
        script.press(Qt::Key_Escape);
        program.window.command(1)->setFocus();
        QTest::keyClick(program.window.command(1), Qt::Key_Return);
        QCOMPARE(script.seen.size(), std::size_t{1});
        QVERIFY(script.seen[0].isPrompt);
        QTest::keyClick(program.window.command(2), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(program.platform.text(), std::string());
        // No button is the default: Enter in the box is a line break there.
        QTest::keyClicks(program.window.text1(), QStringLiteral("a"));
        QTest::keyClick(program.window.text1(), Qt::Key_Return);
        QTest::keyClicks(program.window.text1(), QStringLiteral("b"));
        QCOMPARE(program.platform.text(), std::string("a\r\nb"));
        QCOMPARE(script.seen.size(), std::size_t{1});
        QCOMPARE(script.unexpected, 0);
    }

    void everyLineBreakInTheBoxReadsAsCrLf() {
        QtProgram program;
        program.start();
        QPlainTextEdit* text1 = program.window.text1();
        QTest::keyClicks(text1, QStringLiteral("A"));
        QTest::keyClick(text1, Qt::Key_Return, Qt::ShiftModifier);  // a line break within the paragraph
        QTest::keyClicks(text1, QStringLiteral("B"));
        QTest::keyClick(text1, Qt::Key_Return);
        QTest::keyClicks(text1, QStringLiteral("C"));
        text1->insertPlainText(QStringLiteral("\u2028D\u2029E"));  // as pasted from elsewhere
        const std::string expected = "A\r\nB\r\nC\r\nD\r\nE";
        QCOMPARE(program.platform.text(), expected);

        QTest::mouseClick(program.window.command(3), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8().toStdString(), expected);
        QCOMPARE(program.platform.selStart(), 13);  // the caret back at the end
        // Positions count every line break as two.
        program.platform.setSelStart(3);
        program.platform.setSelLength(4);
        QCOMPARE(program.platform.selText(), std::string("B\r\nC"));
        program.platform.setSelStart(9);
        program.platform.setSelLength(4);
        QCOMPARE(program.platform.selText(), std::string("D\r\nE"));
        QCOMPARE(program.platform.text(), expected);
    }

    void screenReadersFindEveryControlNamed() {
        QtProgram program;
        program.start();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&program.window);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Velnorka"));
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(program.window.text1());
        QCOMPARE(box->role(), QAccessible::EditableText);
        QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Pracovní list"));
        // The buttons keep their captions for names, nothing added.
        QCOMPARE(QAccessible::queryAccessibleInterface(program.window.command(3))->text(QAccessible::Name),
                 QStringLiteral("Kopíruj"));
        QCOMPARE(program.window.command(3)->accessibleName(), QString());
    }

    void thePromptLabelsItsField() {
        QtProgram program;
        program.start();
        QString fieldName;
        QStringList labelledBy;
        DialogScript script;
        script.then([&](QDialog& dialog) {
            QAccessibleInterface* field =
                QAccessible::queryAccessibleInterface(dialog.findChild<QLineEdit*>(QStringLiteral("reply")));
            fieldName = field->text(QAccessible::Name);
            for (const auto& relation : field->relations(QAccessible::Label))
                labelledBy << relation.first->text(QAccessible::Name);
            dialog.reject();
        });
        QTest::mouseClick(program.window.command(1), Qt::LeftButton);
        QCOMPARE(script.seen.size(), std::size_t{1});
        QCOMPARE(fieldName, QStringLiteral("Zadejte počet příkladů (max.200)"));
        QCOMPARE(labelledBy, QStringList{QStringLiteral("Zadejte počet příkladů (max.200)")});

        // A prompt with '&' is shown and named as written, not as an access key.
        script.then([&](QDialog& dialog) {
            auto* label = dialog.findChild<QLabel*>(QStringLiteral("prompt"));
            fieldName = QAccessible::queryAccessibleInterface(label->buddy())->text(QAccessible::Name);
            dialog.reject();
        });
        QCOMPARE(program.platform.inputBox("Odpověď & poznámka", "10"), std::nullopt);
        QCOMPARE(fieldName, QStringLiteral("Odpověď & poznámka"));
    }
};

QTEST_MAIN(Form1WindowTest)
#include "Form1WindowTest.moc"
