// The image browser over a folder of 1,024 JPEG photos of 12 megapixels
// (4000 x 3000): the folder scan, the first screen of thumbnails, a repaint
// while scrolling over cached thumbnails, and the size of the cache once
// every thumbnail was decoded.
#include "shell/linkimage/imagebrowser.h"
#include "bench_app.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr int kPhotos = 1024;

// One photo-like picture (gradients and noise, so that it does not compress
// to nothing), copied kPhotos times.
const QString& photoFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        QImage photo(4000, 3000, QImage::Format_RGB32);
        uint32_t seed = 12345;
        for (int y = 0; y < photo.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int noise = int(seed >> 28);
                line[x] = qRgb((x / 16 + noise) & 255, (y / 12 + noise) & 255, ((x + y) / 28) & 255);
            }
        }
        const QString first = dir.filePath(QStringLiteral("photo0000.jpg"));
        if (!photo.save(first, "JPEG", 85))
            return false;
        for (int i = 1; i < kPhotos; ++i)
            QFile::copy(first, dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 4, 10, QLatin1Char('0'))));
        return true;
    }();
    static const QString path = made ? dir.path() : QString();
    return path;
}

void BM_ImageBrowserScan(benchmark::State& state)
{
    BenchApplication();
    const QString folder = photoFolder();
    CImageBrowser browser;
    browser.resize(420, 300);
    for (auto _ : state)
        browser.ScanFolder(folder);
    state.counters["names"] = double(browser.Names().size());
}
BENCHMARK(BM_ImageBrowserScan)->Unit(benchmark::kMillisecond);

void BM_ImageBrowserFirstScreen(benchmark::State& state)
{
    BenchApplication();
    const QString folder = photoFolder();
    for (auto _ : state) {
        state.PauseTiming();
        CImageBrowser browser;
        browser.resize(420, 300);
        browser.show();
        QApplication::processEvents();
        state.ResumeTiming();
        browser.ScanFolder(folder);
        browser.viewport()->repaint();
        state.counters["decoded"] = double(browser.CachedCount());
    }
}
BENCHMARK(BM_ImageBrowserFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImageBrowserScrollCached(benchmark::State& state)
{
    BenchApplication();
    CImageBrowser browser;
    browser.resize(420, 300);
    browser.show();
    QApplication::processEvents();
    browser.ScanFolder(photoFolder());
    state.counters["viewport"] = browser.viewport()->width();
    QScrollBar* bar = browser.verticalScrollBar();
    // Every thumbnail decoded once.
    for (int v = 0; v <= bar->maximum(); v += 200) {
        bar->setValue(v);
        browser.viewport()->repaint();
    }
    bar->setValue(bar->maximum());
    browser.viewport()->repaint();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((step += 37) % (bar->maximum() + 1));
        browser.viewport()->repaint();
    }
    state.counters["cacheMB"] = double(browser.CacheBytes()) / (1024.0 * 1024.0);
    state.counters["cached"] = double(browser.CachedCount());
}
BENCHMARK(BM_ImageBrowserScrollCached)->Unit(benchmark::kMillisecond);

} // namespace
