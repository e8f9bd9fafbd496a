// Metafiles written by other programs (the WMF export of two drawing
// programs, from pictures that Debian ships and figures drawn for the
// corpus), drawn by the player and compared with an independent renderer's
// drawing of each, on a bitmap and through a painter: the inked pixels and
// the colours inside figures. How the corpus was made:
// data/wmfcorpus/make_corpus.sh.
#include "platform/dc.h"
#include "platform/wmf.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
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

// Colours: a reference pixel of one colour with its eight neighbours (the
// inside of a figure, away from its edges), other than white, needs a pixel
// of the drawing within one pixel whose channels all lie within
// kColourTolerance of its own.
constexpr int kFlatSpread = 8;
constexpr int kColourTolerance = 48;

Unmatched offColour(const QImage& reference, const QImage& drawn)
{
    Unmatched u;
    const QImage ref = reference.convertToFormat(QImage::Format_RGB32);
    const QImage ours = drawn.convertToFormat(QImage::Format_RGB32);
    const int w = ref.width();
    // Whether each channel of a and b lies within t (no calls: this runs for
    // every pixel of every file, in debug builds too).
    const auto within = [](uint32_t a, uint32_t b, int t) {
        const int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
        const int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
        const int db = int(a & 0xFF) - int(b & 0xFF);
        return dr <= t && dr >= -t && dg <= t && dg >= -t && db <= t && db >= -t;
    };
    for (int y = 1; y + 1 < ref.height(); ++y) {
        const QRgb* rows[3] = {reinterpret_cast<const QRgb*>(ref.constScanLine(y - 1)),
                               reinterpret_cast<const QRgb*>(ref.constScanLine(y)),
                               reinterpret_cast<const QRgb*>(ref.constScanLine(y + 1))};
        const QRgb* drawnRows[3] = {reinterpret_cast<const QRgb*>(ours.constScanLine(y - 1)),
                                    reinterpret_cast<const QRgb*>(ours.constScanLine(y)),
                                    reinterpret_cast<const QRgb*>(ours.constScanLine(y + 1))};
        for (int x = 1; x + 1 < w; ++x) {
            const QRgb c = rows[1][x];
            if ((c & 0xF8F8F8) == 0xF8F8F8) // white, or nearly
                continue;
            bool flat = true, found = false;
            for (int k = 0; k < 9 && flat; ++k)
                flat = within(rows[k / 3][x + k % 3 - 1], c, kFlatSpread);
            if (!flat)
                continue;
            for (int k = 0; k < 9 && !found; ++k)
                found = within(drawnRows[k / 3][x + k % 3 - 1], c, kColourTolerance);
            ++u.inked;
            u.alone += !found;
        }
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
    // VSL_WMF_CORPUS_DIR measures another set made the same way.
    const QString other = qEnvironmentVariable("VSL_WMF_CORPUS_DIR");
    const QDir dir(other.isEmpty() ? QStringLiteral(VSL_TEST_DATA_DIR "/wmfcorpus") : other);
    const QStringList files = dir.entryList({QStringLiteral("*.wmf")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), other.isEmpty() ? kMinCorpusFiles : 1);
    // VSL_WMF_CORPUS_DUMP keeps the drawings to look at, those through a
    // painter as p_<name>.png.
    const QString dump = qEnvironmentVariable("VSL_WMF_CORPUS_DUMP");
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
        if (!dump.isEmpty())
            painted.save(dump + QStringLiteral("/p_") + pngName);
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
            const Unmatched colours = offColour(reference, *drawn);
            EXPECT_LE(colours.share(), kMaxUnmatched)
                << colours.alone << " of " << colours.inked << " coloured reference pixels drawn in another colour";
        }
    }
}
