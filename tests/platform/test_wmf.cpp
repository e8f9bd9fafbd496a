// The metafile player: mapping, objects, figures, text, bitmaps, state and
// damaged input; splitting .wmf files.
#include "platform/dc.h"
#include "platform/dib.h"
#include "platform/wmf.h"
#include "support/wmf_builder.h"
#include "support/test_support.h"

#include <QPainter>
#include <vector>
#include <gtest/gtest.h>

using wmftest::Builder;

using testsupport::px;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

// Plays bits onto a white 100 x 100 image, the viewport covering it all.
QImage play(const std::string& bits, int* played = nullptr, SIZE windowExt = SIZE{10000, 10000})
{
    QImage img = testsupport::whiteImage(100, 100);
    CDC dc(&img);
    const int n = wmf::Play(dc, bits, POINT{0, 0}, SIZE{100, 100}, windowExt);
    if (played)
        *played = n;
    return img;
}

// The same on a bitmap or through a painter, as printing draws, the window
// taken from the metafile.
QImage playOn(const std::string& bits, bool painter)
{
    QImage img = testsupport::whiteImage(100, 100);
    if (painter) {
        QPainter p(&img);
        CDC dc(&p, 96, 96, 100, 100);
        wmf::Play(dc, bits, POINT{0, 0}, SIZE{100, 100});
    } else {
        CDC dc(&img);
        wmf::Play(dc, bits, POINT{0, 0}, SIZE{100, 100});
    }
    return img;
}

} // namespace

TEST(Wmf, WindowMapsOntoTheViewport)
{
    // Window 0..1000 with a red rectangle in its middle quarter area.
    Builder b;
    b.windowOrg(0, 0).windowExt(1000, 1000);
    b.pen(5, 0, 0).select(0).brush(0, 0x0000FF).select(1); // null pen, red brush
    b.rectangle(250, 250, 750, 750);
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 50, 50), kRed);
    EXPECT_EQ(px(img, 26, 26), kRed);
    EXPECT_EQ(px(img, 23, 23), kWhite);
    EXPECT_EQ(px(img, 77, 77), kWhite);

    // An origin shift and a y axis that points up.
    Builder up;
    up.windowOrg(-500, 500).windowExt(1000, -1000);
    up.pen(5, 0, 0).select(0).brush(0, 0xFF0000).select(1); // blue
    up.rectangle(0, 0, 500, -500); // the lower right quarter
    const QImage img2 = play(up.bits());
    EXPECT_EQ(px(img2, 75, 75), kBlue);
    EXPECT_EQ(px(img2, 25, 25), kWhite);
    EXPECT_EQ(px(img2, 75, 25), kWhite);
}

TEST(Wmf, InitialWindowIsTheCallersExtent)
{
    Builder b;
    b.pen(5, 0, 0).select(0).brush(0, 0x0000FF).select(1).rectangle(0, 0, 5000, 5000);
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 25, 25), kRed);
    EXPECT_EQ(px(img, 75, 75), kWhite);
    // A zero extent from the caller plays nothing; one from the file is ignored.
    int n = -1;
    play(b.bits(), &n, SIZE{0, 100});
    EXPECT_EQ(n, 0);
    Builder z;
    z.windowExt(0, 0).pen(5, 0, 0).select(0).brush(0, 0x0000FF).select(1).rectangle(0, 0, 5000, 5000);
    EXPECT_EQ(px(play(z.bits()), 25, 25), kRed);
}

TEST(Wmf, LinesPolylinesEllipsesAndPenWidths)
{
    Builder b;
    b.windowExt(100, 100);
    b.pen(0, 0, 0x0000FF).select(0); // red cosmetic pen
    b.moveTo(10, 10).lineTo(90, 10);
    // Polyline down the left side.
    b.rec(0x0325, {2, 5, 20, 5, 90});
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 50, 10), kRed);
    EXPECT_EQ(px(img, 90, 10), kWhite); // the end pixel is not drawn
    EXPECT_EQ(px(img, 5, 50), kRed);

    Builder e;
    e.windowExt(100, 100);
    e.pen(5, 0, 0).select(0).brush(0, 0xFF0000).select(1);
    e.ellipse(0, 0, 100, 100);
    const QImage ell = play(e.bits());
    EXPECT_EQ(px(ell, 50, 50), kBlue);
    EXPECT_EQ(px(ell, 2, 2), kWhite);

    // A geometric pen scales with the mapping: 10 logical units = 10 pixels.
    Builder w;
    w.windowExt(100, 100).pen(0, 10, 0x0000FF).select(0);
    w.moveTo(0, 50).lineTo(100, 50);
    const QImage wide = play(w.bits());
    EXPECT_EQ(px(wide, 50, 46), kRed);
    EXPECT_EQ(px(wide, 50, 54), kRed);
    EXPECT_EQ(px(wide, 50, 40), kWhite);
}

TEST(Wmf, PolygonsRoundRectsAndArcs)
{
    Builder b;
    b.windowExt(100, 100);
    b.pen(5, 0, 0).select(0).brush(0, 0x0000FF).select(1);
    b.rec(0x0324, {3, 0, 0, 100, 0, 0, 100}); // triangle in the top-left half
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 20, 20), kRed);
    EXPECT_EQ(px(img, 80, 80), kWhite);

    Builder r;
    r.windowExt(100, 100).pen(5, 0, 0).select(0).brush(0, 0xFF0000).select(1);
    r.rec(0x061C, {40, 40, 90, 90, 10, 10}); // rounded rectangle 10..90, corners 40
    const QImage rr = play(r.bits());
    EXPECT_EQ(px(rr, 50, 50), kBlue);
    EXPECT_EQ(px(rr, 11, 11), kWhite); // the corner is cut off
    EXPECT_EQ(px(rr, 50, 11), kBlue);

    Builder a;
    a.windowExt(100, 100).pen(0, 0, 0x0000FF).select(0);
    // Upper half of the circle: from the right point to the left one.
    a.rec(0x0817, {50, 0, 50, 100, 100, 100, 0, 0});
    const QImage arc = play(a.bits());
    EXPECT_GT(testsupport::countPixels(arc.copy(0, 0, 100, 45), 0xFF0000), 50);
    EXPECT_EQ(testsupport::countPixels(arc.copy(0, 55, 100, 45), 0xFF0000), 0);
}

TEST(Wmf, PolygonsKeepTheirAreaUnderAScaledMapping)
{
    // Bands a pixel or two thick, their corners between pixels (a window of
    // 1600 units drawn on 100 pixels: a unit is a sixteenth of a pixel),
    // also where a unit is half as tall as it is wide, and a triangle whose
    // far corners lie 200 million pixels away on the diagonal, filled
    // without a pen: as many pixels as the part on the image covers,
    // however the corners round, on a bitmap and through a painter, from
    // POLYGON and POLYPOLYGON records.
    struct Row {
        std::vector<int> corners; // x, y logical
        int area;                 // pixels
        SIZE window{1600, 1600};
        SIZE viewport{100, 100};
    };
    const Row rows[] = {
        {{0, 170, 1600, 537, 1600, 550, 0, 183}, 81},  // 0.8 thick; both ends round to nothing
        {{330, 0, 700, 1600, 724, 1600, 354, 0}, 150}, // 1.5 wide; rounds to 1
        {{0, 1124, 1600, 1446, 1600, 1456, 0, 1134}, 62}, // 0.6 thick; rounds to 1
        {{330, 0, 700, 3200, 724, 3200, 354, 0}, 150, {1600, 3200}}, // 1.5 wide, 100 tall
        // The lower left half of the image; the far corners lie 200 million
        // pixels down (and right).
        {{0, 0, 10000, 10000, 0, 10000}, 5000, {1, 1}, {20000, 20000}},
    };
    for (const Row& row : rows)
        for (const uint16_t record : {uint16_t(0x0324), uint16_t(0x0538)})
            for (const bool painter : {false, true}) {
                Builder b;
                // The window and SETVIEWPORTEXT (y, x).
                b.windowExt(row.window.cx, row.window.cy).rec(0x020E, {row.viewport.cy, row.viewport.cx});
                b.pen(PS_NULL, 0, 0).select(0).brush(BS_SOLID, 0).select(1);
                std::vector<int> words;
                if (record == 0x0538)
                    words.push_back(1);
                words.push_back(int(row.corners.size() / 2));
                words.insert(words.end(), row.corners.begin(), row.corners.end());
                std::string params;
                for (int w : words)
                    Builder::put16(params, uint16_t(w));
                b.raw(record, params);
                const QImage img = playOn(b.bits(), painter);
                EXPECT_NEAR(testsupport::countPixels(img, 0), row.area, row.area / 10)
                    << "row " << &row - rows << " " << std::hex << record << " " << painter;
            }
}

TEST(Wmf, PolygonOutlinesRunThroughTheNearestPixels)
{
    // A rectangle whose bottom lies at 47.47 pixels (a window of 3200 units
    // on 100 pixels: a unit is a 32nd of a pixel), drawn by POLYGON without
    // a brush: its outline runs along row 47, the nearest, and a pen three
    // pixels wide is centred on that row, on a bitmap and through a painter.
    struct Row {
        int width;             // logical
        int inkedFrom, inkedTo; // rows inked under the bottom edge
    };
    const Row rows[] = {{0, 47, 47}, {96, 46, 48}};
    for (const Row& row : rows)
        for (const bool painter : {false, true}) {
            Builder b;
            b.windowExt(3200, 3200).pen(PS_SOLID, row.width, 0).select(0).brush(BS_NULL, 0).select(1);
            b.rec(0x0324, {4, 320, 320, 2880, 320, 2880, 1519, 320, 1519});
            const QImage img = playOn(b.bits(), painter);
            for (int y = row.inkedFrom - 1; y <= row.inkedTo + 1; ++y)
                EXPECT_EQ(qGray(px(img, 50, y)) < 128, y >= row.inkedFrom && y <= row.inkedTo)
                    << "width " << row.width << " row " << y << " painter " << painter;
        }
}

TEST(Wmf, TextIsDrawnWithTheSelectedFont)
{
    Builder b;
    b.windowExt(100, 100);
    std::string font; // height, width, escapement, orientation, weight, 8 bytes, face
    for (int v : {-30, 0, 0, 0, 700})
        Builder::put16(font, uint16_t(v));
    font += std::string(8, '\0');
    font += "DejaVu Sans";
    font.push_back('\0');
    b.raw(0x02FB, font).select(0);
    b.rec(0x0209, {0x00FF, 0}); // text colour red
    b.rec(0x0102, {1});         // transparent
    std::string text;
    Builder::put16(text, 4);
    text += "MMMM";
    Builder::put16(text, 10); // y
    Builder::put16(text, 10); // x
    b.raw(0x0521, text);
    const QImage img = play(b.bits());
    EXPECT_GT(testsupport::countPixels(img, 0xFF0000), 50);
    // Nothing is drawn above the text's top or to its left.
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (px(img, x, y) == kRed) {
                EXPECT_GE(y, 9);
                EXPECT_GE(x, 9);
            }

    // ExtTextOut clipped to a small rectangle.
    Builder c;
    c.windowExt(100, 100).raw(0x02FB, font).select(0).rec(0x0209, {0x00FF, 0});
    std::string ext;
    Builder::put16(ext, 10); // y
    Builder::put16(ext, 10); // x
    Builder::put16(ext, 4);
    Builder::put16(ext, 0x0004); // ETO_CLIPPED
    for (int v : {10, 10, 20, 20})
        Builder::put16(ext, uint16_t(v));
    ext += "MMMM";
    c.raw(0x0A32, ext);
    const QImage clipped = play(c.bits());
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (px(clipped, x, y) == kRed) {
                EXPECT_LT(x, 20);
                EXPECT_LT(y, 20);
            }
}

TEST(Wmf, DibBlitsDrawTheBitmap)
{
    QImage pic(2, 1, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 0));
    pic.setPixel(1, 0, qRgb(0, 0, 255));
    const std::string dibBytes = dib::ImageToPacked24(pic);
    Builder b;
    b.windowExt(100, 100).stretchDib(dibBytes, {0, 0, 2, 1}, {0, 50, 100, 50});
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 25, 75), kRed);
    EXPECT_EQ(px(img, 75, 75), kBlue);
    EXPECT_EQ(px(img, 50, 25), kWhite);

    // META_DIBSTRETCHBLT without a bitmap fills with the brush (PATCOPY).
    std::string fill;
    auto f = [&](int v) { Builder::put16(fill, uint16_t(v)); };
    f(0x0021); f(0x00F0); f(0); f(0); f(0); f(0); f(0); f(10); f(10); f(0); f(0);
    Builder p;
    p.windowExt(100, 100).brush(0, 0xFF0000).select(0).raw(0x0B41, fill);
    const QImage filled = play(p.bits());
    EXPECT_EQ(px(filled, 5, 5), kBlue);
    EXPECT_EQ(px(filled, 15, 15), kWhite);
}

TEST(Wmf, SaveRestoreObjectSlotsAndClipping)
{
    Builder b;
    b.windowExt(100, 100);
    b.pen(5, 0, 0).select(0);
    b.brush(0, 0x0000FF).select(1); // slot 1 red
    b.saveDC();
    b.brush(0, 0xFF0000).select(2); // slot 2 blue
    b.rec(0x0416, {50, 50, 0, 0});   // clip to the top-left quarter
    b.rectangle(0, 0, 100, 100);
    b.restoreDC(-1);                 // red brush, no clip
    b.rectangle(60, 60, 100, 100);
    b.remove(2);
    b.brush(0, 0x00FF00).select(2); // the freed slot is reused
    b.rectangle(0, 60, 40, 100);
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 25, 25), kBlue);
    EXPECT_EQ(px(img, 75, 25), kWhite);
    EXPECT_EQ(px(img, 80, 80), kRed);
    EXPECT_EQ(px(img, 20, 80), 0xFF00FF00u);
    // The caller's device context is left as it was.
    QImage target = testsupport::whiteImage(10, 10);
    CDC dc(&target);
    const CBrush before = dc.GetBrush();
    wmf::Play(dc, b.bits(), POINT{0, 0}, SIZE{10, 10});
    EXPECT_EQ(dc.GetBrush(), before);
    EXPECT_FALSE(dc.GetClipRect().has_value());
}

TEST(Wmf, DamagedMetafilesDrawWhatWasValid)
{
    Builder b;
    b.windowExt(100, 100).pen(5, 0, 0).select(0).brush(0, 0x0000FF).select(1);
    b.rectangle(0, 0, 50, 50);
    b.rec(0x7777, {1, 2, 3});          // unknown: skipped
    b.rec(0x0418, {1});                // too short: skipped
    b.rec(0x012D, {9999});             // no such object
    b.rectangle(50, 50, 100, 100);
    std::string bits = b.bits();
    int n = 0;
    QImage img = play(bits, &n);
    EXPECT_EQ(n, b.count());
    EXPECT_EQ(px(img, 75, 75), kRed);

    // A record that claims more words than remain ends the playing there.
    Builder cut;
    cut.windowExt(100, 100).pen(5, 0, 0).select(0).brush(0, 0x0000FF).select(1).rectangle(0, 0, 50, 50);
    std::string damaged = cut.bits(8, false);
    Builder::put32(damaged, 1000);
    Builder::put16(damaged, 0x041B);
    damaged += std::string(8, '\x10');
    img = play(damaged, &n);
    EXPECT_EQ(n, cut.count());
    EXPECT_EQ(px(img, 25, 25), kRed);

    // No standard header: nothing.
    CDC dc(&img);
    EXPECT_EQ(wmf::Play(dc, "garbage", POINT{}, SIZE{10, 10}), 0);
    EXPECT_FALSE(wmf::HasStandardHeader(std::string(17, '\0')));
}

TEST(Wmf, PlaceableFilesSplitAndGiveSizes)
{
    const std::string bits = Builder().windowExt(10, 10).bits();
    const std::string file = wmf::MakePlaceableFile(bits, 25400, 12700);
    wmf::WmfFile parts;
    ASSERT_TRUE(wmf::SplitFile(file, parts));
    EXPECT_TRUE(parts.placeable);
    EXPECT_EQ(parts.bits, bits);
    int32_t w = 0, h = 0;
    wmf::PlaceableSizeUm(parts.header, w, h);
    EXPECT_EQ(w, 25400);
    EXPECT_EQ(h, 12700);

    wmf::PlaceableHeader header;
    header.right = 1440;
    header.bottom = -720;
    header.unitsPerInch = 1440;
    wmf::PlaceableSizeUm(header, w, h);
    EXPECT_EQ(w, 25400);
    EXPECT_EQ(h, 12700); // negative extents give positive sizes
    header.unitsPerInch = 0;
    wmf::PlaceableSizeUm(header, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);

    ASSERT_TRUE(wmf::SplitFile(bits, parts));
    EXPECT_FALSE(parts.placeable);
    EXPECT_EQ(parts.bits, bits);
    EXPECT_FALSE(wmf::SplitFile(file.substr(0, 10), parts));

    // Large pictures still fit the 16-bit header.
    wmf::SplitFile(wmf::MakePlaceableFile(bits, 2000000, 1000000), parts);
    wmf::PlaceableSizeUm(parts.header, w, h);
    EXPECT_NEAR(w, 2000000, 2000);
    EXPECT_NEAR(h, 1000000, 2000);
}

TEST(Wmf, HostileRecordCountsStayCheapAndDefined)
{
    // A table of 65535 object slots filled and overfilled (the time it
    // takes is BM_PlayFullObjectTable's).
    Builder objects;
    for (int i = 0; i < 70000; ++i)
        objects.rec(0x00F7, {}); // a palette
    objects.brush(0, 0x0000FF).select(65534);
    const std::string bits = objects.bits(65535);
    int n = 0;
    play(bits, &n);
    EXPECT_EQ(n, objects.count());

    // Window origin offsets add up past 32 bits.
    Builder offsets;
    for (int i = 0; i < 70000; ++i)
        offsets.rec(0x020F, {32767, 32767});
    offsets.rectangle(0, 0, 100, 100);
    const QImage img = play(offsets.bits(), &n);
    EXPECT_EQ(n, offsets.count());
    EXPECT_EQ(px(img, 50, 50), kWhite);
}
