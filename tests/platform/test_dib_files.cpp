// Bitmaps and picture files read by the program's own readers: run-length
// data (RLE8, RLE4) bounded by its bytes, BMP files of every header version
// and depth compared with what other programs wrote, and the checks PNG and
// JPEG files pass before the toolkit decodes them.
#include "platform/dib.h"
#include "platform/dib_decode.h"
#include "support/test_support.h"
#include "support/bytes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::put16;
using testsupport::put32;

void putBe32(std::string& s, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(char((v >> shift) & 0xFF));
}

// A header of `size` bytes (40, 52, 56, 108 or 124); masks go into the
// header from 52 bytes on.
std::string header(uint32_t size, int32_t w, int32_t h, uint16_t bpp, uint32_t compression = 0,
                   uint32_t clrUsed = 0, std::vector<uint32_t> masks = {})
{
    std::string s;
    put32(s, size);
    put32(s, uint32_t(w));
    put32(s, uint32_t(h));
    put16(s, 1);
    put16(s, bpp);
    put32(s, compression);
    put32(s, 0);
    put32(s, 2835);
    put32(s, 2835);
    put32(s, clrUsed);
    put32(s, 0);
    for (uint32_t m : masks)
        if (s.size() < size)
            put32(s, m);
    s.resize(size, '\0');
    return s;
}

// A BMP file: file header, then the header block and the rows.
std::string bmpFile(const std::string& headerAndTable, const std::string& rows)
{
    std::string f = "BM";
    put32(f, uint32_t(14 + headerAndTable.size() + rows.size()));
    put32(f, 0);
    put32(f, uint32_t(14 + headerAndTable.size()));
    return f + headerAndTable + rows;
}

std::string palette(std::initializer_list<QRgb> colours)
{
    std::string s;
    for (QRgb c : colours)
        put32(s, c & 0xFFFFFF); // B, G, R, 0 in little-endian order
    return s;
}

QImage decode(const std::string& packed)
{
    return dib::PackedToImage(packed);
}

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s.push_back(char(v));
    return s;
}

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

} // namespace

TEST(DibRunLength, Rle8RunsAbsoluteDeltaAndEarlyEnd)
{
    const std::string table = palette({kWhite, kRed, kGreen, kBlue});
    // 6 x 3, bottom row first: run of 3 red, absolute green blue green
    // (odd count, padded), end of line; delta 2 right 1 up (skips the
    // middle row), 2 blue; end of bitmap.
    const std::string rle = bytes({3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 2, 1, 2, 3, 0, 1});
    const QImage img = decode(header(40, 6, 3, 8, dib::BI_RLE8, 4) + table + rle);
    ASSERT_EQ(img.size(), QSize(6, 3));
    const std::vector<QRgb> bottom{kRed, kRed, kRed, kGreen, kBlue, kGreen};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(img.pixel(x, 2), bottom[size_t(x)]) << x;
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(img.pixel(x, 1), kWhite) << x; // skipped by the delta: colour 0
    const std::vector<QRgb> top{kWhite, kWhite, kBlue, kBlue, kWhite, kWhite};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(img.pixel(x, 0), top[size_t(x)]) << x;

    // Data that ends early: the rest stays colour 0, whatever the header
    // says about the bits. An index beyond the table takes entry 0 too.
    const QImage cut = decode(header(40, 6, 3, 8, dib::BI_RLE8, 2) + palette({kGreen, kRed}) + bytes({2, 1, 2, 200, 4}));
    ASSERT_EQ(cut.size(), QSize(6, 3));
    EXPECT_EQ(cut.pixel(0, 2), kRed);
    EXPECT_EQ(cut.pixel(1, 2), kRed);
    EXPECT_EQ(cut.pixel(2, 2), kGreen); // index 200
    EXPECT_EQ(cut.pixel(3, 2), kGreen);
    EXPECT_EQ(testsupport::countPixels(cut, 0x00FF00), 6 * 3 - 2);

    // Runs past the row are cut at its end, and rows past the top are
    // never written: a 2 x 1 bitmap of 255-pixel runs and huge deltas.
    const QImage over =
        decode(header(40, 2, 1, 8, dib::BI_RLE8, 2) + palette({kWhite, kBlue}) +
               bytes({255, 1, 0, 2, 255, 255, 255, 1, 0, 0, 255, 1, 0, 1}));
    ASSERT_EQ(over.size(), QSize(2, 1));
    EXPECT_EQ(over.pixel(0, 0), kBlue);
    EXPECT_EQ(over.pixel(1, 0), kBlue);
}

TEST(DibRunLength, Rle4AlternatesNibblesAndPadsAbsoluteRuns)
{
    const std::string table = palette({kWhite, kRed, kGreen, kBlue});
    // 8 x 1: run of 5 alternating red/green, absolute 3 indices blue white
    // red (two bytes), end of bitmap.
    const std::string rle = bytes({5, 0x12, 0, 3, 0x30, 0x10, 0, 1});
    const QImage img = decode(header(40, 8, 1, 4, dib::BI_RLE4, 4) + table + rle);
    ASSERT_EQ(img.size(), QSize(8, 1));
    const std::vector<QRgb> row{kRed, kGreen, kRed, kGreen, kRed, kBlue, kWhite, kRed};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(img.pixel(x, 0), row[size_t(x)]) << x;
    // Absolute run of 5 (three bytes, padded to four) then a run.
    const QImage odd =
        decode(header(40, 7, 1, 4, dib::BI_RLE4, 4) + table + bytes({0, 5, 0x31, 0x20, 0x30, 0, 2, 0x11}));
    const std::vector<QRgb> row2{kBlue, kRed, kGreen, kWhite, kBlue, kRed, kRed};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(odd.pixel(x, 0), row2[size_t(x)]) << x;
    // The split form (header and bits apart) decodes the same.
    const std::string h = header(40, 8, 1, 4, dib::BI_RLE4, 4) + table;
    EXPECT_EQ(dib::SplitToImage(h, rle), img);
}

namespace {

using dib::detail::RowSink;

// Counts what a decoder hands over, keeping nothing.
class CountingSink : public RowSink {
public:
    void Row(int, const QRgb*) override
    {
        ++rowCalls;
        ++rows;
    }
    void Rows(int, int count, const QRgb*) override
    {
        ++bulkCalls;
        rows += count;
    }
    int64_t rowCalls = 0;
    int64_t bulkCalls = 0;
    int64_t rows = 0;
};

// Passes every row on one at a time, as a sink without bulk rows takes them.
class OneByOne : public RowSink {
public:
    explicit OneByOne(RowSink& to) : m_to(to) {}
    void Row(int y, const QRgb* line) override { m_to.Row(y, line); }

private:
    RowSink& m_to;
};

bool decodeInto(const std::string& packed, RowSink& sink)
{
    const dib::DibLayout l = dib::ParsePacked(packed);
    const std::string_view all(packed);
    const std::string_view table = all.substr(l.paletteOffset, l.bitsOffset - l.paletteOffset);
    const dib::detail::MemorySource source(all.substr(l.bitsOffset, l.bitsSize));
    return l.valid && dib::detail::DecodeRows(l, dib::detail::Colours(l, table.data(), table.size()), source, 0,
                                              qint64(l.bitsSize), sink);
}

} // namespace

TEST(DibRunLength, RowsTheDataLeavesOutCostNoWorkPerRow)
{
    // A few bytes declaring a bitmap at the pixel limit: one run, deltas
    // 255 rows up, then the data ends. Every row still arrives, but the
    // left-out ones in a few bulk calls, not one call per row.
    const int32_t h = int32_t(dib::kMaxPixels / 4);
    const std::string packed = header(40, 4, h, 8, dib::BI_RLE8, 2) + palette({kWhite, kRed}) +
                               bytes({2, 1, 0, 2, 1, 255, 0, 2, 0, 255, 3, 1});
    for (const bool early : {false, true}) {
        SCOPED_TRACE(early);
        CountingSink sink;
        ASSERT_TRUE(decodeInto(early ? packed + bytes({0, 1}) : packed, sink));
        EXPECT_EQ(sink.rows, h);
        EXPECT_LE(sink.rowCalls, 4);
        EXPECT_LE(sink.bulkCalls, 4);
    }
    // The same through the 4-bit form, 16 million pixels wide and 3 high.
    CountingSink wide;
    ASSERT_TRUE(decodeInto(header(40, int32_t(dib::kMaxPixels / 4), 3, 4, dib::BI_RLE4, 2) +
                               palette({kWhite, kRed}) + bytes({3, 0x11, 0, 1}),
                           wide));
    EXPECT_EQ(wide.rows, 3);
    EXPECT_LE(wide.rowCalls, 1);
}

TEST(DibRunLength, BulkRowsMatchRowByRowInEverySink)
{
    // 5 x 40, sparse: a run on the bottom row, a delta 11 up, a run
    // there, end of line, a delta 16 up, an absolute run, then the data
    // ends.
    const std::string packed = header(40, 5, 40, 8, dib::BI_RLE8, 4) +
                               palette({kGreen, kRed, kBlue, kWhite}) +
                               bytes({2, 1, 0, 2, 0, 11, 2, 2, 0, 0, 0, 2, 0, 16, 0, 3, 3, 1, 2, 0});
    // Whole images.
    const QImage image = decode(packed);
    ASSERT_EQ(image.size(), QSize(5, 40));
    QImage oneByOne(5, 40, QImage::Format_RGB32);
    dib::detail::ImageSink perRow(oneByOne);
    OneByOne via(perRow);
    ASSERT_TRUE(decodeInto(packed, via));
    EXPECT_EQ(image, oneByOne);
    EXPECT_EQ(image.pixel(1, 39), kRed);
    EXPECT_EQ(image.pixel(3, 28), kBlue);
    EXPECT_EQ(image.pixel(0, 11), kWhite);
    EXPECT_EQ(image.pixel(2, 11), kBlue);
    EXPECT_EQ(testsupport::countPixels(image, 0x00FF00), 5 * 40 - 2 - 2 - 3);
    // Parts at their own size are the whole image's pixels there: one
    // beginning where some rows' runs have ended, one across the runs.
    for (const QRect part : {QRect(3, 0, 2, 40), QRect(4, 5, 1, 30), QRect(1, 10, 3, 20)}) {
        SCOPED_TRACE(part.left());
        EXPECT_EQ(dib::PackedPartToImage(packed, part, part.size()), image.copy(part));
    }

    // Reduced to sizes whose rows straddle the left-out stretches, and
    // packed 24-bit output (the picture-file path).
    for (const QSize out : {QSize(2, 7), QSize(3, 13), QSize(5, 40)}) {
        SCOPED_TRACE(out.height());
        dib::detail::Packed24Sink bulkPacked(out.width(), out.height(), 0, 0);
        dib::detail::Packed24Sink rowPacked(out.width(), out.height(), 0, 0);
        dib::detail::ReduceSink bulk(5, 40, out.width(), out.height(), bulkPacked);
        dib::detail::ReduceSink rows(5, 40, out.width(), out.height(), rowPacked);
        OneByOne single(rows);
        ASSERT_TRUE(decodeInto(packed, bulk));
        ASSERT_TRUE(decodeInto(packed, single));
        bulk.Finish();
        rows.Finish();
        EXPECT_EQ(bulkPacked.Take(), rowPacked.Take());
    }
    dib::detail::Packed24Sink bulkPacked(5, 40, 0, 0);
    dib::detail::Packed24Sink rowPacked(5, 40, 0, 0);
    OneByOne single(rowPacked);
    ASSERT_TRUE(decodeInto(packed, bulkPacked));
    ASSERT_TRUE(decodeInto(packed, single));
    const std::string fromBulk = bulkPacked.Take();
    EXPECT_EQ(fromBulk, rowPacked.Take());
    EXPECT_EQ(dib::PackedToImage(fromBulk), image);
}

TEST(DibFiles, ReferenceBmpFilesMatchPixelForPixel)
{
    // Written by ImageMagick and GIMP (tests/data/bmp/make.sh), each with
    // ImageMagick's own decoding as a PNG.
    const QDir dir(QStringLiteral(VSL_TEST_DATA_DIR "/bmp"));
    const QStringList names = dir.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 14);
    for (const char* needed : {"rle4.bmp", "rle8.bmp", "rle8_gimp.bmp", "core24.bmp", "v5_alpha.bmp"})
        EXPECT_TRUE(names.contains(QLatin1String(needed))) << needed;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        dib::FileInfo info;
        ASSERT_TRUE(dib::ReadPictureInfo(data, info));
        EXPECT_EQ(info.format, "BMP");
        const QImage mine = decode(dib::DecodeBmpFile(std::string_view(data.constData(), size_t(data.size()))));
        const QImage reference = QImage(dir.filePath(QString(name).replace(".bmp", ".png"))).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(reference.isNull());
        ASSERT_EQ(mine.size(), reference.size());
        EXPECT_EQ(QSize(info.width, info.height), reference.size());
        EXPECT_EQ(testsupport::countDifferentPixels(mine, reference), 0);
        // Run-length bitmaps turned clockwise as ImageMagick turns them (the
        // rows follow the colour table in these files).
        const QString turnedName = dir.filePath(QString(name).replace(".bmp", "_rot90.png"));
        if (QFile::exists(turnedName)) {
            std::string packed(data.constData() + 14, size_t(data.size()) - 14);
            ASSERT_TRUE(dib::RotatePacked90(packed, true));
            const QImage turned = QImage(turnedName).convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(dib::PackedToImage(packed).size(), turned.size());
            EXPECT_EQ(testsupport::countDifferentPixels(dib::PackedToImage(packed), turned), 0);
        }
    }
}

TEST(DibFiles, EveryHeaderVersionDepthAndRowOrder)
{
    // Each file is decoded from memory and loaded from disk, where the rows
    // are read one at a time.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int written = 0;
    auto bothWays = [&](const std::string& file) {
        const QString path = dir.filePath(QStringLiteral("%1.bmp").arg(written++));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file.data(), qint64(file.size()));
        f.close();
        dib::LoadedPicture loaded;
        dib::LoadPictureFile(path, QSize(), loaded);
        return std::vector<std::string>{dib::DecodeBmpFile(file), loaded.packed};
    };
    // 2 x 2: top row red, green; bottom row blue, white.
    auto check = [&](const std::string& file, const char* what) {
        for (const std::string& packed : bothWays(file)) {
            SCOPED_TRACE(what);
            const QImage img = decode(packed);
            ASSERT_EQ(img.size(), QSize(2, 2));
            EXPECT_EQ(img.pixel(0, 0), kRed);
            EXPECT_EQ(img.pixel(1, 0), kGreen);
            EXPECT_EQ(img.pixel(0, 1), kBlue);
            EXPECT_EQ(img.pixel(1, 1), kWhite);
        }
    };
    auto refused = [&](const std::string& file, const char* what) {
        for (const std::string& packed : bothWays(file))
            EXPECT_TRUE(packed.empty()) << what;
    };
    auto rows32 = [](bool topDown, auto pixel) {
        std::string s;
        const QRgb top[2] = {kRed, kGreen}, bottom[2] = {kBlue, kWhite};
        for (const QRgb* row : topDown ? std::vector<const QRgb*>{top, bottom} : std::vector<const QRgb*>{bottom, top})
            for (int x = 0; x < 2; ++x)
                put32(s, pixel(row[x]));
        return s;
    };
    auto rgbx = [](QRgb c) { return c & 0xFFFFFF; };
    auto xbgr = [](QRgb c) { return uint32_t(qRed(c)) << 24 | uint32_t(qGreen(c)) << 16 | uint32_t(qBlue(c)) << 8; };
    check(bmpFile(header(40, 2, 2, 32), rows32(false, rgbx)), "info 32");
    check(bmpFile(header(40, 2, -2, 32), rows32(true, rgbx)), "info 32 top-down");
    check(bmpFile(header(108, 2, -2, 32, dib::BI_BITFIELDS, 0, {0xFF000000, 0xFF0000, 0xFF00}), rows32(true, xbgr)),
          "v4 bit fields top-down");
    check(bmpFile(header(40, 2, 2, 32, dib::BI_BITFIELDS) + bytes({0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0}),
                  rows32(false, xbgr)),
          "masks after the header");
    // 8 bits with a table cut to what lies before the rows.
    std::string rows8 = bytes({2, 3, 0, 0, 0, 1, 0, 0});
    check(bmpFile(header(40, 2, 2, 8, 0, 256) + palette({kRed, kGreen, kBlue, kWhite}), rows8), "short table");
    // 24 bits, core header.
    std::string core;
    put32(core, 12);
    put16(core, 2);
    put16(core, 2);
    put16(core, 1);
    put16(core, 24);
    // Rows of 6 bytes padded to 8; the last row may come without its padding.
    const std::string rows24 = bytes({0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
    check(bmpFile(core, rows24), "core 24");
    check(bmpFile(core, rows24.substr(0, 14)), "core 24, last row unpadded");
    check(bmpFile(header(40, 2, -2, 24), rows24.substr(8, 8) + rows24.substr(0, 6)), "24 top-down, unpadded");

    // Rows cut short: refused (run-length data may end early, rows may not).
    const std::string whole = bmpFile(header(40, 2, 2, 32), rows32(false, rgbx));
    refused(whole.substr(0, whole.size() - 1), "32 cut");
    refused(bmpFile(core, rows24.substr(0, 13)), "24 cut inside the last row");
    // The rows' offset inside the header: refused.
    std::string inside = whole;
    inside[10] = 20;
    refused(inside, "rows inside the header");
}

TEST(DibFiles, ThePixelLimitHoldsWhicheverWayTheRowsRun)
{
    // 8193 x 8193 is just above the limit: 1 bit, every row there (8 MB),
    // refused by its header alone.
    const std::string rows(size_t(1028) * 8193, '\0');
    for (const int32_t h : {8193, -8193}) {
        const std::string file = bmpFile(header(40, 8193, h, 1, 0, 2) + palette({kWhite, kRed}), rows);
        dib::FileInfo info;
        ASSERT_TRUE(dib::ReadPictureInfo(QByteArray(file.data(), qsizetype(file.size())), info));
        EXPECT_EQ(info.height, 8193);
        EXPECT_TRUE(dib::DecodeBmpFile(file).empty()) << h;
        EXPECT_FALSE(dib::ParsePacked(file.substr(14)).valid) << h;
    }
    ASSERT_GT(int64_t(8193) * 8193, dib::kMaxPixels);
    ASSERT_LE(int64_t(8192) * 8192, dib::kMaxPixels);
}

TEST(DibFiles, PngAndJpegAreCheckedBeforeDecoding)
{
    auto encoded = [](const QImage& img, const char* format) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        img.save(&buffer, format, 90);
        return data;
    };
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(kBlue);
    const QByteArray png = encoded(img, "PNG");
    const QByteArray jpg = encoded(img, "JPEG");
    dib::FileInfo info;
    ASSERT_TRUE(dib::CheckPictureFile(png, "PNG", &info));
    EXPECT_EQ(QSize(info.width, info.height), QSize(40, 20));
    ASSERT_TRUE(dib::CheckPictureFile(jpg, "JPEG", &info));
    EXPECT_EQ(QSize(info.width, info.height), QSize(40, 20));
    EXPECT_FALSE(dib::CheckPictureFile(png, "JPEG"));

    // A text chunk declaring 2 GB after the header: refused unread.
    QByteArray big = png.left(8 + 25);
    std::string chunk;
    putBe32(chunk, 0x7FFFFFF0u);
    chunk += "tEXtComment";
    big += QByteArray(chunk.data(), qsizetype(chunk.size()));
    big += png.mid(8 + 25);
    EXPECT_FALSE(dib::CheckPictureFile(big, "PNG"));
    EXPECT_TRUE(dib::DecodeAsPacked24(big, "PNG").empty());
    // The same after the image data, before the end chunk.
    QByteArray late = png.left(png.size() - 12);
    late += QByteArray(chunk.data(), qsizetype(chunk.size()));
    late += png.right(12);
    EXPECT_FALSE(dib::CheckPictureFile(late, "PNG"));
    EXPECT_TRUE(dib::DecodeAsPacked24(late, "PNG").empty());
    // A last chunk that runs past the end of the file: refused, whether
    // the file is cut inside the end chunk, cut inside the image data's
    // checksum with no end chunk, or its end chunk declares 4 bytes more.
    QByteArray longEnd = png;
    longEnd[png.size() - 9] = char(4);
    ASSERT_EQ(longEnd.mid(png.size() - 8, 4), QByteArray("IEND"));
    for (const QByteArray& damaged : {png.left(png.size() - 5), png.left(png.size() - 12 - 3), longEnd}) {
        EXPECT_FALSE(dib::CheckPictureFile(damaged, "PNG")) << damaged.size();
        EXPECT_TRUE(dib::DecodeAsPacked24(damaged, "PNG").empty()) << damaged.size();
    }
    // A header declaring too many pixels.
    QByteArray huge = png;
    huge[16] = char(0x7F);
    EXPECT_FALSE(dib::CheckPictureFile(huge, "PNG"));
    EXPECT_TRUE(dib::DecodeAsPacked24(huge, "PNG").empty());

    // JPEG: a frame of 65535 x 65535, a segment past the end, no frame.
    QByteArray wide = jpg;
    const qsizetype sof = wide.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    wide[sof + 5] = wide[sof + 6] = wide[sof + 7] = wide[sof + 8] = char(0xFF);
    EXPECT_FALSE(dib::CheckPictureFile(wide, "JPEG"));
    EXPECT_TRUE(dib::DecodeAsPacked24(wide, "JPEG").empty());
    EXPECT_FALSE(dib::CheckPictureFile(jpg.left(sof + 4), "JPEG"));
    EXPECT_FALSE(dib::CheckPictureFile(QByteArray("\xFF\xD8\xFF\xDA\x00\x02", 6), "JPEG"));
    EXPECT_EQ(decode(dib::DecodeAsPacked24(jpg, "JPEG")).size(), QSize(40, 20));
}

TEST(DibFiles, BitmapsWhoseBitsAreJpegOrPngFiles)
{
    QImage img(6, 4, QImage::Format_RGB32);
    img.fill(kRed);
    for (int y = 0; y < 4; ++y)
        img.setPixel(5, y, kBlue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    std::string h = header(40, 6, 4, 0, dib::BI_PNG);
    h[20] = char(png.size() & 0xFF); // image size: the PNG file's length
    h[21] = char((png.size() >> 8) & 0xFF);
    const std::string packed = h + png.toStdString() + "trailing";
    const QImage decoded = decode(packed);
    ASSERT_EQ(decoded.size(), QSize(6, 4));
    EXPECT_EQ(decoded.pixel(0, 0), kRed);
    EXPECT_EQ(decoded.pixel(5, 3), kBlue);
    // The same as a BMP file, and as header and bits apart.
    EXPECT_EQ(decode(dib::DecodeBmpFile(bmpFile(h, png.toStdString()))), decoded);
    EXPECT_EQ(dib::SplitToImage(h, png.toStdString()), decoded);

    // A size other than the header's, a damaged file, a 2 GB chunk: nothing.
    EXPECT_TRUE(decode(header(40, 7, 4, 0, dib::BI_PNG) + png.toStdString()).isNull());
    EXPECT_TRUE(decode(h + png.left(png.size() - 6).toStdString()).isNull());
    std::string big = png.left(33).toStdString();
    putBe32(big, 0x7FFFFFF0u);
    big += "tEXtComment";
    big += png.mid(33).toStdString();
    EXPECT_TRUE(decode(header(40, 6, 4, 0, dib::BI_PNG) + big).isNull());
    // A JPEG file under the PNG mark.
    QByteArray jpg;
    QBuffer jbuffer(&jpg);
    jbuffer.open(QIODevice::WriteOnly);
    img.save(&jbuffer, "JPEG", 95);
    EXPECT_TRUE(decode(header(40, 6, 4, 0, dib::BI_PNG) + jpg.toStdString()).isNull());
    const QImage fromJpeg = decode(header(40, 6, 4, 0, dib::BI_JPEG) + jpg.toStdString());
    ASSERT_EQ(fromJpeg.size(), QSize(6, 4));
    EXPECT_NEAR(qRed(fromJpeg.pixel(0, 0)), 255, 24);
}

TEST(DibFiles, StoredBitmapsAreDrawnFromACopyOfAboutTheDrawnSize)
{
    // 64 x 32: left half red, right half blue, a white top row.
    QImage img(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            img.setPixel(x, y, y == 0 ? kWhite : (x < 32 ? kRed : kBlue));
    const std::string packed = dib::ImageToPacked24(img);
    const QImage small = dib::PackedToImage(packed, QSize(16, 4));
    ASSERT_EQ(small.size(), QSize(16, 8));
    EXPECT_EQ(small.pixel(3, 5), kRed);
    EXPECT_EQ(small.pixel(12, 5), kBlue);
    // The top output row averages the white row with three red ones.
    EXPECT_EQ(small.pixel(0, 0), qRgb(255, 64, 64));
    EXPECT_EQ(dib::PackedToImage(packed, QSize(64, 64)), img);
    EXPECT_EQ(dib::PackedToImage(packed, QSize()), img);
    EXPECT_TRUE(dib::PackedToImage(packed.substr(0, 100), QSize(4, 4)).isNull());
}

TEST(DibFiles, AStoredBitmapsAlphaMaskIsIgnoredAtEverySize)
{
    // A 4 x 4 bitmap of 32 bits with an alpha mask (a 124-byte header), red
    // with alpha 0. The device draws stored bitmaps opaque, whole or
    // reduced; only picture files are composited onto white.
    std::string packed = header(124, 4, 4, 32, dib::BI_BITFIELDS, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000});
    for (int i = 0; i < 16; ++i)
        put32(packed, 0x00FF0000);
    const QImage whole = dib::PackedToImage(packed);
    const QImage reduced = dib::PackedToImage(packed, QSize(2, 2));
    ASSERT_EQ(reduced.size(), QSize(2, 2));
    EXPECT_EQ(whole.pixel(1, 1) | 0xFF000000u, 0xFFFF0000u);
    EXPECT_EQ(reduced.pixel(1, 1) | 0xFF000000u, 0xFFFF0000u);
}
