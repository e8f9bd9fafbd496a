// Large fills of a table in a project window of 1366 x 768 on the
// offscreen platform (the design view of a new template beside the table
// view): a clipboard list of rows pasted at A1, a sequence with and without
// Insert, and the text import of the same rows for comparison. Each case
// starts from an empty table and ends with the window repainted.
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/recordingui.h"
#include "platform/settings.h"
#include "shell/design/designview.h"
#include "shell/views/mainview.h"
#include "tables/grid/gridctrl.h"
#include "tables/import/textimportcommand.h"
#include "tables/view/tablefill.h"
#include "tables/view/vorteplansofttableview.h"
#include "bench_app.h"
#include "support/quiet_tablehost.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

// Rows of a wiring list as another program copies them: 4 columns,
// tab separated, CR LF between rows.
std::string wiringRows(int rows)
{
    std::string out;
    for (int r = 0; r < rows; ++r) {
        out.append("W").append(std::to_string(10000 + r)).append("\tX").append(std::to_string(r % 40));
        out.append(":").append(std::to_string(r % 24)).append("\tMotor feeder ").append(std::to_string(r % 500));
        out.append("\t=A").append(std::to_string(r % 9)).append("+K").append(std::to_string(r % 30)).append("\r\n");
    }
    return out;
}

// The values 1 .. n, one a row, as the sequence writes them.
std::string valueRows(int n)
{
    std::string out;
    for (int v = 1; v <= n; ++v)
        out.append(std::to_string(v)).append("\r\n");
    return out;
}

struct ProjectWindow {
    QTemporaryDir dir;
    CRecordingUi ui;
    UiScope scope{ui};
    QuietTableHost host;
    CVorteplanSoftLabelDoc doc;
    std::unique_ptr<CVorteplanSoftMainView> main;
    CVorteplanSoftTableView* view = nullptr;

    ProjectWindow()
    {
        BenchApplication();
        settings::SetStoreFolder(dir.filePath("config"));
        doc.OnNewDocument();
        CProjectViewContext context;
        context.document = &doc;
        context.tableHost = &host;
        context.createCanvas = [this](QWidget* parent) -> QWidget* {
            return new Vorteplan_SoftLabelDesignView(&doc, {}, parent);
        };
        main = std::make_unique<CVorteplanSoftMainView>(context);
        main->resize(1366, 768);
        main->show();
        (void)QTest::qWaitForWindowExposed(main.get());
        QApplication::processEvents();
        view = main->findChild<CVorteplanSoftTableView*>();
    }
    ~ProjectWindow() { settings::SetStoreFolder({}); }

    // An empty table with the focus on A1, and no undo states left over.
    void reset()
    {
        doc.GetTable(doc.GetCurrentTableIndex())->RemoveAllRows();
        doc.DropTableSnapshots(doc.GetCurrentTableIndex());
        view->UpdateGridRows();
        view->Grid()->SetFocusCell(1, 1);
        view->Grid()->SetSelectedRange(CCellRange(1, 1, 1, 1));
        view->ItemChanged(1, 1);
        QApplication::processEvents();
    }
    QString writeFile(const std::string& bytes)
    {
        const QString path = dir.filePath("rows.txt");
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    // The view's text import with the sheet answered at once: delimited
    // by TAB, ANSI.
    bool importText(const QString& path)
    {
        settings::WriteInt(settings::kTextImport, settings::kImportFormat, 0);
        settings::WriteInt(settings::kTextImport, settings::kImportDelimiter, '\t');
        ui.fileNames = {path};
        if (!ImportTextFileIntoCurrentTable(doc, view, [](CTextImportSheet&) { return true; }))
            return false;
        doc.TableDataEdited();
        view->UpdateGridRows();
        return true;
    }
};

ProjectWindow& window()
{
    static ProjectWindow w;
    return w;
}

void checkRows(benchmark::State& state, ProjectWindow& w, int rows)
{
    if (w.doc.GetTableRowCount() != rows)
        state.SkipWithError("wrong row count");
}

void BM_TableViewPasteRows(benchmark::State& state)
{
    ProjectWindow& w = window();
    const int rows = int(state.range(0));
    const std::string text = wiringRows(rows);
    for (auto _ : state) {
        state.PauseTiming();
        w.reset();
        w.ui.clipboardText = text;
        w.ui.clipboardFormats = {ClipboardFormat::Text};
        state.ResumeTiming();
        w.view->RunCommand(cmd::kEditPaste);
        QApplication::processEvents();
    }
    checkRows(state, w, rows);
}
BENCHMARK(BM_TableViewPasteRows)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// The view's text import of `bytes` into the empty table, which then holds
// `rows` rows.
void runTextImport(benchmark::State& state, const std::string& bytes, int rows)
{
    ProjectWindow& w = window();
    const QString path = w.writeFile(bytes);
    for (auto _ : state) {
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
        if (!w.importText(path))
            state.SkipWithError("import failed");
        QApplication::processEvents();
    }
    checkRows(state, w, rows);
}

void BM_TableViewTextImportRows(benchmark::State& state)
{
    const int rows = int(state.range(0));
    runTextImport(state, wiringRows(rows), rows);
}
BENCHMARK(BM_TableViewTextImportRows)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// A sequence down column A from A1; with `rowsBelow`, the table holds that
// many rows first, which an Insert moves down; with `filtered`, through an
// enabled filter that shows every row.
void runSequence(benchmark::State& state, bool insert, int rowsBelow = 0, bool filtered = false)
{
    ProjectWindow& w = window();
    const int values = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        w.reset();
        for (int r = 0; r < rowsBelow; ++r)
            w.doc.GetTable(w.doc.GetCurrentTableIndex())->SetCellText(r, 1, "below");
        if (filtered) {
            w.doc.SetupTableFilter();
            w.doc.EnableTableFilter();
        }
        tablefill::SequenceRequest request;
        request.cell = "A1";
        request.start = 1;
        request.stop = values;
        request.insert = insert;
        state.ResumeTiming();
        w.view->RunSequence(request);
        QApplication::processEvents();
        state.PauseTiming();
        if (filtered)
            w.doc.EnableTableFilter(); // off again
        state.ResumeTiming();
    }
    checkRows(state, w, insert ? values + rowsBelow : std::max(values, rowsBelow));
}

void BM_TableViewSequenceInsert(benchmark::State& state)
{
    runSequence(state, true);
}
BENCHMARK(BM_TableViewSequenceInsert)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_TableViewSequenceInsertAbove20000Rows(benchmark::State& state)
{
    runSequence(state, true, 20000);
}
BENCHMARK(BM_TableViewSequenceInsertAbove20000Rows)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_TableViewSequenceInsertAbove20000FilteredRows(benchmark::State& state)
{
    runSequence(state, true, 20000, true);
}
BENCHMARK(BM_TableViewSequenceInsertAbove20000FilteredRows)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_TableViewSequence(benchmark::State& state)
{
    runSequence(state, false);
}
BENCHMARK(BM_TableViewSequence)->Arg(50000)->Unit(benchmark::kMillisecond);

// The 50,000 values of the sequence as a text file of one column.
void BM_TableViewTextImportValues(benchmark::State& state)
{
    const int values = int(state.range(0));
    runTextImport(state, valueRows(values), values);
}
BENCHMARK(BM_TableViewTextImportValues)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace
