// Clip-art metafiles: a large picture of polygons drawn into a label-sized
// bitmap.
#include "platform/dc.h"
#include "platform/wmf.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

void put16(std::string& s, uint16_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}

void put32(std::string& s, uint32_t v)
{
    put16(s, uint16_t(v & 0xFFFF));
    put16(s, uint16_t(v >> 16));
}

void record(std::string& out, uint16_t fn, const std::vector<int>& words)
{
    put32(out, uint32_t(3 + words.size()));
    put16(out, fn);
    for (int w : words)
        put16(out, uint16_t(w));
}

// 1,500 polygons of 250 points each (about 1.5 MB), a new brush and pen
// every ten polygons, in a window of 4000 x 4000 units: outlined blobs of 4
// to 20 pixels' radius, like the pieces of a detailed picture.
std::string polygonMetafile()
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pos(300, 3700), radius(40, 200), colour(0, 0xFFFFFF);
    std::uniform_real_distribution<double> wobble(0.0, 2 * M_PI);
    std::string recs;
    record(recs, 0x020B, {0, 0});       // window origin
    record(recs, 0x020C, {4000, 4000}); // window extent
    for (int i = 0; i < 1500; ++i) {
        if (i % 10 == 0) {
            if (i) {
                record(recs, 0x01F0, {0});
                record(recs, 0x01F0, {1});
            }
            const int c = colour(rng), p = colour(rng);
            record(recs, 0x02FA, {0, 8, 0, p & 0xFFFF, p >> 16});     // pen, 8 units
            record(recs, 0x02FC, {0, c & 0xFFFF, c >> 16, 0});        // solid brush
            record(recs, 0x012D, {0});
            record(recs, 0x012D, {1});
        }
        const int cx = pos(rng), cy = pos(rng), r = radius(rng);
        const double phase = wobble(rng);
        std::vector<int> words{250};
        for (int k = 0; k < 250; ++k) {
            const double a = 2 * M_PI * k / 250;
            const double rr = r * (1.0 + 0.3 * std::sin(5 * a + phase)); // a blob with five lobes
            words.push_back(cx + int(rr * std::cos(a)));
            words.push_back(cy + int(rr * std::sin(a)));
        }
        record(recs, 0x0324, words);
    }
    put32(recs, 3);
    put16(recs, 0);
    std::string bits;
    put16(bits, 1);
    put16(bits, 9);
    put16(bits, 0x300);
    put32(bits, uint32_t((18 + recs.size()) / 2));
    put16(bits, 2);
    put32(bits, 1003);
    put16(bits, 0);
    return bits + recs;
}

void BM_PlayPolygonMetafile(benchmark::State& state)
{
    const std::string bits = polygonMetafile();
    QImage image(400, 400, QImage::Format_RGB32);
    CDC dc(&image, 96, 96);
    for (auto _ : state) {
        image.fill(0xFFFFFFFFu);
        wmf::Play(dc, bits, POINT{0, 0}, SIZE{400, 400});
    }
    state.counters["bytes"] = double(bits.size());
}
BENCHMARK(BM_PlayPolygonMetafile)->Unit(benchmark::kMillisecond);

} // namespace
