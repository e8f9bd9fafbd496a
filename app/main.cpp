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
