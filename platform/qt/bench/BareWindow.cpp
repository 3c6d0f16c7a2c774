// The baseline for scripts/bench-qt-startup.sh: an empty window of the same
// size on the same toolkit, reporting its first paint as velnorka does.
#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        if (reported_) return;
        reported_ = true;
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::fprintf(stderr, "shown-at-ns %lld\n",
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    }

private:
    bool reported_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(584, 294);
    window.show();
    return QApplication::exec();
}
