// Project files at the most the program writes: 255 templates of 10
// objects each and 255 tables of 1,000 rows x 5 columns.
#include "content/objects/shapes.h"
#include "content/objects/line.h"
#include "document/project/projectdoc.h"
#include "platform/settings.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

QTemporaryDir& benchDir()
{
    static QTemporaryDir dir;
    static const bool once = [] {
        settings::SetStoreFolder(dir.filePath("config"));
        return true;
    }();
    (void)once;
    return dir;
}

void fillLargestProject(CVorteplanSoftLabelDoc& doc)
{
    doc.OnNewDocument();
    doc.SetTemplateCount(255);
    doc.SetTableCount(255);
    for (int k = 0; k < 255; ++k) {
        doc.SetTemplateName(k, "Template " + std::to_string(k + 1));
        CGraphCollection* area = doc.GetTemplate(k).GetArea(0);
        for (int i = 0; i < 10; ++i) {
            std::unique_ptr<CGraphObject> object;
            if (i % 3 == 0)
                object = std::make_unique<CGraphRect>();
            else if (i % 3 == 1)
                object = std::make_unique<CGraphEllipse>();
            else
                object = std::make_unique<CGraphLine>();
            object->SetX(1000 * i);
            object->SetY(500 * i);
            object->SetWidth(4000);
            area->AddTail(std::move(object));
        }
    }
    for (int t = 0; t < 255; ++t) {
        doc.SetTableName(t, "Table " + std::to_string(t + 1));
        CDataTableBase* table = doc.GetTable(t);
        for (int row = 0; row < 1000; ++row) {
            table->SetCellText(row, 0, std::string("W").append(std::to_string(10000 + row)));
            table->SetCellText(row, 1, std::string("X").append(std::to_string(row % 40)).append(":").append(
                                           std::to_string(row % 24)));
            table->SetCellText(row, 2, std::to_string(row * 7));
            table->SetCellText(row, 3, "Motor feeder " + std::to_string(row % 500));
            table->SetCellText(row, 4, "cabinet =A1+K" + std::to_string(row % 30));
        }
    }
}

const QString& largestProjectFile()
{
    static const QString path = [] {
        const QString p = benchDir().filePath("largest.proj");
        CVorteplanSoftLabelDoc doc;
        fillLargestProject(doc);
        doc.WriteProjectFile(p);
        return p;
    }();
    return path;
}

void BM_ProjectSaveLargest(benchmark::State& state)
{
    CVorteplanSoftLabelDoc doc;
    fillLargestProject(doc);
    const QString path = benchDir().filePath("save.proj");
    for (auto _ : state) {
        std::string error;
        if (!doc.WriteProjectFile(path, &error))
            state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_ProjectSaveLargest)->Unit(benchmark::kMillisecond);

void BM_ProjectOpenLargest(benchmark::State& state)
{
    const QString path = largestProjectFile();
    for (auto _ : state) {
        CVorteplanSoftLabelDoc doc;
        if (!doc.Open(path) || doc.GetTableCount() != 255)
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_ProjectOpenLargest)->Unit(benchmark::kMillisecond);

void BM_ProjectNewDocument(benchmark::State& state)
{
    benchDir();
    for (auto _ : state) {
        CVorteplanSoftLabelDoc doc;
        doc.OnNewDocument();
        benchmark::DoNotOptimize(doc.GetTemplateCount());
    }
}
BENCHMARK(BM_ProjectNewDocument)->Unit(benchmark::kMillisecond);

} // namespace
