// Metafiles written by other programs (the WMF export of two drawing
// programs, from pictures that Debian ships), drawn by the player and
// compared with an independent renderer's drawing of each, on a bitmap and
// through a painter. How the corpus
// was made: data/wmfcorpus/make_corpus.sh.
#include "platform/dc.h"
#include "platform/wmf.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A pixel is inked when one of its channels lies this far below white.
constexpr int kInkThreshold = 96;
// Share of inked pixels allowed without an inked pixel within one pixel in
// the other drawing, in both directions.
constexpr double kMaxUnmatched = 0.03;
constexpr int kMinCorpusFiles = 40;

bool inked(QRgb c)
{
    return 255 - std::min({qRed(c), qGreen(c), qBlue(c)}) >= kInkThreshold;
}

std::vector<uint8_t> inkMask(const QImage& img)
{
    std::vector<uint8_t> mask(size_t(img.width()) * size_t(img.height()));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            mask[size_t(y) * size_t(img.width()) + size_t(x)] = inked(img.pixel(x, y));
    return mask;
}

struct Unmatched {
    size_t inked = 0;
    size_t alone = 0; // inked with no inked pixel of the other within one pixel
    double share() const { return inked ? double(alone) / double(inked) : 0.0; }
};

Unmatched unmatched(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int w, int h)
{
    Unmatched u;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!a[size_t(y) * size_t(w) + size_t(x)])
                continue;
            ++u.inked;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    found = nx >= 0 && ny >= 0 && nx < w && ny < h && b[size_t(ny) * size_t(w) + size_t(nx)];
                }
            if (!found)
                ++u.alone;
        }
    return u;
}

QImage onWhite(const QImage& img)
{
    QImage out(img.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, img);
    return out;
}

} // namespace

TEST(WmfCorpus, EveryFileMatchesItsReferenceRendering)
{
    const QDir dir(QStringLiteral(VSL_TEST_DATA_DIR "/wmfcorpus"));
    const QStringList files = dir.entryList({QStringLiteral("*.wmf")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), kMinCorpusFiles);
    const QString dump = qEnvironmentVariable("VSL_WMF_CORPUS_DUMP"); // to look at the drawings
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        wmf::WmfFile file;
        ASSERT_TRUE(wmf::SplitFile(std::string_view(bytes.constData(), size_t(bytes.size())), file));
        QString pngName = name;
        pngName.replace(QStringLiteral(".wmf"), QStringLiteral(".png"));
        const QImage reference = onWhite(QImage(dir.filePath(pngName)));
        ASSERT_FALSE(reference.isNull());
        const int w = reference.width(), h = reference.height();

        QImage ours = testsupport::whiteImage(w, h);
        CDC dc(&ours);
        EXPECT_GT(wmf::Play(dc, file.bits, POINT{0, 0}, SIZE{w, h}), 0);
        if (!dump.isEmpty())
            ours.save(dump + QLatin1Char('/') + pngName);

        // The same through a painter, as printing draws.
        QImage painted = testsupport::whiteImage(w, h);
        {
            QPainter painter(&painted);
            CDC pdc(&painter, 96, 96, w, h);
            wmf::Play(pdc, file.bits, POINT{0, 0}, SIZE{w, h});
        }
        const auto refMask = inkMask(reference);
        for (const QImage* drawn : {&ours, &painted}) {
            SCOPED_TRACE(drawn == &ours ? "raster" : "painter");
            const auto ourMask = inkMask(*drawn);
            const Unmatched missing = unmatched(refMask, ourMask, w, h);
            const Unmatched extra = unmatched(ourMask, refMask, w, h);
            EXPECT_GT(missing.inked, 0u);
            EXPECT_LE(missing.share(), kMaxUnmatched)
                << missing.alone << " of " << missing.inked << " inked reference pixels not drawn";
            EXPECT_LE(extra.share(), kMaxUnmatched)
                << extra.alone << " of " << extra.inked << " drawn pixels not in the reference";
        }
    }
}
