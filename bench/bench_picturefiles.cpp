// Picture files on labels: a picture that cannot be loaded drawn again and
// again, a large BMP decoded whole and at its drawn size, and projects
// naming troublesome picture files opened and printed to PDF.
//
// The project benchmark takes the input (0..4, in the order of
// testsupport::pictureInputs()) and where the project names it (0: the
// image object's own file, 1: every table row). Run one per process to see
// its peak memory, for example
//   /usr/bin/time -v build/release/bench/vsl_bench
//     --benchmark_filter='BM_OpenAndPrintPictureProject/2/1$'
// Counters: files opened and pictures decoded during the run, the peak
// resident memory of the process.
#include "content/images/graphimage.h"
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "platform/dc.h"
#include "platform/dib.h"
#include "platform/settings.h"
#include "shell/printdriver.h"
#include "support/picture_inputs.h"
#include "bench_app.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

long peakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

void countWork(benchmark::State& state, const dib::PictureFileCounts& before)
{
    const dib::PictureFileCounts after = dib::CountPictureFileWork();
    state.counters["opened"] = double(after.opened - before.opened);
    state.counters["decoded"] = double(after.decoded - before.decoded);
}

// A damaged picture (a PNG name over zeros) drawn on 1,000 labels.
void BM_DrawFailedPicture1000(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.png");
    testsupport::makePictureInput("text2gb.png", path);
    CGraphImageExtExt o;
    o.SetWidth(20000);
    o.SetHeight(20000);
    o.SetImageFile(path.toStdString());
    QImage target(240, 240, QImage::Format_RGB32);
    target.fill(0xFFFFFFFFu);
    CDC dc(&target, 300, 300);
    DrawArgs args;
    args.dc = &dc;
    args.zoom = 100;
    args.labelNumber = 1;
    const dib::PictureFileCounts before = dib::CountPictureFileWork();
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i)
            o.Draw(args);
    countWork(state, before);
}
BENCHMARK(BM_DrawFailedPicture1000)->Unit(benchmark::kMicrosecond);

// A 4000 x 3000 BMP of 24 bits (36 MB): argument 0 decodes it whole from
// memory, 1 loads the file reduced to a 60 x 45 mm box at 300 dpi.
void BM_DecodeLargeBmp(benchmark::State& state)
{
    QImage photo(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            row[x] = qRgb(x & 255, y & 255, (x ^ y) & 255);
    }
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "BMP");
    QTemporaryDir dir;
    const QString path = dir.filePath("large.bmp");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(file);
    }
    const bool reduced = state.range(0) != 0;
    for (auto _ : state) {
        if (reduced) {
            state.PauseTiming();
            dib::ForgetPictureFiles(); // no picture loaded before
            state.ResumeTiming();
            dib::LoadedPicture loaded;
            dib::LoadPictureFile(path, QSize(709, 532), loaded);
            benchmark::DoNotOptimize(loaded.packed.size());
        } else {
            benchmark::DoNotOptimize(dib::DecodeBmpFile(std::string_view(file.constData(), size_t(file.size()))));
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * file.size());
}
BENCHMARK(BM_DecodeLargeBmp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A sheet of 3 x 8 labels of 70 x 37 mm with a 30 x 30 mm picture each, 24
// table rows, saved as a project; the benchmark opens it and prints it.
void BM_OpenAndPrintPictureProject(benchmark::State& state)
{
    BenchApplication();
    static QTemporaryDir dir;
    settings::SetStoreFolder(dir.filePath("config"));
    const testsupport::PictureInput input = testsupport::pictureInputs().at(size_t(state.range(0)));
    const bool perRow = state.range(1) != 0;
    const QString picture = dir.filePath(input.name);
    if (!testsupport::makePictureInput(input.name, picture)) {
        state.SkipWithError("the input was not made");
        return;
    }
    const QString project = dir.filePath("pictures.proj");
    {
        CVorteplanSoftLabelDoc doc;
        auto label = std::make_unique<CLabelFileNewArticleNo>();
        label->SetWidth(0, 70000, true);
        label->SetHeight(0, 37000);
        label->SetColumnPitch(70000);
        label->SetRowPitch(37000);
        label->SetColumns(3);
        label->SetRows(8);
        CTemplate& tpl = doc.GetCurrentTemplate();
        tpl.SetLabel(std::move(label));
        auto image = std::make_unique<CGraphImageExtExt>();
        image->SetX(3000);
        image->SetY(3000);
        image->SetWidth(30000);
        image->SetHeight(30000);
        CDataTableBase& table = *doc.GetTable(0);
        if (perRow) {
            image->SetImageSourceMode(CGraphImageExt::kSourceTable);
            table.SetColumnFlag(0, 1);
            for (int r = 0; r < 24; ++r)
                table.SetCellText(r, 0, picture.toStdString());
        } else {
            image->SetImageFile(picture.toStdString());
            table.SetCellText(0, 1, "one label");
        }
        tpl.GetArea(0)->AddTail(std::move(image));
        if (!doc.OnSaveDocument(project)) {
            state.SkipWithError("the project was not saved");
            return;
        }
    }
    const dib::PictureFileCounts before = dib::CountPictureFileWork();
    for (auto _ : state) {
        CVorteplanSoftLabelDoc doc;
        if (!doc.OnOpenDocument(project)) {
            state.SkipWithError("the project did not open");
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("run.pdf"));
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
        state.counters["labels"] = double(r.labels);
    }
    countWork(state, before);
    state.counters["peak_rss_MiB"] = double(peakKb()) / 1024.0;
}
BENCHMARK(BM_OpenAndPrintPictureProject)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
