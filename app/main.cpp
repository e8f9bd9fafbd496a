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
#include <string>
#include <sys/stat.h>

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

bool waylandSocketExists()
{
    if (isSet("WAYLAND_DISPLAY"))
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    return runtime && *runtime && ::stat((std::string(runtime) + "/wayland-0").c_str(), &info) == 0;
}

// Whether a platform of the toolkit has a display to open: X11 needs
// DISPLAY, Wayland its socket; the others (offscreen, minimal, a frame
// buffer, VNC) need none.
bool platformHasDisplay(const std::string& name)
{
    if (name == "xcb")
        return isSet("DISPLAY");
    if (name.rfind("wayland", 0) == 0)
        return waylandSocketExists();
    return !name.empty();
}

// Whether one of the platforms the toolkit will try has a display: those of
// "-platform", else of QT_QPA_PLATFORM ("wayland;xcb" tries both in turn,
// "xcb:option=value" names xcb), else X11 or Wayland.
bool haveDisplay(int argc, char** argv)
{
    std::string wanted;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            wanted = argv[i + 1];
    if (wanted.empty() && isSet("QT_QPA_PLATFORM"))
        wanted = std::getenv("QT_QPA_PLATFORM");
    if (wanted.empty())
        return isSet("DISPLAY") || waylandSocketExists();
    size_t start = 0;
    while (start <= wanted.size()) {
        size_t end = wanted.find(';', start);
        if (end == std::string::npos)
            end = wanted.size();
        const std::string entry = wanted.substr(start, end - start);
        if (platformHasDisplay(entry.substr(0, entry.find(':'))))
            return true;
        start = end + 1;
    }
    return false;
}

void sayNoDisplay(const char* why)
{
    std::fprintf(stderr,
                 "%s cannot open its main window: %s.\n"
                 "Printing with /p or /pt needs no display: run it with QT_QPA_PLATFORM=offscreen.\n",
                 appversion::kProductName, why);
}

// The toolkit ends the program with abort() when a display it was given
// does not answer; while the application object is made that becomes the
// program's message and status 1.
QtMessageHandler g_qtMessages = nullptr;

void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        if (g_qtMessages)
            g_qtMessages(type, context, text);
        return;
    }
    sayNoDisplay("the display could not be opened");
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
    if (!haveDisplay(argc, argv)) {
        sayNoDisplay("no display is set (DISPLAY, WAYLAND_DISPLAY)");
        return 1;
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
