// The print preview and the project window: repainting the preview of an
// A4 sheet of 3 x 8 labels with table texts and a barcode, the repaint
// after a change of the current table row, the preview of odd definitions,
// and opening a project of 255
// templates and 255 tables to a shown window.
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/settings.h"
#include "shell/design/designview.h"
#include "shell/views/labelpreview.h"
#include "shell/views/mainview.h"
#include "support/sheet_label.h"
#include "bench_app.h"
#include "support/quiet_tablehost.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

QTemporaryDir& viewsDir()
{
    static QTemporaryDir dir;
    static const bool once = [] {
        settings::SetStoreFolder(dir.filePath("config"));
        return true;
    }();
    (void)once;
    return dir;
}

// A4, 3 columns x 8 rows of 63.5 x 33.9 mm; three table texts and a
// Code 128 barcode on each label; 200 table rows.
void fillSheetDesign(CVorteplanSoftLabelDoc& doc)
{
    doc.OnNewDocument();
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 63500, false);
    label->SetHeight(0, 33900);
    label->SetColumns(3);
    label->SetRows(8);
    label->SetColumnPitch(66000);
    label->SetRowPitch(33900);
    label->SetLeft(0, 7200);
    label->SetTop(0, 12900);
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    CGraphCollection& area = *doc.GetCurrentTemplate().GetArea(0);
    LOGFONTA font{};
    font.lfHeight = -13;
    std::strcpy(font.lfFaceName, "Arial");
    for (int i = 0; i < 3; ++i) {
        auto text = std::make_unique<CGraphTextExt>();
        text->SetX(2000);
        text->SetY(2000 + 7000 * i);
        text->SetWidth(40000);
        text->SetHeight(6000);
        text->SetLogFont(font);
        text->SetSourceKind(kTextKindTable);
        area.AddTail(std::move(text));
    }
    auto barcode = std::make_unique<CGraphBarcode>();
    barcode->SetSymbologyName("Code 128");
    barcode->SetSourceKind(kTextKindTable);
    barcode->SetLogFont(font);
    barcode->SetX(2000);
    barcode->SetY(23000);
    barcode->SetWidth(40000);
    barcode->SetHeight(9000);
    area.AddTail(std::move(barcode));
    CDataTableBase* table = doc.GetTable(0);
    for (int row = 0; row < 200; ++row) {
        table->SetCellText(row, 0, std::string("W").append(std::to_string(10000 + row)));
        table->SetCellText(row, 1, std::string("X").append(std::to_string(row % 40)));
        table->SetCellText(row, 2, "Motor feeder " + std::to_string(row));
    }
}

struct PreviewFixture {
    CVorteplanSoftLabelDoc doc;
    std::unique_ptr<CLabelPreview> preview;
    std::unique_ptr<Vorteplan_SoftLabelDesignView> design;
    PreviewFixture()
    {
        BenchApplication();
        viewsDir();
        fillSheetDesign(doc);
        preview = std::make_unique<CLabelPreview>(&doc);
        preview->setFrameShape(QFrame::NoFrame);
        preview->resize(1000, 700);
        preview->show();
        (void)QTest::qWaitForWindowExposed(preview.get());
        doc.AddView(preview.get());
        design = std::make_unique<Vorteplan_SoftLabelDesignView>(&doc);
        design->resize(1000, 500);
        design->show();
        (void)QTest::qWaitForWindowExposed(design.get());
    }
    ~PreviewFixture() { doc.RemoveView(preview.get()); }
};

void BM_PreviewRepaintSheet(benchmark::State& state)
{
    PreviewFixture f;
    for (auto _ : state)
        f.preview->Invalidate();
    state.counters["labels"] = f.preview->GetDrawnLabelCount();
}
BENCHMARK(BM_PreviewRepaintSheet)->Unit(benchmark::kMillisecond);

// Arrowing through the grid: every step repaints the design and preview views.
void BM_PreviewCurrentRowChange(benchmark::State& state)
{
    PreviewFixture f;
    int row = 0;
    for (auto _ : state)
        f.doc.SetCurrentTableRow(row = (row + 1) % 200);
}
BENCHMARK(BM_PreviewCurrentRowChange)->Unit(benchmark::kMillisecond);

// Definitions no sheet has: a million by a million positions stacked on one
// spot (pitches of 0), and the largest counts and pitches a file may hold.
// The preview stops at its bound of drawn positions.
void BM_PreviewOddDefinitions(benchmark::State& state)
{
    BenchApplication();
    viewsDir();
    CVorteplanSoftLabelDoc doc;
    CLabelPreview preview(&doc);
    preview.setFrameShape(QFrame::NoFrame);
    preview.resize(800, 600);
    preview.show();
    (void)QTest::qWaitForWindowExposed(&preview);
    const bool huge = state.range(0) != 0;
    auto label = testsupport::SheetLabel(huge ? INT32_MAX : 1000000, huge ? INT32_MAX : 1000000);
    label->SetColumnPitch(huge ? INT32_MAX : 0);
    label->SetRowPitch(huge ? INT32_MAX : 0);
    if (huge)
        label->SetBlockCount(32767);
    doc.GetCurrentTemplate().SetLabel(std::move(label));
    for (auto _ : state)
        preview.Invalidate();
    state.counters["labels"] = double(preview.GetDrawnLabelCount());
}
BENCHMARK(BM_PreviewOddDefinitions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

const QString& largestWindowProject()
{
    static const QString path = [] {
        const QString p = viewsDir().filePath("tabs255.proj");
        CVorteplanSoftLabelDoc doc;
        fillSheetDesign(doc);
        doc.SetTemplateCount(255);
        doc.SetTableCount(255);
        for (int k = 1; k < 255; ++k)
            doc.GetTemplate(k).CopyFrom(doc.GetTemplate(0));
        doc.WriteProjectFile(p);
        return p;
    }();
    return path;
}

// The same with every tab named by 65,535 bytes.
const QString& longNamesProject()
{
    static const QString path = [] {
        const QString p = viewsDir().filePath("longnames255.proj");
        CVorteplanSoftLabelDoc doc;
        fillSheetDesign(doc);
        doc.SetTemplateCount(255);
        doc.SetTableCount(255);
        for (int k = 0; k < 255; ++k) {
            doc.SetTemplateName(k, std::string(65535, char('a' + k % 26)));
            doc.SetTableName(k, std::string(65535, char('A' + k % 26)));
        }
        doc.WriteProjectFile(p);
        return p;
    }();
    return path;
}

void openToShownWindow(benchmark::State& state, const QString& path)
{
    BenchApplication();
    QuietTableHost host;
    for (auto _ : state) {
        CVorteplanSoftLabelDoc doc;
        if (!doc.Open(path) || doc.GetTemplateCount() != 255 || doc.GetTableCount() != 255) {
            state.SkipWithError("open failed");
            break;
        }
        CProjectViewContext context;
        context.document = &doc;
        context.tableHost = &host;
        context.createCanvas = [&doc](QWidget* parent) -> QWidget* {
            return new Vorteplan_SoftLabelDesignView(&doc, {}, parent);
        };
        CVorteplanSoftMainView view(context);
        view.resize(1200, 800);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            state.SkipWithError("not shown");
        QCoreApplication::processEvents();
    }
}

void BM_OpenProjectOf255TabsToShownWindow(benchmark::State& state)
{
    openToShownWindow(state, largestWindowProject());
}
BENCHMARK(BM_OpenProjectOf255TabsToShownWindow)->Unit(benchmark::kMillisecond);

void BM_OpenProjectOf255LongTabNamesToShownWindow(benchmark::State& state)
{
    openToShownWindow(state, longNamesProject());
}
BENCHMARK(BM_OpenProjectOf255LongTabNamesToShownWindow)->Unit(benchmark::kMillisecond);

} // namespace
