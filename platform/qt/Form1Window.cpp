#include "platform/qt/Form1Window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <vector>

// Resources of a static library are registered explicitly, at global scope.
static void initResources() { Q_INIT_RESOURCE(velnorka); }

namespace velnorka::qt {

namespace {

// Option buttons are created inside Frame1, so the frame must come first.
constexpr bool frameComesFirst() {
    bool frameSeen = false;
    for (const ControlSpec& entry : controls) {
        if (entry.kind == ControlKind::Frame) frameSeen = true;
        else if (entry.inFrame && !frameSeen) return false;
    }
    return true;
}
static_assert(frameComesFirst(), "Frame1 must precede the controls it contains");

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString captionText(std::string_view caption) { return shownAsWritten(fromView(caption)); }

// The whole area of an option button takes the click, not just its circle
// and caption, so a click where the design puts the button selects it.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// Enter on a focused button presses it, as Space does (and as in Windows
// dialogs), without any button becoming the default that Enter presses from
// elsewhere.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            QPushButton::keyPressEvent(event);
            return;
        }
        event->accept();
        if (!event->isAutoRepeat()) click();
    }
};

// Assistive technology sees the main window as a window (a frame), not as a
// filler inside something else.
QAccessibleInterface* mainWindowAccessible(const QString&, QObject* object) {
    auto* window = dynamic_cast<Form1Window*>(object);
    return window ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

QFont text1Qfont() {
    QFont font(fromView(text1Font.face));
    font.setStyleHint(QFont::Serif);  // a serif stand-in where the face is missing
    font.setPointSize(text1Font.points);
    font.setWeight(static_cast<QFont::Weight>(text1Font.weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

// Desktop fonts on Linux run larger than the one the design was drawn with:
// where a caption would be cut off at the designed width, the control keeps
// the default family at the largest size that shows the whole caption.
void fitCaption(QWidget* widget) {
    if (!qobject_cast<QAbstractButton*>(widget)) return;
    widget->ensurePolished();
    QFont font = widget->font();
    constexpr double smallestPoints = 6.0;
    while (widget->sizeHint().width() > widget->width() && font.pointSizeF() - 0.5 >= smallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        widget->setFont(font);
    }
}

}  // namespace

Form1Window::Form1Window(QWidget* parent) : QWidget(parent) {
    [[maybe_unused]] static const bool accessibleAsWindow =
        (QAccessible::installFactory(mainWindowAccessible), true);
    setWindowTitle(fromView(formCaption));
    // The controls keep their places, so the window keeps its size.
    setFixedSize(pixels(formClientWidth), pixels(formClientHeight));

    for (const ControlSpec& entry : controls) {
        QWidget* parentWidget = entry.inFrame ? control(ControlId::Frame1) : this;
        QWidget* widget = createControl(entry, parentWidget);
        widget->setObjectName(fromView(entry.name));
        widget->setGeometry(pixels(entry.left), pixels(entry.top), pixels(entry.width),
                            pixels(entry.height));
        fitCaption(widget);
        controls_[static_cast<std::size_t>(entry.id)] = widget;
    }

    std::vector<const ControlSpec*> byTabIndex;
    for (const ControlSpec& entry : controls) byTabIndex.push_back(&entry);
    std::stable_sort(byTabIndex.begin(), byTabIndex.end(),
                     [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    QWidget* previous = nullptr;
    for (const ControlSpec* entry : byTabIndex) {
        QWidget* widget = control(entry->id);
        if (widget->focusPolicy() == Qt::NoFocus) continue;  // the frame takes no focus
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    // The focus starts on the lowest tab index.
    if (QWidget* first = control(byTabIndex.front()->id); first->focusPolicy() != Qt::NoFocus)
        first->setFocus();
}

QWidget* Form1Window::createControl(const ControlSpec& entry, QWidget* parent) {
    switch (entry.kind) {
        case ControlKind::TextBox: {
            auto* edit = new QPlainTextEdit(parent);
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            // Tab moves on to the next control, as in the tab order.
            edit->setTabChangesFocus(true);
            edit->setFont(text1Qfont());
            edit->setAccessibleName(fromView(text1AccessibleName));
            return edit;
        }
        case ControlKind::CommandButton: {
            auto* button = new CommandButton(captionText(entry.caption), parent);
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        case ControlKind::Frame:
            return new QGroupBox(captionText(entry.caption), parent);
        case ControlKind::OptionButton:
            // Option buttons sharing the frame exclude each other.
            return new OptionButton(captionText(entry.caption), parent);
    }
    return new QWidget(parent);  // unreachable: every kind is handled above
}

QString shownAsWritten(QString text) { return text.replace(QLatin1Char('&'), QLatin1String("&&")); }

QIcon programIcon() {
    initResources();
    return QIcon(QStringLiteral(":/velnorka/velnorka.svg"));
}

QPlainTextEdit* Form1Window::text1() const {
    return static_cast<QPlainTextEdit*>(control(ControlId::Text1));
}

QPushButton* Form1Window::command(int index) const {
    static constexpr ControlId ids[] = {ControlId::Command1, ControlId::Command2, ControlId::Command3};
    if (index < 1 || index > 3) return nullptr;
    return static_cast<QPushButton*>(control(ids[index - 1]));
}

QGroupBox* Form1Window::frame1() const {
    return static_cast<QGroupBox*>(control(ControlId::Frame1));
}

QRadioButton* Form1Window::option(int index) const {
    static constexpr ControlId ids[] = {ControlId::Option1, ControlId::Option2, ControlId::Option3};
    if (index < 1 || index > 3) return nullptr;
    return static_cast<QRadioButton*>(control(ids[index - 1]));
}

void Form1Window::forwardEventsTo(Form1& form) {
    for (const ControlSpec& entry : controls) {
        const std::optional<FormEvent> event = clickEvent(entry.id);
        auto* button = qobject_cast<QAbstractButton*>(control(entry.id));
        if (!event || !button) continue;
        // clicked, not toggled: a selection made by the program raises no event.
        connect(button, &QAbstractButton::clicked, this, [&form, event] { form.raise(*event); });
    }
}

}  // namespace velnorka::qt
