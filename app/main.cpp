// Program entry point.
#include "resources/version.h"
#include "shell/application/app.h"
#include "shell/printverbs.h"
#include "shell/qtuiservices.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void printUsage()
{
    std::printf("Usage: vorteplan-softlabel [PROJECT]\n"
                "       vorteplan-softlabel /p PROJECT\n"
                "       vorteplan-softlabel /pt PROJECT PRINTER\n"
                "\n"
                "%s designs and prints identification labels.\n"
                "\n"
                "  PROJECT              opens the project file (.proj); without one a new project\n"
                "  /p PROJECT           prints the labels of the project's current template on\n"
                "                       the default printer without a dialog, then ends\n"
                "  /pt PROJECT PRINTER  the same on the named printer (a CUPS queue)\n"
                "  --help               shows this text\n"
                "  --version            shows the program's name and version\n"
                "\n"
                "/p and /pt end with status 0 when the run printed and 1 when it did not,\n"
                "saying why in a message box, or on standard error without a screen: they\n"
                "need no display when run with QT_QPA_PLATFORM=offscreen.\n",
                appversion::kProductName);
}

bool isSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}

void sayNoDisplay(const char* why)
{
    std::fprintf(stderr,
                 "%s cannot open its main window: %s.\n"
                 "Printing with /p or /pt needs no display: run it with QT_QPA_PLATFORM=offscreen.\n",
                 appversion::kProductName, why);
}

// The toolkit ends the program with abort() when it finds no display to
// open (none set, or one that does not answer); while the application
// object is made that becomes the program's message and status 1.
QtMessageHandler g_qtMessages = nullptr;

void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        if (g_qtMessages)
            g_qtMessages(type, context, text);
        return;
    }
    sayNoDisplay(isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") ? "the display could not be opened"
                                                             : "no display is set (DISPLAY, WAYLAND_DISPLAY)");
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv)
{
    // What needs no display is answered before the toolkit looks for one.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %d.%d.%d\n", appversion::kProductName, appversion::kMajor, appversion::kMinor,
                        appversion::kPatch);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            printUsage();
            return 0;
        }
    }
    g_qtMessages = qInstallMessageHandler(startupMessages);
    QApplication qtApp(argc, argv);
    qInstallMessageHandler(g_qtMessages);
    QApplication::setApplicationName(QLatin1String(appversion::kProductName));
    QApplication::setOrganizationName(QStringLiteral("Vorteplan"));
    QApplication::setDesktopFileName(QStringLiteral("vorteplan-softlabel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vorteplan-softlabel")));

    CQtUiServices ui;
    SetUi(&ui);
    int result = 1;
    const QStringList arguments = QApplication::arguments().mid(1);
    if (const std::optional<int> printed = RunPrintVerb(arguments)) {
        // The shell's print verbs: print and end, no main window.
        result = *printed;
    } else {
        CVorteplanSoftLabelApp app;
        if (app.InitInstance(arguments))
            result = QApplication::exec();
    }
    SetUi(nullptr);
    return result;
}
