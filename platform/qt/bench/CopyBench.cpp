// For scripts/bench-qt-copy.sh: the time from a click on "Kopíruj" to the
// clipboard set with all three flavours, for a 200-exercise mix sheet that
// "Generuj" wrote, in the real window on the current display. Prints one
// line per run in milliseconds, then the flavours' sizes in bytes.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/bench/Settled.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int runs = velnorka::qt::runsAsked(argc, argv);
    velnorka::qt::QtProgram program;
    velnorka::qt::startAndSettle(program);

    // Answers the two prompts as a user would: 200 exercises, groups of 10.
    int prompt = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* reply = dialog->findChild<QLineEdit*>(QStringLiteral("reply"));
        if (!reply) {
            dialog->reject();
            return;
        }
        reply->setText(++prompt == 1 ? QStringLiteral("200") : QStringLiteral("10"));
        dialog->accept();
    });
    answerer.start(1);
    program.window.option(3)->click();
    program.window.command(1)->click();
    answerer.stop();
    if (prompt != 2) {
        std::fprintf(stderr, "the prompts were not answered\n");
        return 1;
    }

    for (int run = 0; run < runs; ++run) {
        QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
        QApplication::processEvents();
        QElapsedTimer sinceClick;
        sinceClick.start();
        program.window.command(3)->click();  // returns once the clipboard is set
        std::printf("%.3f\n", static_cast<double>(sinceClick.nsecsElapsed()) / 1e6);
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasHtml()) {
        std::fprintf(stderr, "the clipboard holds no HTML\n");
        return 1;
    }
    std::printf("sizes text %lld html %lld rtf %lld\n",
                static_cast<long long>(data->text().toUtf8().size()),
                static_cast<long long>(data->html().toUtf8().size()),
                static_cast<long long>(data->data(QStringLiteral("text/rtf")).size()));
    return 0;
}
