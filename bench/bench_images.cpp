// Pictures on labels: drawing a photo per label at printer resolution,
// decoding and turning pictures, playing a metafile.
#include "content/images/imageholder.h"
#include "platform/dc.h"
#include "platform/dib.h"
#include "platform/recordingui.h"
#include "platform/wmf.h"
#include "support/wmf_builder.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

QImage photo(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
    return img;
}

// A 2000 x 1500 photo drawn into a 60 x 40 mm box at 300 dpi, as every
// label of a print run does (the decoded picture is kept by the holder).
void BM_DrawPhotoPerLabel(benchmark::State& state)
{
    CImageBitmapNew holder;
    holder.SetPacked(dib::ImageToPacked24(photo(2000, 1500)));
    QImage page(800, 600, QImage::Format_RGB32);
    page.fill(0xFFFFFFFFu);
    CDC dc(&page, 300, 300);
    for (auto _ : state)
        holder.Draw(dc, "", RECT{10, 10, 718, 482}, ImageSourceWindow{}, kImageCentre);
}
BENCHMARK(BM_DrawPhotoPerLabel)->Unit(benchmark::kMillisecond);

// A table column naming an 8192 x 8192 PNG per row, drawn into a 60 x 40 mm
// label at 300 dpi: each row's holder loads the file anew. Argument 1
// decodes at the drawn size (as per-row pictures are), 0 at full size.
void BM_DrawHugePngPerRow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("huge.png");
    {
        QImage big(8192, 8192, QImage::Format_RGB32);
        big.fill(qRgb(255, 255, 255));
        // Mostly flat, as scans and drawings are: a few hundred kB of PNG.
        for (int y = 0; y < 8192; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(big.scanLine(y));
            for (int x = (y * 7) % 64; x < 8192; x += 64)
                row[x] = qRgb(200, 0, 0);
        }
        big.save(file, "PNG");
    }
    state.counters["file_kB"] = double(QFileInfo(file).size()) / 1024.0;
    QImage page(720, 480, QImage::Format_RGB32);
    CDC dc(&page, 300, 300);
    const std::string name = file.toStdString();
    for (auto _ : state) {
        page.fill(0xFFFFFFFFu);
        CImageBitmapNew holder;
        holder.SetReducedDecoding(state.range(0) != 0);
        holder.Draw(dc, name, RECT{0, 0, 708, 471}, ImageSourceWindow{}, kImageCentre);
        benchmark::DoNotOptimize(holder.Packed().size());
    }
}
BENCHMARK(BM_DrawHugePngPerRow)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DecodePngToDib(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("p.png");
    photo(1000, 750).save(file, "PNG");
    for (auto _ : state)
        benchmark::DoNotOptimize(dib::ReadFileAsPacked24(file, "PNG"));
}
BENCHMARK(BM_DecodePngToDib)->Unit(benchmark::kMillisecond);

void BM_RotateDib(benchmark::State& state)
{
    std::string packed = dib::ImageToPacked24(photo(2000, 1500));
    for (auto _ : state)
        dib::RotatePacked90(packed, true);
}
BENCHMARK(BM_RotateDib)->Unit(benchmark::kMillisecond);

// A run-length bitmap (RLE8) of `runs` that declares w x h pixels, its
// colour table all black but entry 1 red: header block and runs.
std::string runLengthHeader(int32_t w, int32_t h, const std::string& runs)
{
    std::string s;
    auto put = [&s](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            s.push_back(char((v >> (8 * i)) & 0xFF));
    };
    put(40, 4);
    put(uint32_t(w), 4);
    put(uint32_t(h), 4);
    put(1, 2);
    put(8, 2);
    put(1, 4); // RLE8
    put(uint32_t(runs.size()), 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int i = 0; i < 256; ++i)
        put(i == 1 ? 0xFF0000u : 0u, 4);
    return s;
}

// Two bytes of runs declaring 8192 x 8192 pixels, stored as header and bits
// (the older holder), drawn into a 24-pixel box on every label: what the
// holder keeps decoded is the box's size.
void BM_DrawDeclaredHugeOldBitmap(benchmark::State& state)
{
    const std::string runs("\0\1", 2);
    QImage page(48, 48, QImage::Format_RGB32);
    page.fill(0xFFFFFFFFu);
    CDC dc(&page, 96, 96);
    for (auto _ : state) {
        CImageBitmap holder;
        holder.SetContent(8192, 8192, runLengthHeader(8192, 8192, runs), runs);
        holder.Draw(dc, "", RECT{0, 0, 23, 23}, ImageSourceWindow{}, kImageCentre);
        benchmark::DoNotOptimize(holder.DecodedSize());
    }
}
BENCHMARK(BM_DrawDeclaredHugeOldBitmap)->Unit(benchmark::kMillisecond);

// Turning large bitmaps: argument 0 an 8-bit one of 6000 x 4000 pixels
// stored whole (24 MB; turned into 72 MB of 24-bit rows), 1 a run-length
// one declaring 8192 x 8192 in six bytes (refused at once).
void BM_RotateDeclaredHugeRunLength(benchmark::State& state)
{
    const std::string runs("\x04\x01\0\0\0\1", 6);
    std::string packed;
    if (state.range(0)) {
        packed = runLengthHeader(8192, 8192, runs) + runs;
    } else {
        packed = runLengthHeader(6000, 4000, runs);
        packed[16] = 0; // uncompressed
        packed.resize(packed.size() + size_t(6000) * 4000, '\1');
    }
    for (auto _ : state) {
        std::string turned = packed;
        benchmark::DoNotOptimize(dib::RotatePacked90(turned, true));
        benchmark::DoNotOptimize(turned.size());
    }
}
BENCHMARK(BM_RotateDeclaredHugeRunLength)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Few bytes of runs declaring tens of megapixels, as fuzzing found them:
// argument 0 an RLE8 bitmap of 16777210 x 3 decoded whole (refused), 1 the
// same copied to the clipboard from its holder (refused with a message),
// 2 an RLE8 bitmap of 8388611 x 5 drawn into a 24-pixel box, 3 a BMP file
// of RLE4 at 33 x 47367 with one short run each row decoded whole, and 4
// the same decoded at a thumbnail's size (1 x 48). The peak memory of a
// run shows in the process's resident size.
void BM_DecodeDeclaredHugeRunLength(benchmark::State& state)
{
    std::string wideRuns("\xff\1\0\0\xff\1\0\0\0\2\x10\0\xff\1\0\0\0\1", 18);
    std::string fiveRows;
    for (int row = 0; row < 5; ++row)
        fiveRows += std::string("\xff\1\0\4\1\0\1\0\0\0", 10);
    fiveRows += std::string("\0\1", 2);
    std::string file;
    if (state.range(0) >= 3) {
        // 16 colours of 4 bits; each row two pixels, then its end.
        std::string header = runLengthHeader(33, 47367, "");
        header[14] = 4;
        header[16] = 2; // RLE4
        header.resize(40 + 16 * 4);
        std::string runs;
        for (int row = 0; row < 47367; ++row)
            runs += std::string("\x21\x12\0\0", 4);
        runs += std::string("\0\1", 2);
        file = "BM" + std::string(12, '\0') + header + runs;
        const uint32_t size = uint32_t(file.size()), offset = 14 + uint32_t(header.size());
        std::memcpy(file.data() + 2, &size, 4);
        std::memcpy(file.data() + 10, &offset, 4);
    }
    QImage page(48, 48, QImage::Format_RGB32);
    page.fill(0xFFFFFFFFu);
    CDC dc(&page, 96, 96);
    CRecordingUi ui;
    UiScope installed(ui);
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            benchmark::DoNotOptimize(dib::PackedToImage(runLengthHeader(16777210, 3, wideRuns) + wideRuns));
            break;
        case 1: {
            CImageBitmapNew holder;
            holder.SetPacked(runLengthHeader(16777210, 3, wideRuns) + wideRuns);
            benchmark::DoNotOptimize(holder.CopyToClipboard());
            ui.messages.clear();
            break;
        }
        case 2: {
            CImageBitmapNew holder;
            holder.SetPacked(runLengthHeader(8388611, 5, fiveRows) + fiveRows);
            holder.Draw(dc, "", RECT{0, 0, 23, 23}, ImageSourceWindow{}, kImageCentre);
            benchmark::DoNotOptimize(holder.DecodedSize());
            break;
        }
        default:
            benchmark::DoNotOptimize(dib::DecodeBmpFile(file, state.range(0) == 3 ? QSize() : QSize(1, 48)));
            break;
        }
    }
}
BENCHMARK(BM_DecodeDeclaredHugeRunLength)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// A metafile of 1000 filled rectangles and 1000 lines into 600 x 400 pixels.
void BM_PlayMetafile(benchmark::State& state)
{
    wmftest::Builder w;
    w.windowExt(1000, 1000).pen(0, 2, 0).select(0).brush(0, 0x00FF).select(1);
    for (int i = 0; i < 1000; ++i) {
        const int x = (i * 37) % 900, y = (i * 53) % 900;
        w.rectangle(x, y, x + 80, y + 80).moveTo(x, y).lineTo(900 - x, 900 - y);
    }
    const std::string bits = w.bits(2);
    QImage page(600, 400, QImage::Format_RGB32);
    page.fill(0xFFFFFFFFu);
    CDC dc(&page, 300, 300);
    for (auto _ : state)
        wmf::Play(dc, bits, POINT{0, 0}, SIZE{600, 400});
}
BENCHMARK(BM_PlayMetafile)->Unit(benchmark::kMillisecond);

// A table of 65535 object slots filled and overfilled by 70000 palettes,
// then a brush selected from the last slot: every object must find its slot
// without walking the whole table again.
void BM_PlayFullObjectTable(benchmark::State& state)
{
    wmftest::Builder w;
    for (int i = 0; i < 70000; ++i)
        w.rec(0x00F7, {});
    w.brush(0, 0x0000FF).select(65534);
    const std::string bits = w.bits(65535);
    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(0xFFFFFFFFu);
    CDC dc(&page, 96, 96);
    for (auto _ : state)
        wmf::Play(dc, bits, POINT{0, 0}, SIZE{100, 100});
}
BENCHMARK(BM_PlayFullObjectTable)->Unit(benchmark::kMillisecond);

} // namespace
