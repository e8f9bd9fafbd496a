// Encoding and drawing of barcode symbols: a Code 128 and a QR code drawn
// into a 600 dpi raster, as a print run does for every label.
#include "content/barcodes/barcode.h"
#include "content/barcodes/qrcode.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <string>

namespace {

BarcodeHost MakeHost(int width, int height)
{
    BarcodeHost host;
    host.deviceRect = RECT{0, 0, width, height};
    host.widthUm = width * 25400 / 600;
    host.heightUm = height * 25400 / 600;
    host.context.labelNumber = 1; // printing, not the design view
    return host;
}

void BM_Code128EncodeDraw(benchmark::State& state)
{
    QImage img(1200, 300, QImage::Format_RGB32);
    CDC dc(&img, 600, 600);
    const BarcodeHost host = MakeHost(1200, 300);
    CBarcodeCode128 c128;
    c128.SetShowText(false);
    int label = 0;
    for (auto _ : state) {
        const std::string text = "CABLE-W" + std::to_string(100000 + label++ % 1000);
        benchmark::DoNotOptimize(c128.Draw(host, dc, 600, 600, 0, 0, text));
    }
}
BENCHMARK(BM_Code128EncodeDraw);

void BM_QrEncodeDraw(benchmark::State& state)
{
    QImage img(600, 600, QImage::Format_RGB32);
    CDC dc(&img, 600, 600);
    const BarcodeHost host = MakeHost(600, 600);
    CBarcodeQRCode qr;
    qr.SetModule(300);
    int label = 0;
    for (auto _ : state) {
        // A new text for every label: one encoding per drawing.
        const std::string text = "https://example.com/terminal/X1-" + std::to_string(label++);
        benchmark::DoNotOptimize(qr.Draw(host, dc, 600, 600, 0, 0, text));
    }
}
BENCHMARK(BM_QrEncodeDraw);

void BM_QrDrawCached(benchmark::State& state)
{
    QImage img(600, 600, QImage::Format_RGB32);
    CDC dc(&img, 600, 600);
    const BarcodeHost host = MakeHost(600, 600);
    CBarcodeQRCode qr;
    qr.SetModule(300);
    for (auto _ : state) {
        benchmark::DoNotOptimize(qr.Draw(host, dc, 600, 600, 0, 0, "https://example.com/terminal/X1-1"));
    }
}
BENCHMARK(BM_QrDrawCached);

} // namespace
