// The Linux desktop program: one window, closed to end.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <optional>

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

constexpr char usage[] =
    "Použití: velnorka [volby Qt, například -platform xcb]\n"
    "         velnorka --help | --version\n"
    "\n"
    "Otevře okno pro pracovní listy se zaokrouhlováním a výsledky.\n"
    "  -h, --help     tato nápověda\n"
    "  -v, --version  verze programu\n"
    "\n"
    "List bez okna vypíše velnorka-cli.\n";

// --help and --version are answered on the terminal, before QApplication,
// which needs a display. Every other argument is left to QApplication.
std::optional<int> answerOnTerminal(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // Qt's own options have one dash: "-reverse" is not -r -e -v ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(arguments);  // unknown options are Qt's, not errors here
    const char* answer = parser.isSet(help)      ? usage
                         : parser.isSet(version) ? "velnorka " VELNORKA_VERSION "\n"
                                                 : nullptr;
    if (!answer) return std::nullopt;
    return std::fputs(answer, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = answerOnTerminal(argc, argv)) return *status;
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
