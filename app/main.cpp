// Program entry point.
#include <QApplication>
#include <QMainWindow>
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorteplan SoftLabel"));
    QApplication::setOrganizationName(QStringLiteral("Vorteplan"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vorteplan SoftLabel"));
    window.resize(1024, 720);
    window.show();
    return app.exec();
}
