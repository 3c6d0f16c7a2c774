#pragma once
// What the Qt measurement programs share: the number of runs asked for on
// the command line, and the program started and left to settle, as a person
// would find it before the first click.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/QtProgram.h"

namespace velnorka::qt {

inline int runsAsked(int argc, char* argv[]) { return argc > 1 ? std::max(1, std::atoi(argv[1])) : 20; }

inline void startAndSettle(QtProgram& program) {
    QApplication::setApplicationDisplayName(QStringLiteral("Velnorka"));
    program.start();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300) QApplication::processEvents();
}

}  // namespace velnorka::qt
