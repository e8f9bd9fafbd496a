// Clip-art metafiles: a large picture of polygons drawn into a label-sized
// bitmap.
#include "platform/dc.h"
#include "platform/wmf.h"
#include "support/wmf_builder.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

namespace {

using wmftest::Builder;

// 1,500 polygons of 250 points each (about 1.5 MB), a new brush and pen
// every ten polygons, in a window of 4000 x 4000 units: outlined blobs of 4
// to 20 pixels' radius, like the pieces of a detailed picture.
std::string polygonMetafile()
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pos(300, 3700), radius(40, 200), colour(0, 0xFFFFFF);
    std::uniform_real_distribution<double> wobble(0.0, 2 * M_PI);
    Builder b;
    b.windowOrg(0, 0).windowExt(4000, 4000);
    for (int i = 0; i < 1500; ++i) {
        if (i % 10 == 0) {
            if (i)
                b.remove(0).remove(1);
            const uint32_t c = uint32_t(colour(rng)), p = uint32_t(colour(rng));
            b.pen(PS_SOLID, 8, p).brush(BS_SOLID, c).select(0).select(1);
        }
        const int cx = pos(rng), cy = pos(rng), r = radius(rng);
        const double phase = wobble(rng);
        std::string points;
        Builder::put16(points, 250);
        for (int k = 0; k < 250; ++k) {
            const double a = 2 * M_PI * k / 250;
            const double rr = r * (1.0 + 0.3 * std::sin(5 * a + phase)); // a blob with five lobes
            Builder::put16(points, uint16_t(cx + int(rr * std::cos(a))));
            Builder::put16(points, uint16_t(cy + int(rr * std::sin(a))));
        }
        b.raw(0x0324, points); // POLYGON
    }
    return b.bits(2);
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
