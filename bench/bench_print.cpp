// Printing runs to PDF: an A4 sheet of 3 x 8 labels of 70 x 37 mm, each
// with a rectangle, a bold 11 pt text of column A, a 6 pt two-line text of
// column B, a Code 128 of column C (40 x 16.5 mm, with its human-readable
// line) and a QR code of column A (15 x 15 mm, level M), for every table
// row. Items are labels, so items_per_second is labels per second.
// Counters: the PDF's size and the process's resident memory (peak and
// growth during the runs); run one row count per process to compare peaks.
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/shapes.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/settings.h"
#include "shell/printdriver.h"

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

void ensureApp()
{
    static int argc = 1;
    static char name[] = "vsl_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        new QApplication(argc, argv);
    }
}

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

template <class T>
T* place(CGraphCollection& area, int32_t x, int32_t y, int32_t w, int32_t h)
{
    auto o = std::make_unique<T>();
    o->SetX(x);
    o->SetY(y);
    o->SetWidth(w);
    o->SetHeight(h);
    T* raw = o.get();
    area.AddTail(std::move(o));
    return raw;
}

LOGFONTA font(int points, bool bold)
{
    LOGFONTA lf{};
    lf.lfHeight = -points * 96 / 72;
    lf.lfWeight = bold ? 700 : 400;
    SetFaceName(lf, "Arial");
    return lf;
}

void buildSheet(CVorteplanSoftLabelDoc& doc, int rows)
{
    auto label = std::make_unique<CLabelFileNewArticleNo>();
    label->SetWidth(0, 70000, true);
    label->SetHeight(0, 37000);
    label->SetColumnPitch(70000);
    label->SetRowPitch(37000);
    label->SetColumns(3);
    label->SetRows(8);
    label->SetTop(0, 500);
    CTemplate& tpl = doc.GetCurrentTemplate();
    tpl.SetLabel(std::move(label));
    CDataTableBase& table = *doc.GetTable(0);
    char a[16], c[16];
    for (int r = 0; r < rows; ++r) {
        std::snprintf(a, sizeof a, "W%05d", r + 1);
        std::snprintf(c, sizeof c, "C%06d", r + 1);
        table.SetCellText(r, 0, a);
        table.SetCellText(r, 1, "Cable " + std::to_string(r + 1) + "\r\nTerminal X" + std::to_string(r % 9 + 1));
        table.SetCellText(r, 2, c);
    }
    CGraphCollection& area = *tpl.GetArea(0);
    place<CGraphRect>(area, 1000, 1000, 68000, 35000);
    auto* ta = place<CGraphText>(area, 3000, 2500, 40000, 6000);
    ta->SetSourceColumnText("A");
    ta->SetLogFont(font(11, true));
    auto* tb = place<CGraphText>(area, 3000, 9000, 40000, 7000);
    tb->SetSourceColumnText("B");
    tb->SetLogFont(font(6, false));
    auto* bc = place<CGraphBarcode>(area, 3000, 17500, 40000, 16500);
    bc->SetSymbologyName("Code 128");
    bc->SetSourceColumnText("C");
    bc->SetShowText(true);
    bc->SetLogFont(font(8, false));
    auto* qr = place<CGraphBarcode>(area, 50000, 3000, 15000, 15000);
    qr->SetSymbologyName(std::string("QR Code") + '\xAE');
    qr->SetSourceColumnText("A");
    qr->SetQrEccLevelText("M");
}

void BM_PrintLabelsToPdf(benchmark::State& state)
{
    ensureApp();
    const int rows = int(state.range(0));
    CVorteplanSoftLabelDoc doc;
    buildSheet(doc, rows);
    const QString pdf = benchDir().filePath("run.pdf");
    const long before = memoryKb("VmRSS:");
    int labels = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        CPrintDriver::Job job;
        job.showDialog = false;
        job.showProgress = false;
        const CPrintDriver::Result r = CPrintDriver::PrintDocument(doc, printer, job);
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

} // namespace

BENCHMARK(BM_PrintLabelsToPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
