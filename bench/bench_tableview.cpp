// The table view over a document whose current table has 100,000 rows,
// shown at 1920 x 1080 on the offscreen platform: a focus step down with
// the grid and two stand-in label views repainted, Last row, a search
// without a match and Replace all over every cell of a column.
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/dc.h"
#include "tables/grid/gridctrl.h"
#include "tables/view/vorteplansofttableview.h"
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

// Stands in for the design view and the preview: a repaint draws the
// label area of the current row.
class LabelViewStandIn : public CDocView {
public:
    LabelViewStandIn(CVorteplanSoftLabelDoc& doc, ViewKind kind) : m_doc(doc), m_kind(kind) {}
    ViewKind GetViewKind() const override { return m_kind; }
    void Invalidate() override { m_dirty = true; }
    void PaintIfDirty()
    {
        if (!m_dirty)
            return;
        m_dirty = false;
        m_image.fill(Qt::white);
        CDC dc(&m_image);
        AreaDrawRequest request;
        request.labelNumber = m_doc.GetCurrentTableRow() + 1;
        m_doc.DrawLabelBackground(100, dc, 0);
        m_doc.DrawArea(0, dc, request);
    }

private:
    CVorteplanSoftLabelDoc& m_doc;
    ViewKind m_kind;
    bool m_dirty = false;
    QImage m_image{800, 600, QImage::Format_RGB32};
};

struct Fixture {
    CVorteplanSoftLabelDoc doc;
    LabelViewStandIn design{doc, ViewKind::Design};
    LabelViewStandIn preview{doc, ViewKind::Preview};
    std::unique_ptr<CVorteplanSoftTableView> view;
    QImage screen{1920, 1080, QImage::Format_RGB32};

    Fixture()
    {
        BenchApplication();
        CDataTableBase& table = *doc.GetTable(doc.GetCurrentTableIndex());
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < 5; ++c) {
                std::string text = std::to_string(r * 7 + c);
                text.insert(0, 1, 'W');
                text.append(" cabinet");
                table.SetCellText(r, c, text);
            }
        doc.AddView(&design);
        doc.AddView(&preview);
        view = std::make_unique<CVorteplanSoftTableView>(&doc, nullptr);
        view->resize(1920, 1080);
        view->show();
        QApplication::processEvents();
        focus(1, 1);
    }
    ~Fixture()
    {
        view.reset();
        doc.RemoveView(&design);
        doc.RemoveView(&preview);
    }
    void focus(int row, int column)
    {
        view->Grid()->SetFocusCell(row, column);
        view->Grid()->SetSelectedRange(CCellRange(row, column, row, column));
        view->ItemChanged(row, column);
    }
    // What the screen shows after a step: the grid and both label views.
    void paint()
    {
        QPainter painter(&screen);
        CDC dc(&painter, 96, 96, screen.width(), screen.height());
        view->Grid()->OnDraw(dc, RECT{0, 0, screen.width(), screen.height()});
        design.PaintIfDirty();
        preview.PaintIfDirty();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_TableViewFocusStepDown(benchmark::State& state)
{
    Fixture& f = fixture();
    f.focus(1, 1);
    for (auto _ : state) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(f.view->Grid(), &down);
        f.paint();
    }
    state.counters["row"] = f.view->CurrentRow();
}
BENCHMARK(BM_TableViewFocusStepDown)->Unit(benchmark::kMillisecond);

void BM_TableViewLastRow(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.focus(1, 1);
        f.paint();
        state.ResumeTiming();
        f.view->RunCommand(cmd::kLastRow);
        f.paint();
    }
    state.counters["row"] = f.view->Grid()->GetFocusCell().row;
}
BENCHMARK(BM_TableViewLastRow)->Unit(benchmark::kMillisecond);

void BM_TableViewFindWithoutMatch(benchmark::State& state)
{
    Fixture& f = fixture();
    f.focus(1, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.view->FindReplaceInTable(
            "no such text", false, false, true, CVorteplanSoftTableView::FindKind::Find, ""));
}
BENCHMARK(BM_TableViewFindWithoutMatch)->Unit(benchmark::kMillisecond);

void BM_TableViewReplaceAll(benchmark::State& state)
{
    Fixture& f = fixture();
    bool forth = true;
    for (auto _ : state) {
        state.PauseTiming();
        f.focus(1, 1);
        state.ResumeTiming();
        f.view->FindReplaceInTable(forth ? "cabinet" : "CUPBOARD", false, false, true,
                                   CVorteplanSoftTableView::FindKind::ReplaceAll, forth ? "cupboard" : "cabinet");
        forth = !forth;
    }
}
BENCHMARK(BM_TableViewReplaceAll)->Unit(benchmark::kMillisecond);

} // namespace
