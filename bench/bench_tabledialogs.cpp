// The table dialogs at the size of a large table: one click on a mark of
// the filter dialog re-filters 100,000 rows; a sequence of 100,000 values
// formatted as the fill writes them.
#include "document/project/projectdoc.h"
#include "tables/dialogs/tablefilterdlg.h"
#include "tables/dialogs/tablesequencedlg.h"
#include "bench_app.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kRows = 100000;

void BM_FilterMarkClick(benchmark::State& state)
{
    BenchApplication();
    CVorteplanSoftLabelDoc doc;
    for (int r = 0; r < kRows; ++r) {
        doc.SetTableCellText(std::string("W").append(std::to_string(r)), r, 0);
        doc.SetTableCellText(r % 3 ? "cable" : "wire", r, 1);
    }
    doc.SetupTableFilter();
    doc.EnableTableFilter();
    doc.SetFilterFieldText(5, "wire");
    auto* dialog = new CTableFilterDlg(doc, 0);
    for (auto _ : state) {
        // Include "wire" in column B, on and off.
        dialog->ItemChanged(6, 3);
        benchmark::DoNotOptimize(doc.GetTableRowCount());
    }
    delete dialog;
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FilterMarkClick)->Unit(benchmark::kMillisecond);

void BM_SequenceFormat(benchmark::State& state)
{
    BenchApplication();
    CTableSequenceDlg dialog;
    dialog.SetBase(CTableSequenceDlg::Alphabetic);
    dialog.SetStart("AAAA");
    dialog.SetStop("ZZZZ");
    dialog.SetPrefix("X-");
    for (auto _ : state) {
        for (int32_t v = 0; v < kRows; ++v)
            benchmark::DoNotOptimize(dialog.FormatValue(v));
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_SequenceFormat)->Unit(benchmark::kMillisecond);

} // namespace
