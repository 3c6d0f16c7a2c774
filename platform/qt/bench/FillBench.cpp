// For scripts/bench-qt-startup.sh: the time from OK in the last prompt of
// "Generuj" (200 exercises) to Text1 painted with the sheet, in the real
// window on the current display. Prints one line per run, in milliseconds.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/bench/Settled.h"

namespace {

// Notes the first paint of the watched widget after it is armed.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int runs = velnorka::qt::runsAsked(argc, argv);
    velnorka::qt::QtProgram program;
    velnorka::qt::startAndSettle(program);

    QElapsedTimer sinceOk;
    int prompt = 0;
    // Answers each prompt from outside, as soon as it is the active modal dialog.
    QTimer answerer;
    answerer.setInterval(1);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        auto* reply = dialog->findChild<QLineEdit*>(QStringLiteral("reply"));
        if (!reply) {  // a message box: nothing to measure
            dialog->reject();
            return;
        }
        reply->setText(++prompt % 2 == 1 ? QStringLiteral("200") : QStringLiteral("10"));
        if (prompt % 2 == 0) sinceOk.start();
        dialog->accept();
    });
    answerer.start();

    PaintWatch watch;
    program.window.text1()->viewport()->installEventFilter(&watch);
    for (int run = 0; run < runs; ++run) {
        program.window.text1()->clear();
        QApplication::processEvents();
        watch.painted = false;
        program.window.command(1)->click();
        QElapsedTimer limit;
        limit.start();
        while (!watch.painted && limit.elapsed() < 5000) QApplication::processEvents();
        const double ms = static_cast<double>(sinceOk.nsecsElapsed()) / 1e6;
        if (!watch.painted) {
            std::fprintf(stderr, "Text1 was not painted within 5 s\n");
            return 1;
        }
        std::printf("%.2f\n", ms);
    }
    return 0;
}
