// The table grid at the size of a large table: a virtual grid of 100,000
// rows and 27 columns over a data table, painted at 1920 x 1080 on the
// offscreen platform.
#include "content/tables/datatable.h"
#include "platform/dc.h"
#include "tables/grid/gridctrl.h"
#include "tables/gridowner.h"
#include "bench_app.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 26;

// Serves the grid from a data table, as the table view does.
class TableOwner : public CGridOwner {
public:
    CDataTableBase table;
    int GetDispInfo(int row, int column, std::string& text) override
    {
        if (row == 0)
            text = column == 0 ? std::string() : std::string(1, char('A' + column - 1));
        else if (column == 0)
            text = std::to_string(row);
        else
            text = table.GetCellText(row - 1, column - 1);
        return 0;
    }
    int EndLabelEdit(int row, int column, const std::string& text) override
    {
        table.SetCellText(row - 1, column - 1, text);
        return 0;
    }
};

struct Fixture {
    TableOwner owner;
    std::unique_ptr<CGridCtrl> grid;
    QImage screen{1920, 1080, QImage::Format_RGB32};

    Fixture()
    {
        BenchApplication();
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < 5; ++c)
                owner.table.SetCellText(r, c, std::string("W").append(std::to_string(r * 7 + c)).append(" cabinet"));
        grid = std::make_unique<CGridCtrl>(&owner);
        grid->resize(1920 + 2, 1080 + 2);
        grid->SetVirtualMode(true);
        grid->SetEditable(true);
        grid->SetFixedRowSelection(true);
        grid->SetFixedColumnSelection(true);
        grid->SetRowCount(kRows + 1);
        grid->SetColumnCount(kColumns + 1);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        grid->SetColumnWidth(0, 60);
        for (int c = 1; c <= kColumns; ++c)
            grid->SetColumnWidth(c, 90);
        grid->show(); // lays out the viewport
        QApplication::processEvents();
        grid->ResetScrollBars();
        grid->SetFocusCell(1, 1);
    }
    void paint()
    {
        QPainter painter(&screen);
        CDC dc(&painter, 96, 96, screen.width(), screen.height());
        grid->OnDraw(dc, RECT{0, 0, screen.width(), screen.height()});
    }
    void key(int k, Qt::KeyboardModifiers mods)
    {
        QKeyEvent e(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(grid.get(), &e);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_GridPaintScreen(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state)
        f.paint();
    const CCellRange vis = f.grid->GetVisibleNonFixedCellRange();
    state.counters["cells"] = double(vis.maxRow - vis.minRow + 1) * (vis.maxCol - vis.minCol + 1);
}
BENCHMARK(BM_GridPaintScreen)->Unit(benchmark::kMillisecond);

void BM_GridCtrlEndAndPaint(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        f.key(Qt::Key_End, Qt::ControlModifier);
        f.paint();
        state.PauseTiming();
        state.counters["focus_row"] = f.grid->GetFocusCell().row;
        f.key(Qt::Key_Home, Qt::ControlModifier);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridCtrlEndAndPaint)->Unit(benchmark::kMillisecond);

void BM_GridSelectAllAndPaint(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        f.grid->OnEditSelectAll();
        f.paint();
        state.PauseTiming();
        state.counters["selection_MB"] = double(f.grid->Selection().MemoryBytes()) / (1 << 20);
        f.grid->ResetSelectedRange();
        f.grid->SetFocusCell(1, 1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridSelectAllAndPaint)->Unit(benchmark::kMillisecond);

void BM_GridPaste100kLines(benchmark::State& state)
{
    Fixture& f = fixture();
    std::string text;
    for (int r = 0; r < kRows; ++r)
        text.append("P").append(std::to_string(r)).append("\tQ\t").append(std::to_string(r % 97)).append("\r\n");
    for (auto _ : state) {
        f.grid->PasteTextToGrid(CCellID(1, 6), text, true);
        state.PauseTiming();
        state.counters["last_row"] = double(f.owner.table.GetRowCount());
        f.grid->SetRowCount(kRows + 1);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridPaste100kLines)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
