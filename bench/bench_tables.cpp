// Data tables at the size of a large label run: 100,000 rows of 5 columns.
#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"
#include "platform/record.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

constexpr int kRows = 100000;

// Column A: a wire number like "W1234", B: a decimal number with a comma,
// C: an integer, D: a terminal text, E: a longer description.
const CDataTableBase& bigTable()
{
    static const CDataTableBase table = [] {
        CDataTableBase t;
        std::mt19937 rng(42);
        auto num = [&](unsigned mod) { return std::to_string(rng() % mod); };
        for (int r = 0; r < kRows; ++r) {
            std::string a = "W", d = "X", e = "Motor feeder ";
            a += num(100000);
            std::string b = num(1000);
            b += ',';
            b += num(100);
            d += num(40);
            d += ':';
            d += num(24);
            e += num(500);
            e += " cabinet =A";
            e += num(9);
            e += "+K";
            e += num(30);
            t.SetCellText(r, 0, a);
            t.SetCellText(r, 1, b);
            t.SetCellText(r, 2, std::to_string(int(rng() % 20001) - 10000));
            t.SetCellText(r, 3, d);
            t.SetCellText(r, 4, e);
        }
        return t;
    }();
    return table;
}

void sortColumn(benchmark::State& state, int column)
{
    const CDataTableBase& source = bigTable();
    for (auto _ : state) {
        state.PauseTiming();
        CDataTableBase t = source;
        state.ResumeTiming();
        t.SortRows(column, false, ',');
        benchmark::DoNotOptimize(t.GetCellText(0, column).data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_SortRowsText(benchmark::State& state) { sortColumn(state, 0); }
void BM_SortRowsDecimal(benchmark::State& state) { sortColumn(state, 1); }
void BM_SortRowsInteger(benchmark::State& state) { sortColumn(state, 2); }
BENCHMARK(BM_SortRowsText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRowsDecimal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRowsInteger)->Unit(benchmark::kMillisecond);

CDataTableFilter sampleFilter()
{
    CDataTableFilter f;
    f.SetIncludeText("X1", 0);
    f.SetIncludeText("=A3", 1);
    f.SetExcludeText("W9", 0);
    f.GetItem(3)->m_include[0] = 1;
    f.GetItem(4)->m_include[1] = 1;
    f.GetItem(0)->m_exclude[0] = 1;
    f.SetStripChar("W", 0);
    f.GetItem(0)->m_strip[0] = 1;
    f.GetItem(4)->m_trim = 1;
    f.GetItem(2)->m_used = 0;
    return f;
}

// The pass test alone over every row.
void BM_FilterRowPasses(benchmark::State& state)
{
    const CDataTableBase& t = bigTable();
    const CDataTableFilter f = sampleFilter();
    for (auto _ : state) {
        int passed = 0;
        for (int r = 0; r < kRows; ++r)
            passed += f.RowPasses(&t, r);
        benchmark::DoNotOptimize(passed);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FilterRowPasses)->Unit(benchmark::kMillisecond);

// A whole filtered copy as the document builds it: pass test, row map,
// shown columns only, cleaned texts.
void BM_FilteredCopy(benchmark::State& state)
{
    const CDataTableBase& t = bigTable();
    const CDataTableFilter f = sampleFilter();
    for (auto _ : state) {
        CDataTableBase filtered;
        CDataTableRowMap rows;
        rows.Clear();
        int out = 0;
        std::string text;
        for (int r = 0; r < t.GetRowCount(); ++r) {
            if (!f.RowPasses(&t, r))
                continue;
            rows.AddRow(r);
            int c = 0;
            for (int k = 0; k < t.GetCellCount(r); ++k) {
                if (!f.IsColumnUsed(k))
                    continue;
                text = t.GetCellText(r, k);
                f.CleanCellText(f.GetItem(k), text);
                filtered.SetCellText(out, c++, text);
            }
            ++out;
        }
        benchmark::DoNotOptimize(filtered.GetRowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FilteredCopy)->Unit(benchmark::kMillisecond);

void BM_SaveTable(benchmark::State& state)
{
    const CDataTableBase& t = bigTable();
    size_t bytes = 0;
    for (auto _ : state) {
        RecordWriter w;
        t.Save(w);
        bytes = w.size();
        benchmark::DoNotOptimize(w.data().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(BM_SaveTable)->Unit(benchmark::kMillisecond);

void BM_LoadTable(benchmark::State& state)
{
    RecordWriter w;
    bigTable().Save(w);
    const std::string bytes = w.take();
    for (auto _ : state) {
        CDataTableBase t;
        RecordReader r(bytes);
        if (!t.Load(r))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(t.GetRowCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond);

} // namespace
