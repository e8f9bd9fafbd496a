// The checks before a print run over 100,000 rows, every barcode of every
// row looked at (all can be encoded, so none stops the scan early).
//
// Printing runs to PDF: an A4 sheet of 3 x 8 labels of 70 x 37 mm, each
// with a rectangle, a bold 11 pt text of column A, a 6 pt two-line text of
// column B, a Code 128 of column C (40 x 16.5 mm, with its human-readable
// line) and a QR code of column A (15 x 15 mm, level M), for every table
// row. Items are labels, so items_per_second is labels per second.
// Counters: the PDF's size and the process's resident memory (peak and
// growth during the runs); run one row count per process to compare peaks.
#include "document/project/projectdoc.h"
#include "platform/settings.h"
#include "shell/printdriver.h"
#include "support/print_sheet.h"
#include "bench_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

// Resident memory in kB: "VmRSS" now or "VmHWM" at its peak.
long memoryKb(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + std::string(key).size() + 1);
    return 0;
}

void BM_PrintLabelsToPdf(benchmark::State& state)
{
    BenchApplication();
    const int rows = int(state.range(0));
    CVorteplanSoftLabelDoc doc;
    printtest::BuildSheet(doc, rows);
    const QString pdf = benchDir().filePath("run.pdf");
    const long before = memoryKb("VmRSS:");
    int labels = 0;
    for (auto _ : state) {
        const std::unique_ptr<QPrinter> printer = printtest::PdfPrinter(pdf, 1200);
        CPrintDriver::Job job;
        job.showDialog = false;
        job.showProgress = false;
        const CPrintDriver::Result r = CPrintDriver::PrintDocument(doc, *printer, job);
        if (r.outcome != CPrintDriver::Outcome::Printed) {
            state.SkipWithError("the run did not end by itself");
            return;
        }
        labels += r.labels;
    }
    state.SetItemsProcessed(labels);
    state.counters["pdf_MB"] = double(QFileInfo(pdf).size()) / 1e6;
    state.counters["peak_rss_MiB"] = double(memoryKb("VmHWM:")) / 1024.0;
    state.counters["rss_growth_MiB"] = double(memoryKb("VmRSS:") - before) / 1024.0;
}

void BM_CheckBeforePrint(benchmark::State& state)
{
    BenchApplication();
    CVorteplanSoftLabelDoc doc;
    printtest::BuildSheet(doc, int(state.range(0)));
    for (auto _ : state) {
        if (!doc.CheckBeforePrint()) {
            state.SkipWithError("the check refused the run");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_CheckBeforePrint)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintLabelsToPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
