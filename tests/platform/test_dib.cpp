// Device-independent bitmaps: layout checks, conversions of every depth,
// rotation, picture files and drawing into a device context.
#include "platform/dc.h"
#include "platform/dib.h"
#include "support/bytes.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QPainter>
#include <QTransform>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using testsupport::put16;
using testsupport::put32;

uint32_t get32(const std::string& s, size_t at)
{
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

// A 40-byte header.
std::string infoHeader(int32_t w, int32_t h, uint16_t bpp, uint32_t compression = 0, uint32_t clrUsed = 0)
{
    std::string s;
    put32(s, 40);
    put32(s, uint32_t(w));
    put32(s, uint32_t(h));
    put16(s, 1);
    put16(s, bpp);
    put32(s, compression);
    put32(s, 0);
    put32(s, 0);
    put32(s, 0);
    put32(s, clrUsed);
    put32(s, 0);
    return s;
}

// Colour index of pixel (x, y) (the top row 0) in the bitmaps of
// `everyForm`, and the four colours of their tables.
int indexAt(int x, int y)
{
    return (x + 2 * y) % 4;
}
constexpr QRgb kTable[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};

// Pixel words of 16 and 32 bits with the bit fields 5-5-5 and 8-8-8.
uint32_t word16(QRgb c)
{
    return uint32_t(qRed(c) >> 3) << 10 | uint32_t(qGreen(c) >> 3) << 5 | uint32_t(qBlue(c) >> 3);
}

struct Form {
    const char* name;
    uint16_t bpp;
    uint32_t compression;
    bool topDown;
    bool core;
    int32_t resX, resY;
};

// A 5 x 3 bitmap of the colours indexAt gives, laid down in `f`'s form.
std::string everyForm(const Form& f)
{
    const int w = 5, h = 3;
    std::string d;
    if (f.core) {
        put32(d, 12);
        put16(d, w);
        put16(d, h);
        put16(d, 1);
        put16(d, f.bpp);
    } else {
        d = infoHeader(w, f.topDown ? -h : h, f.bpp, f.compression, f.bpp <= 8 ? 4 : 0);
        std::memcpy(d.data() + 24, &f.resX, 4);
        std::memcpy(d.data() + 28, &f.resY, 4);
    }
    if (f.compression == dib::BI_BITFIELDS) {
        put32(d, 0x00FF0000);
        put32(d, 0x0000FF00);
        put32(d, 0x000000FF);
    }
    if (f.bpp <= 8)
        for (QRgb c : kTable) {
            d += char(qBlue(c));
            d += char(qGreen(c));
            d += char(qRed(c));
            if (!f.core)
                d += '\0';
        }
    for (int r = 0; r < h; ++r) {
        const int y = f.topDown ? r : h - 1 - r;
        std::string row;
        if (f.compression == dib::BI_RLE8 || f.compression == dib::BI_RLE4) {
            // One encoded run per pixel, then the end of the line.
            for (int x = 0; x < w; ++x) {
                row += '\1';
                row += char(f.compression == dib::BI_RLE8 ? indexAt(x, y) : indexAt(x, y) << 4);
            }
            row += std::string(2, '\0');
            d += row;
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const QRgb c = kTable[indexAt(x, y)];
            switch (f.bpp) {
            case 1: row.resize(1); row[0] = char(row[0] | ((indexAt(x, y) & 1) << (7 - x))); break;
            case 4: row.resize(3); row[size_t(x / 2)] = char(row[size_t(x / 2)] | (indexAt(x, y) << (x % 2 ? 0 : 4))); break;
            case 8: row += char(indexAt(x, y)); break;
            case 16: put16(row, word16(c)); break;
            case 24: row += char(qBlue(c)); row += char(qGreen(c)); row += char(qRed(c)); break;
            default: put32(row, c & 0xFFFFFF); break;
            }
        }
        row.resize((row.size() + 3) / 4 * 4, '\0');
        d += row;
    }
    if (f.compression == dib::BI_RLE8 || f.compression == dib::BI_RLE4)
        d += std::string("\0\1", 2);
    return d;
}

// A small picture with four distinct quadrant colours.
QImage quadrants(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            img.setPixel(x, y, right ? (bottom ? qRgb(0, 0, 255) : qRgb(0, 255, 0))
                                     : (bottom ? qRgb(255, 255, 0) : qRgb(255, 0, 0)));
        }
    return img;
}

} // namespace

TEST(Dib, Packed24LayoutIsBottomUpBgrWithPaddedRows)
{
    QImage img(3, 2, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(1, 2, 3));   // top-left
    img.setPixel(0, 1, qRgb(10, 20, 30)); // bottom-left
    for (int x = 1; x < 3; ++x) {
        img.setPixel(x, 0, qRgb(0, 0, 0));
        img.setPixel(x, 1, qRgb(0, 0, 0));
    }
    const std::string dib = dib::ImageToPacked24(img);
    ASSERT_EQ(dib.size(), 40u + 12u * 2u); // 9 bytes per row padded to 12
    EXPECT_EQ(get32(dib, 0), 40u);
    EXPECT_EQ(get32(dib, 4), 3u);
    EXPECT_EQ(get32(dib, 8), 2u);
    EXPECT_EQ(uint8_t(dib[14]), 24);
    EXPECT_EQ(get32(dib, 20), 24u);
    // First stored row is the bottom one, blue first.
    EXPECT_EQ(uint8_t(dib[40]), 30);
    EXPECT_EQ(uint8_t(dib[41]), 20);
    EXPECT_EQ(uint8_t(dib[42]), 10);
    EXPECT_EQ(uint8_t(dib[52]), 3);
    EXPECT_EQ(uint8_t(dib[54]), 1);
    EXPECT_EQ(dib[49], 0); // padding
    EXPECT_EQ(dib::PackedToImage(dib), img);
}

TEST(Dib, AlphaIsCompositedOntoWhite)
{
    QImage img(1, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(255, 0, 0, 0));
    EXPECT_EQ(dib::PackedToImage(dib::ImageToPacked24(img)).pixel(0, 0), qRgb(255, 255, 255));
    img.setPixel(0, 0, qRgba(0, 0, 0, 128));
    const QRgb half = dib::PackedToImage(dib::ImageToPacked24(img)).pixel(0, 0);
    EXPECT_EQ(qRed(half), 127);
    img.setPixel(0, 0, qRgba(0, 0, 200, 255));
    EXPECT_EQ(dib::PackedToImage(dib::ImageToPacked24(img)).pixel(0, 0), qRgb(0, 0, 200));
}

TEST(Dib, RotationTurnsClockwiseAndFourTurnsRestore)
{
    const QImage original = quadrants(6, 4);
    const std::string start = dib::ImageToPacked24(original);
    std::string dib = start;
    ASSERT_TRUE(dib::RotatePacked90(dib, true));
    const QImage once = dib::PackedToImage(dib);
    ASSERT_EQ(once.size(), QSize(4, 6));
    // Clockwise: the bottom-left corner comes to the top-left.
    EXPECT_EQ(once.pixel(0, 0), original.pixel(0, 3));
    EXPECT_EQ(once.pixel(3, 0), original.pixel(0, 0));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(dib::RotatePacked90(dib, true));
    EXPECT_EQ(dib, start);
    ASSERT_TRUE(dib::RotatePacked90(dib, false));
    ASSERT_TRUE(dib::RotatePacked90(dib, true));
    EXPECT_EQ(dib, start);

    std::string bad = "not a bitmap";
    EXPECT_FALSE(dib::RotatePacked90(bad, true));
    EXPECT_EQ(bad, "not a bitmap");

    // Every depth and form turns into the 24-bit bitmap of the toolkit's own
    // turn of its picture, byte for byte, the resolutions exchanged (a new
    // image's when either is missing).
    const Form forms[] = {
        {"1 bit", 1, dib::BI_RGB, false, false, 2835, 5000},
        {"4 bits", 4, dib::BI_RGB, false, false, 0, 0},
        {"8 bits", 8, dib::BI_RGB, false, false, 2835, 0},
        {"16 bits", 16, dib::BI_RGB, false, false, 100, 200},
        {"24 bits", 24, dib::BI_RGB, false, false, 3780, 3780},
        {"24 bits top-down", 24, dib::BI_RGB, true, false, 1, 2},
        {"32 bits", 32, dib::BI_RGB, false, false, -7, 9},
        {"32 bits with bit fields", 32, dib::BI_BITFIELDS, false, false, 0, 11},
        {"core header", 24, dib::BI_RGB, false, true, 0, 0},
        {"RLE8", 8, dib::BI_RLE8, false, false, 2835, 2835},
        {"RLE4", 4, dib::BI_RLE4, false, false, 0, 0},
    };
    // Above a megapixel, a bitmap whose turned rows would be over 64 times
    // its stored bytes is refused and left as it was; so is one above 32
    // megapixels, whatever its bytes. A bitmap refused is not decoded whole
    // either, packed or as header and bits.
    const std::string table(1024, '\0'), endAtOnce("\0\1", 2);
    // Runs that end at once, then bytes enough for 32 megapixels to turn.
    const std::string endThenPadding = endAtOnce + std::string(1'600'000, '\0');
    // 255 pixels of index 1 on each of three rows (a delta on the second).
    const std::string threeLongRows = std::string("\xff\1\0\0\xff\1\0\0\0\2\x10\0\xff\1\0\0", 16) + endAtOnce;
    std::string fiveLongRows;
    for (int row = 0; row < 5; ++row)
        fiveLongRows += std::string("\xff\1\0\4\1\0\1\0\0\0", 10);
    fiveLongRows += endAtOnce;
    const struct {
        const char* name;
        std::string packed;
        bool turns;
    } sizes[] = {
        {"RLE8 1000 x 1000 in two bytes", infoHeader(1000, 1000, 8, dib::BI_RLE8) + table + endAtOnce, true},
        {"RLE8 1001 x 1000 in two bytes", infoHeader(1001, 1000, 8, dib::BI_RLE8) + table + endAtOnce, false},
        {"RLE8 8192 x 8192 in two bytes", infoHeader(8192, 8192, 8, dib::BI_RLE8) + table + endAtOnce, false},
        {"8 bits 1001 x 1000", infoHeader(1001, 1000, 8) + table + std::string(1004 * 1000, '\0'), true},
        {"RLE8 32000 x 1000 (32 megapixels)", infoHeader(32000, 1000, 8, dib::BI_RLE8) + table + endThenPadding,
         true},
        {"RLE8 32001 x 1000", infoHeader(32001, 1000, 8, dib::BI_RLE8) + table + endThenPadding, false},
        {"RLE8 16777210 x 3 in 18 bytes", infoHeader(16777210, 3, 8, dib::BI_RLE8, 2) + table.substr(0, 8) +
                                              threeLongRows, false},
        {"RLE8 8388611 x 5 in 52 bytes", infoHeader(8388611, 5, 8, dib::BI_RLE8, 2) + table.substr(0, 8) +
                                             fiveLongRows, false},
    };
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.name);
        std::string turned = size.packed;
        EXPECT_EQ(dib::RotatePacked90(turned, true), size.turns);
        if (size.turns) {
            EXPECT_EQ(dib::HeaderSize(turned).width, 1000);
            continue;
        }
        EXPECT_TRUE(turned == size.packed) << "changed";
        EXPECT_TRUE(dib::PackedToImage(size.packed).isNull());
        const size_t headerBlock = dib::ParsePacked(size.packed).bitsOffset;
        ASSERT_GT(headerBlock, 0u);
        EXPECT_TRUE(dib::SplitToImage(std::string_view(size.packed).substr(0, headerBlock),
                                      std::string_view(size.packed).substr(headerBlock))
                        .isNull());
    }

    const int32_t fresh = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    for (const Form& f : forms) {
        SCOPED_TRACE(f.name);
        const std::string form = everyForm(f);
        const QImage picture = dib::PackedToImage(form);
        ASSERT_EQ(picture.size(), QSize(5, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(picture.pixel(x, y), kTable[f.bpp == 1 ? indexAt(x, y) & 1 : indexAt(x, y)]) << x << "," << y;
        for (const bool clockwise : {true, false}) {
            std::string turned = form;
            ASSERT_TRUE(dib::RotatePacked90(turned, clockwise));
            std::string expected = dib::ImageToPacked24(picture.transformed(QTransform().rotate(clockwise ? 90 : -90)));
            const bool both = f.resX && f.resY && !f.core;
            const int32_t res[2] = {both ? f.resY : fresh, both ? f.resX : fresh};
            std::memcpy(expected.data() + 24, res, 8);
            EXPECT_EQ(turned, expected) << (clockwise ? "clockwise" : "counter-clockwise");
        }
    }
}

TEST(Dib, EveryDepthConverts)
{
    // 1 bit: two palette colours, one row of 8 pixels 10110000.
    {
        std::string d = infoHeader(8, 1, 1);
        put32(d, 0x000000FF); // index 0: blue (stored B G R 0)
        put32(d, 0x0000FF00); // index 1: green
        d += std::string("\xB0\0\0\0", 4);
        const QImage img = dib::PackedToImage(d);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.pixel(0, 0), qRgb(0, 255, 0));
        EXPECT_EQ(img.pixel(1, 0), qRgb(0, 0, 255));
        EXPECT_EQ(img.pixel(2, 0), qRgb(0, 255, 0));
    }
    // 4 bits with 2 colours used; an index beyond the table takes entry 0.
    {
        std::string d = infoHeader(2, 1, 4, 0, 2);
        put32(d, 0x00FFFFFF);
        put32(d, 0x00FF0000); // red
        d += std::string("\x1F\0\0\0", 4);
        const QImage img = dib::PackedToImage(d);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(img.pixel(1, 0), qRgb(255, 255, 255));
    }
    // 8 bits, two rows bottom-up.
    {
        std::string d = infoHeader(1, 2, 8, 0, 2);
        put32(d, 0x00000000);
        put32(d, 0x000000FF); // blue
        d += std::string("\x01\0\0\0\x00\0\0\0", 8);
        const QImage img = dib::PackedToImage(d);
        EXPECT_EQ(img.pixel(0, 1), qRgb(0, 0, 255)); // first stored row is the bottom
        EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    }
    // 16 bits 5-5-5.
    {
        std::string d = infoHeader(1, 1, 16);
        put16(d, 0x7C00);
        put16(d, 0);
        EXPECT_EQ(dib::PackedToImage(d).pixel(0, 0), qRgb(255, 0, 0));
    }
    // 32 bits with bit-field masks after the header.
    {
        std::string d = infoHeader(1, 1, 32, dib::BI_BITFIELDS);
        put32(d, 0x000000FF);
        put32(d, 0x0000FF00);
        put32(d, 0x00FF0000);
        put32(d, 0x00804020);
        EXPECT_EQ(dib::PackedToImage(d).pixel(0, 0), qRgb(0x20, 0x40, 0x80));
    }
    // Core header, 24 bits.
    {
        std::string d;
        put32(d, 12);
        put16(d, 1);
        put16(d, 1);
        put16(d, 1);
        put16(d, 24);
        d += std::string("\x01\x02\x03\0", 4);
        EXPECT_EQ(dib::PackedToImage(d).pixel(0, 0), qRgb(3, 2, 1));
    }
}

TEST(Dib, TopDownBitmapsHavePositiveHeight)
{
    std::string d = infoHeader(1, -2, 24);
    d += std::string("\xFF\0\0\0\0\0\0\0", 8); // top row blue, bottom black
    const dib::DibLayout l = dib::ParsePacked(d);
    ASSERT_TRUE(l.valid);
    EXPECT_TRUE(l.topDown);
    EXPECT_EQ(l.height, 2);
    EXPECT_EQ(dib::HeaderSize(d).height, 2);
    const QImage img = dib::PackedToImage(d);
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(0, 1), qRgb(0, 0, 0));
}

TEST(Dib, HeadersThatDoNotAddUpAreInvalid)
{
    const std::string good = infoHeader(2, 2, 24) + std::string(16, '\0');
    EXPECT_TRUE(dib::ParsePacked(good).valid);
    EXPECT_FALSE(dib::ParsePacked(good.substr(0, good.size() - 1)).valid); // bits short
    EXPECT_FALSE(dib::ParsePacked(good.substr(0, 20)).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(0, 2, 24) + std::string(16, '\0')).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, 0, 24)).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, 2, 7) + std::string(64, '\0')).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, 2, 8, 0, 0x40000000) + std::string(64, '\0')).valid);
    // Run-length bitmaps: RLE8 needs 8 bits, RLE4 4 bits, rows bottom-up.
    EXPECT_TRUE(dib::ParsePacked(infoHeader(2, 2, 8, 1) + std::string(1024, '\0')).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, 2, 4, 1) + std::string(1024, '\0')).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, 2, 8, 2) + std::string(1024, '\0')).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, -2, 8, 1) + std::string(1024, '\0')).valid);
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, 2, 8, 1) + std::string(1023, '\0')).valid); // table cut
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, 2, 24, 6) + std::string(64, '\0')).valid); // unknown compression
    EXPECT_FALSE(dib::ParsePacked(infoHeader(100000, 100000, 1)).valid); // too many pixels
    EXPECT_FALSE(dib::ParsePacked(infoHeader(2, INT32_MIN, 24)).valid);
    std::string badSize = good;
    badSize[0] = 41; // unknown header size 41 is accepted as a later header form...
    EXPECT_FALSE(dib::ParsePacked(badSize).valid); // ...but then the bits are one byte short
    EXPECT_TRUE(dib::PackedToImage(std::string()).isNull());
    // Split form: the bits are counted separately.
    EXPECT_TRUE(dib::ParseSplit(infoHeader(2, 2, 24), 16).valid);
    EXPECT_FALSE(dib::ParseSplit(infoHeader(2, 2, 24), 15).valid);
}

TEST(Dib, PictureFilesAreRecognisedByContentAndDecoded)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture = quadrants(60, 30);
    const QString png = dir.filePath("photo.jpg"); // PNG content behind a JPEG name
    ASSERT_TRUE(picture.save(png, "PNG"));
    dib::FileInfo info;
    ASSERT_TRUE(dib::ReadFileInfo(png, info));
    EXPECT_EQ(info.format, "PNG");
    EXPECT_EQ(info.width, 60);
    EXPECT_EQ(info.height, 30);
    const std::string dib = dib::ReadFileAsPacked24(png, info.format);
    EXPECT_EQ(dib::PackedToImage(dib), picture);

    const QString bmp = dir.filePath("b.bmp");
    ASSERT_TRUE(picture.save(bmp, "BMP"));
    ASSERT_TRUE(dib::ReadFileInfo(bmp, info));
    EXPECT_EQ(info.format, "BMP");
    EXPECT_EQ(dib::PackedToImage(dib::ReadFileAsPacked24(bmp, "BMP")), picture);

    const QString jpg = dir.filePath("c.jpeg");
    ASSERT_TRUE(picture.save(jpg, "JPEG", 95));
    ASSERT_TRUE(dib::ReadFileInfo(jpg, info));
    EXPECT_EQ(info.format, "JPEG");
    const QImage decoded = dib::PackedToImage(dib::ReadFileAsPacked24(jpg, "JPEG"));
    ASSERT_EQ(decoded.size(), picture.size());
    EXPECT_NEAR(qRed(decoded.pixel(5, 5)), 255, 12);

    EXPECT_FALSE(dib::ReadFileInfo(dir.filePath("missing.png"), info));
    EXPECT_TRUE(dib::ReadFileAsPacked24(png, "GIF").empty());
    const QString text = dir.filePath("t.png");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("hello");
    f.close();
    EXPECT_TRUE(dib::ReadFileAsPacked24(text, "PNG").empty());
}

TEST(Dib, PicturesDecodeReducedToCoverTheDrawnSize)
{
    // Both directions covered, proportions kept, never enlarged.
    EXPECT_EQ(dib::ReducedSize(QSize(400, 200), QSize(100, 100)), QSize(200, 100));
    EXPECT_EQ(dib::ReducedSize(QSize(400, 200), QSize(100, 10)), QSize(100, 50));
    EXPECT_EQ(dib::ReducedSize(QSize(300, 200), QSize(7, 5)), QSize(8, 5));
    EXPECT_EQ(dib::ReducedSize(QSize(400, 200), QSize(500, 10)), QSize(400, 200));
    EXPECT_EQ(dib::ReducedSize(QSize(400, 200), QSize()), QSize(400, 200));
    EXPECT_EQ(dib::ReducedSize(QSize(8192, 8192), QSize(1, 1)), QSize(1, 1));

    const QImage picture = quadrants(64, 32);
    for (const char* format : {"PNG", "BMP", "JPEG"}) {
        SCOPED_TRACE(format);
        QByteArray file;
        QBuffer buffer(&file);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(picture.save(&buffer, format, 95));
        const QImage small = dib::PackedToImage(dib::DecodeAsPacked24(file, format, QSize(16, 4)));
        ASSERT_EQ(small.size(), QSize(16, 8));
        // The top-left quadrant keeps its colour.
        EXPECT_NEAR(qRed(small.pixel(2, 1)), qRed(picture.pixel(8, 4)), 16);
        EXPECT_NEAR(qBlue(small.pixel(2, 1)), qBlue(picture.pixel(8, 4)), 16);
        EXPECT_EQ(dib::PackedToImage(dib::DecodeAsPacked24(file, format, QSize(100, 100))).size(),
                  picture.size());
    }
}

TEST(Dib, DrawingStretchesMirrorsAndClips)
{
    QImage target = testsupport::whiteImage(40, 40);
    CDC dc(&target);
    const QImage picture = quadrants(2, 2);
    dib::DrawImage(dc, picture, QRect(0, 0, 2, 2), RECT{0, 0, 20, 20});
    EXPECT_EQ(target.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(15, 5), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(25, 25), qRgb(255, 255, 255));

    // A reversed rectangle mirrors; the clip rectangle holds.
    target = testsupport::whiteImage(40, 40);
    CDC dc2(&target);
    const RECT clip{0, 0, 40, 10};
    dc2.SelectClipRect(&clip);
    dib::DrawImage(dc2, picture, QRect(0, 0, 2, 2), RECT{20, 0, 0, 20});
    EXPECT_EQ(target.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(15, 5), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(5, 15), qRgb(255, 255, 255));

    // Only the part of the source inside the picture is drawn, in proportion.
    target = testsupport::whiteImage(40, 40);
    CDC dc3(&target);
    dib::DrawImage(dc3, picture, QRect(1, 0, 2, 2), RECT{0, 0, 20, 20});
    EXPECT_EQ(target.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(15, 5), qRgb(255, 255, 255));

    // A painter target (printer, preview) gets the same picture.
    target = testsupport::whiteImage(40, 40);
    {
        QPainter painter(&target);
        CDC pdc(&painter, 96, 96, 40, 40);
        dib::DrawImage(pdc, picture, QRect(0, 0, 2, 2), RECT{0, 0, 20, 20});
    }
    EXPECT_EQ(target.pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(25, 25), qRgb(255, 255, 255));
}
