// Prints the decimal separator that QLocale::system() chooses, the one the
// Linux desktop program uses, to compare the command-line tool with it.
#include <QLocale>
#include <cstdio>

int main() {
    const QByteArray point = QLocale::system().decimalPoint().toUtf8();
    std::fwrite(point.constData(), 1, static_cast<std::size_t>(point.size()), stdout);
    return std::fclose(stdout) == 0 ? 0 : 1;
}
