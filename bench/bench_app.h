#pragma once
// The one application object of the benchmark program (every benchmark
// file shares it), on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise; made on first use.
#include <QApplication>

#include <cstdlib>

inline QApplication& BenchApplication()
{
    static int argc = 1;
    static char name[] = "vsl_bench";
    static char* argv[] = {name, nullptr};
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return *new QApplication(argc, argv);
}
