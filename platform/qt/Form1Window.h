#pragma once
// The main window on Qt: the controls of the control table, placed at 96 DPI
// (Qt's high-DPI scaling keeps the proportions on other screens). The window
// has no logic of its own; it forwards the seven events to Form1.
#include <QWidget>
#include <array>

#include "window/Form1.h"
#include "window/Layout.h"

class QGroupBox;
class QIcon;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace velnorka::qt {

// The design's geometry is in twips at 96 DPI.
inline constexpr int designDpi = 96;
constexpr int pixels(int twips) { return twipsToPixels(twips, designDpi); }

// A text shown as written by a control that would take '&' for the mark of
// an access key (a caption, a buddy's label): the design has none.
QString shownAsWritten(QString text);

// The program's icon, drawn as SVG. Loading the SVG renderer takes longer
// than building the whole window, so the program sets it once the window is up.
QIcon programIcon();

class Form1Window : public QWidget {
public:
    explicit Form1Window(QWidget* parent = nullptr);

    QWidget* control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
    QPlainTextEdit* text1() const;
    QPushButton* command(int index) const;  // 1..3
    QGroupBox* frame1() const;
    QRadioButton* option(int index) const;  // 1..3, nullptr outside

    // Connects the command and option buttons' clicks to the form's events.
    // The load event is raised by whoever starts the program.
    void forwardEventsTo(Form1& form);

private:
    QWidget* createControl(const ControlSpec& entry, QWidget* parent);

    std::array<QWidget*, velnorka::controls.size()> controls_{};
};

}  // namespace velnorka::qt
