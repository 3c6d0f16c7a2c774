// The Linux desktop program: one window, closed to end.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "platform/qt/QtProgram.h"

namespace {

// Runs once, at the window's first paint: sets the program's icon right
// after it, and with VELNORKA_TIMING set writes the moment of the paint
// (wall clock, ns) to stderr for scripts/bench-qt-startup.sh.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint() : reportTiming_(qEnvironmentVariableIsSet("VELNORKA_TIMING")) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        watched->removeEventFilter(this);
        if (reportTiming_) {
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::fprintf(stderr, "shown-at-ns %lld\n",
                         static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        }
        QTimer::singleShot(0, [] { QApplication::setWindowIcon(velnorka::qt::programIcon()); });
        return false;
    }

private:
    bool reportTiming_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velnorka"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velnorka"));
    QApplication::setDesktopFileName(QStringLiteral("cz.velnorka.Velnorka"));

    velnorka::qt::QtProgram program;
    AfterFirstPaint afterFirstPaint;
    program.window.installEventFilter(&afterFirstPaint);
    program.start();
    return QApplication::exec();
}
