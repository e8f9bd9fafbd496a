// Start-up to the shown main window with a labels folder of 4,096 label
// definitions (the splash second not counted: it runs on a timer).
#include "document/label/labelfile.h"
#include "platform/settings.h"
#include "shell/application/app.h"
#include "shell/application/datafolders.h"
#include "shell/frame/mainframe.h"
#include "bench_app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// A user profile whose labels folder holds `count` definitions.
struct Profile {
    QTemporaryDir root;
    explicit Profile(int count)
    {
        const QString labels = datafolders::SubFolder(root.filePath(QStringLiteral("user")), datafolders::kLabels);
        QDir().mkpath(labels);
        CLabelFileNew label;
        label.SetWidth(0, 70000, false);
        label.SetHeight(0, 37000);
        label.SetColumns(3);
        label.SetRows(8);
        for (int i = 0; i < count; ++i) {
            label.SetFamilyName("Family " + std::to_string(i % 97));
            const QString path = labels + QStringLiteral("Label %1.label").arg(i, 4, 10, QLatin1Char('0'));
            label.SaveToFile(QFile::encodeName(path).toStdString());
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("user"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath(QStringLiteral("none"))));
        datafolders::SetInstalledDataFolder(root.filePath(QStringLiteral("none")));
        settings::SetStoreFolder(root.filePath(QStringLiteral("config")));
    }
};

void BM_StartupWith4096Labels(benchmark::State& state)
{
    BenchApplication();
    Profile profile(4096);
    for (auto _ : state) {
        auto app = std::make_unique<CVorteplanSoftLabelApp>();
        CVorteplanSoftLabelApp::Options options;
        options.splashMilliseconds = 1;
        if (!app->InitInstance({}, options))
            state.SkipWithError("start-up failed");
        if (!QTest::qWaitForWindowExposed(app->MainFrame()))
            state.SkipWithError("main window not shown");
        QCoreApplication::processEvents();
        state.counters["labels"] = app->Catalogue().GetCount();
        state.PauseTiming();
        app.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    settings::SetStoreFolder({});
    datafolders::SetInstalledDataFolder({});
}
BENCHMARK(BM_StartupWith4096Labels)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
