// Program entry point.
#include "shell/application/app.h"
#include "shell/qtuiservices.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Vorteplan SoftLabel %s\n", VSL_VERSION);
            return 0;
        }
    }
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorteplan SoftLabel"));
    QApplication::setOrganizationName(QStringLiteral("Vorteplan"));
    QApplication::setDesktopFileName(QStringLiteral("vorteplan-softlabel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vorteplan-softlabel")));

    CQtUiServices ui;
    SetUi(&ui);
    int result = 1;
    {
        CVorteplanSoftLabelApp app;
        if (app.InitInstance(QApplication::arguments().mid(1)))
            result = QApplication::exec();
    }
    SetUi(nullptr);
    return result;
}
