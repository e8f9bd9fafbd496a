// Test entry point: a GUI application object on the offscreen platform, so
// fonts, images and (for the widget suites) widgets work without a display.
//
// The tests see the same surroundings on every machine: the C locale (tests
// that need another set it themselves), UTC, and a printing system without
// queues: CUPS_SERVER names a socket nobody listens on, so no print dialog
// or printer list sees the machine's printers. A run that brings its own
// queue on purpose (scripts/with-cups-queue.sh) names it in
// VSL_TEST_PRINT_QUEUE and keeps its CUPS_SERVER.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

namespace {

void pinSurroundings()
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::setenv("LANG", "C.UTF-8", 1);
    ::unsetenv("LANGUAGE");
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    std::setlocale(LC_ALL, "");
    const char* queue = std::getenv("VSL_TEST_PRINT_QUEUE");
    if (!queue || !*queue) {
        const QByteArray none = QDir::tempPath().toLocal8Bit() + "/vsl-tests-have-no-printers.sock";
        ::setenv("CUPS_SERVER", none.constData(), 1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    pinSurroundings();
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
