#pragma once
// Shared set-up for fuzz targets that draw: fonts and images need a GUI
// application object, on the offscreen platform.
#include <QGuiApplication>

inline void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}
