// Excel import of whole workbooks:
//  - BM_ExcelImport100kCells: a BIFF8 workbook with 100,000 mixed cells
//    (shared strings, NUMBER and RK numbers, formulas) built record by
//    record;
//  - BM_ExcelImport200kNumbers: bench/data/numbers_200k.xls, 200,000 cells
//    written by python3-xlwt (bench/data/make_bench_workbooks.py), 136,454 of
//    them NUMBER records in the general format;
//  - BM_ExcelImportTestWorkbook/<name>: every workbook the import tests
//    read, each visible sheet imported once.
// Set VSL_BENCH_XLS_OUT to a path to also write the 100k workbook there, and
// VSL_BENCH_XLS_DIR to a folder to write it and the number sheets of the
// tests (numbers_v2.xls ... numbers_v8.xls) there, to time other readers on
// the same files (bench/xlrd_time.py).
//
// Measured on 9 Dec 2026 (Release build, build/rel with -DVSL_TESTS=OFF, on
// the shared 8-core machine at a load average of 13 to 20, so figures vary
// by 20 % from run to run). This import: CPU time, minimum and median of 10
// repetitions, every visible sheet. xlrd 1.2.0 (python3-xlrd, bench/
// xlrd_time.py, best of 10): "open" is open_workbook with formatting_info,
// which parses every cell, "cells" the same with every cell then read. The
// ratio is xlrd's "open" over this import's median.
//
//   workbook                 cells   import min/median      xlrd open / cells      ratio
//   numbers_200k.xls        200000   10.8 / 12.0 ms          183 / 331 ms            15x
//   mixed_100k (built)      100000    4.1 / 4.5 ms           120 / 152 ms            27x
//   gnumeric_biff5.xls         443     39 / 44 us           11.8 / 230 ms           270x
//   gnumeric_biff8.xls         584    167 / 185 us           156 / 1667 ms          840x
//   xlwt_biff8.xls             582    161 / 175 us           219 / 2460 ms         1250x
//   xlwt_numbers.xls           262   15.2 / 15.7 us         1.05 / 1.75 ms           67x
//   xlwt_one_visible.xls         2    1.3 / 1.4 us          0.63 / 0.63 ms          450x
//   numbers_v2 (built)          41    2.5 / 2.6 us          0.21 / 0.25 ms           84x
//   numbers_v3 (built)          41    2.5 / 2.5 us          0.19 / 0.23 ms           75x
//   numbers_v4 (built)          41    2.5 / 3.5 us          0.19 / 0.23 ms           54x
//   numbers_v5 (built)          42    5.9 / 7.4 us          0.57 / 0.59 ms           77x
//   numbers_v8 (built)          42    7.4 / 9.7 us          0.56 / 0.61 ms           58x
//
// Measured again later that day on another machine of the same kind (load
// average 1 to 3, figures swinging by half between runs): numbers_200k.xls
// 12.0, 12.7 and 18.9 ms (medians of 5) against xlrd "open" 205, 206 and
// 314 ms in the same three rounds (16 to 17x; "cells" 25 to 27x);
// mixed_100k 5.2 to 7.7 ms.
//
// Before these measurements (main of that day) numbers_200k.xls took about
// 24 ms: whole numbers went through "%g"-style formatting, the stream was
// copied out of the compound file, and each number cell looked its format
// up in a hash map. xlrd counts each sheet's cells itself (xlwt_biff8.xls
// holds cells beyond column Z, which the import leaves out).
#include "tables/import/excelfilemanager.h"
#include "support/excel_numbers_book.h"
#include "support/biff_builder.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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

void writeFile(const std::string& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary).write(data.data(), std::streamsize(data.size()));
}

void BM_ExcelImport100kCells(benchmark::State& state)
{
    const std::string& data = workbook();
    if (const char* out = std::getenv("VSL_BENCH_XLS_OUT"))
        writeFile(out, data);
    if (const char* dir = std::getenv("VSL_BENCH_XLS_DIR")) {
        writeFile(std::string(dir) + "/mixed_100k.xls", data);
        const char* names[] = {"v2", "v3", "v4", "v5", "v8"};
        for (excelnumbers::Biff v : excelnumbers::kAll)
            writeFile(std::string(dir) + "/numbers_" + names[int(v)] + ".xls",
                      excelnumbers::fileOf(v, excelnumbers::numbersStream(v)));
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

std::string readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

// Answers each sheet in turn and counts them.
struct EverySheet : CExcelSheetChooser {
    int next = 0;
    int count = 1;
    std::optional<int> ChooseSheet(const std::vector<std::string>& names) override
    {
        count = int(names.size());
        return next;
    }
};

// Imports every visible sheet of a file once an iteration.
void importAllSheets(benchmark::State& state, const std::string& data, const QString& name)
{
    if (data.empty()) {
        state.SkipWithError("workbook not found");
        return;
    }
    const CDataTableBase empty;
    int64_t cells = 0;
    auto importAll = [&](bool count) {
        EverySheet chooser;
        CExcelFileManager manager(chooser, '.');
        for (; chooser.next < chooser.count; ++chooser.next) {
            ExcelImportResult r = manager.ImportData(data, name, empty);
            if (r.status != ExcelImportResult::Status::Ok)
                return false;
            for (int row = 0; count && row < r.table.GetRowCount(); ++row)
                for (int col = 0; col < r.table.GetCellCount(row); ++col)
                    cells += r.table.GetCellText(row, col).empty() ? 0 : 1;
            benchmark::DoNotOptimize(r);
        }
        return true;
    };
    if (!importAll(true)) {
        state.SkipWithError("import failed");
        return;
    }
    for (auto _ : state)
        importAll(false);
    state.counters["cells"] = double(cells);
}

void BM_ExcelImport200kNumbers(benchmark::State& state)
{
    const QString path = QStringLiteral(VSL_SOURCE_DIR "/bench/data/numbers_200k.xls");
    const std::string data = readFile(path);
    importAllSheets(state, data, QStringLiteral("numbers_200k.xls"));
    state.SetItemsProcessed(int64_t(state.iterations()) * 200000);
}
BENCHMARK(BM_ExcelImport200kNumbers)->Unit(benchmark::kMillisecond);

// The workbooks of the import tests: those other programs wrote and the
// number sheets built record by record.
const bool registered = [] {
    const QDir dir(QStringLiteral(VSL_SOURCE_DIR "/tests/tables/import/data"));
    for (const QString& name : dir.entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name)) {
        const std::string data = readFile(dir.filePath(name));
        benchmark::RegisterBenchmark(("BM_ExcelImportTestWorkbook/" + name.toStdString()).c_str(),
                                     [data, name](benchmark::State& state) { importAllSheets(state, data, name); })
            ->Unit(benchmark::kMicrosecond);
    }
    const char* names[] = {"v2", "v3", "v4", "v5", "v8"};
    for (excelnumbers::Biff v : excelnumbers::kAll) {
        const std::string data = excelnumbers::fileOf(v, excelnumbers::numbersStream(v));
        const QString name = QStringLiteral("numbers_%1.xls").arg(QLatin1String(names[int(v)]));
        benchmark::RegisterBenchmark(("BM_ExcelImportTestWorkbook/" + name.toStdString()).c_str(),
                                     [data, name](benchmark::State& state) { importAllSheets(state, data, name); })
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace
