// Excel import of a BIFF8 workbook with 100,000 cells: shared strings,
// numbers (NUMBER and RK) and formulas. Set VSL_BENCH_XLS_OUT to a path to
// also write the workbook there (to time other readers on the same file).
#include "tables/import/excelfilemanager.h"
#include "support/biff_builder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace bifftest;

constexpr int kRows = 20000; // five cells a row

std::string cell(int row, int col, int xf)
{
    return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {2, uint32_t(xf)}});
}

const std::string& workbook()
{
    static const std::string file = [] {
        Stream s;
        s.rec(0x0809, fields({{2, 0x600}, {2, 5}, {2, 0x0DBB}, {2, 0x07CC}, {4, 0}, {4, 6}}))
            .rec(0x0042, fields({{2, 1200}}))
            .rec(0x041E, fields({{2, 164}}) + text8("0.00"));
        for (int i = 0; i < 16; ++i)
            s.rec(0x00E0, fields({{2, 0}, {2, i == 15 ? 164u : 0u}, {2, i < 15 ? 0xFFF5u : 1u}}) + std::string(14, '\0'));
        // Shared strings: one unique text per row, split over CONTINUE records.
        std::vector<std::string> bodies{fields({{4, 2 * kRows}, {4, kRows}})};
        for (int r = 0; r < kRows; ++r) {
            const std::string t = text8("Wire W" + std::to_string(100000 + r));
            if (bodies.back().size() + t.size() > 8224)
                bodies.emplace_back();
            bodies.back() += t;
        }
        for (size_t i = 0; i < bodies.size(); ++i)
            s.rec(i ? 0x003C : 0x00FC, bodies[i]);
        const size_t posField = s.size() + 4;
        s.rec(0x0085, fields({{4, 0}, {1, 0}, {1, 0}, {1, 6}, {1, 0}}) + "Sheet1");
        s.rec(0x000A, "");
        s.patch32(posField, uint32_t(s.size()));
        s.rec(0x0809, fields({{2, 0x600}, {2, 0x10}, {2, 0x0DBB}, {2, 0x07CC}, {4, 0}, {4, 6}}))
            .rec(0x0200, fields({{4, 0}, {4, kRows}, {2, 0}, {2, 5}, {2, 0}}));
        for (int r = 0; r < kRows; ++r) {
            s.rec(0x00FD, cell(r, 0, 15) + fields({{4, uint32_t(r)}}));
            std::string num = cell(r, 1, 15);
            putDouble(num, r * 0.37);
            s.rec(0x0203, num);
            s.rec(0x027E, cell(r, 2, 15) + fields({{4, uint32_t(r) << 2 | 2}}));
            std::string f = cell(r, 3, 15);
            putDouble(f, r * 2.0 + 0.5);
            f += fields({{2, 0}, {4, 0}, {2, 3}, {1, 0x1E}, {2, 7}}); // tokens: the integer 7
            s.rec(0x0006, f);
            s.rec(0x00FD, cell(r, 4, 15) + fields({{4, uint32_t(kRows - 1 - r)}}));
        }
        s.rec(0x000A, "");
        return compoundFile({{u"Workbook", s.data()}});
    }();
    return file;
}

struct FirstSheet : CExcelSheetChooser {
    std::optional<int> ChooseSheet(const std::vector<std::string>&) override { return 0; }
};

void BM_ExcelImport100kCells(benchmark::State& state)
{
    const std::string& data = workbook();
    if (const char* out = std::getenv("VSL_BENCH_XLS_OUT")) {
        std::ofstream(out, std::ios::binary).write(data.data(), std::streamsize(data.size()));
    }
    FirstSheet chooser;
    CExcelFileManager manager(chooser, ',');
    const CDataTableBase empty;
    for (auto _ : state) {
        ExcelImportResult r = manager.ImportData(data, "bench.xls", empty);
        if (r.status != ExcelImportResult::Status::Ok || r.table.GetRowCount() != kRows)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kRows * 5);
}
BENCHMARK(BM_ExcelImport100kCells)->Unit(benchmark::kMillisecond);

} // namespace
