// Test entry point: a GUI application object on the offscreen platform, so
// fonts, images and (for the widget suites) widgets work without a display.
//
// The tests see the same surroundings on every machine: the C locale (tests
// that need another set it themselves), UTC, the fonts of the packages
// scripts/install-deps.sh installs and no others, and a printing system
// without queues: CUPS_SERVER names a socket nobody listens on, so no print
// dialog or printer list sees the machine's printers. A run that brings its
// own queue on purpose (scripts/with-cups-queue.sh) names it in
// VSL_TEST_PRINT_QUEUE and keeps its CUPS_SERVER.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

namespace {

// A fontconfig file that knows the font folders of fonts-liberation2 and
// fonts-dejavu-core only, with the system's matching rules (Arial is
// Liberation Sans) but no user or local font folders. Every test program
// writes the same file; the cache is shared.
void pinFonts()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/vsl-tests-fontconfig");
    if (!QDir().mkpath(folder + QStringLiteral("/cache")))
        return;
    QByteArray conf = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                      "<fontconfig>\n"
                      "  <dir>/usr/share/fonts/truetype/liberation2</dir>\n"
                      "  <dir>/usr/share/fonts/truetype/dejavu</dir>\n"
                      "  <cachedir>" + QFile::encodeName(folder) + "/cache</cachedir>\n";
    const QDir rules(QStringLiteral("/etc/fonts/conf.d"));
    for (const QString& name : rules.entryList({QStringLiteral("*.conf")}, QDir::Files, QDir::Name)) {
        if (name.contains(QLatin1String("-user")) || name.contains(QLatin1String("-local")))
            continue;
        conf += "  <include ignore_missing=\"yes\">" + QFile::encodeName(rules.filePath(name)) + "</include>\n";
    }
    conf += "</fontconfig>\n";
    const QString path = folder + QStringLiteral("/fonts.conf");
    QFile current(path);
    if (!current.open(QIODevice::ReadOnly) || current.readAll() != conf) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(conf) != conf.size() || !file.commit())
            return;
    }
    ::setenv("FONTCONFIG_FILE", QFile::encodeName(path).constData(), 1);
}

void pinSurroundings()
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::setenv("LANG", "C.UTF-8", 1);
    ::unsetenv("LANGUAGE");
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    std::setlocale(LC_ALL, "");
    pinFonts();
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
