// The select-label dialog over a labels folder of 4,096 definition files:
// opening (catalogue reload, fill, sort), a filter change and a header sort.
#include "document/label/labelfile.h"
#include "shell/selectlabel/selectlabeldialog.h"
#include "bench_app.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kDefinitions = 4096;

// A labels folder of kDefinitions files in 64 families, made once.
const QString& labelsFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        for (int i = 0; i < kDefinitions; ++i) {
            CLabelFileNew label;
            label.SetFamilyName("Family " + std::to_string(i % 64));
            label.SetWidth(0, 10000 + (i * 37) % 90000, false);
            label.SetHeight(0, 5000 + (i * 53) % 40000);
            if (i % 3 == 0)
                label.TogglePrinterType(0x4);
            const std::string bytes = label.FileImage();
            QFile f(dir.filePath(QStringLiteral("Label %1.label").arg(i)));
            if (!f.open(QIODevice::WriteOnly))
                return false;
            f.write(bytes.data(), qint64(bytes.size()));
        }
        return true;
    }();
    static const QString path = made ? dir.path() : QString();
    return path;
}

std::unique_ptr<CSelectLabelDialog> makeDialog()
{
    BenchApplication();
    auto dialog = std::make_unique<CSelectLabelDialog>();
    dialog->SetFolders(labelsFolder(), {}, {});
    dialog->resize(900, 420);
    return dialog;
}

void BM_SelectLabelOpen(benchmark::State& state)
{
    auto dialog = makeDialog();
    for (auto _ : state)
        dialog->Reload();
    state.counters["rows"] = double(dialog->List()->topLevelItemCount());
}
BENCHMARK(BM_SelectLabelOpen)->Unit(benchmark::kMillisecond);

void BM_SelectLabelFilterChange(benchmark::State& state)
{
    auto dialog = makeDialog();
    dialog->Reload();
    auto* printer = dialog->findChild<QComboBox*>(QStringLiteral("printerType"));
    int i = 0;
    for (auto _ : state)
        printer->setCurrentIndex(++i % 2 ? 2 : 0);
}
BENCHMARK(BM_SelectLabelFilterChange)->Unit(benchmark::kMillisecond);

void BM_SelectLabelHeaderSort(benchmark::State& state)
{
    auto dialog = makeDialog();
    dialog->Reload();
    for (auto _ : state)
        dialog->SortByColumn(CSelectLabelDialog::kName);
}
BENCHMARK(BM_SelectLabelHeaderSort)->Unit(benchmark::kMillisecond);

} // namespace
