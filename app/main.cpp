// Program entry point.
#include "resources/version.h"
#include "shell/application/app.h"
#include "shell/printverbs.h"
#include "shell/qtuiservices.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %d.%d.%d\n", appversion::kProductName, appversion::kMajor, appversion::kMinor,
                        appversion::kPatch);
            return 0;
        }
    }
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QLatin1String(appversion::kProductName));
    QApplication::setOrganizationName(QStringLiteral("Vorteplan"));
    QApplication::setDesktopFileName(QStringLiteral("vorteplan-softlabel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vorteplan-softlabel")));

    CQtUiServices ui;
    SetUi(&ui);
    int result = 1;
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("/p")) {
        // The shell's print verbs: print and end, no main window.
        result = PrintVerbPrint(arguments[1]) ? 0 : 1;
    } else if (arguments.size() == 3 && arguments[0] == QLatin1String("/pt")) {
        result = PrintVerbPrintTo(arguments[1], arguments[2]) ? 0 : 1;
    } else {
        CVorteplanSoftLabelApp app;
        if (app.InitInstance(arguments))
            result = QApplication::exec();
    }
    SetUi(nullptr);
    return result;
}
