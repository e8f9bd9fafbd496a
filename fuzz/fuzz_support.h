#pragma once
// Shared set-up for fuzz targets that draw: fonts and images need a GUI
// application object, on the offscreen platform.
#include <QGuiApplication>
#include <cstdlib>

inline void EnsureGuiApplication()
{
    static QGuiApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}
