// The metafile player record by record group: poly-polygons and fill modes,
// pen caps and joins, brushes, regions and clipping, mapping modes and
// viewports, saved states, text, raster operations and bitmaps, palettes.
// One logical unit is one pixel unless a test says otherwise.
#include "platform/dc.h"
#include "platform/wmf.h"
#include "support/wmf_builder.h"
#include "support/test_support.h"

#include <QPainter>
#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include <gtest/gtest.h>

using wmftest::Builder;

using testsupport::px;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlack = 0xFF000000;
constexpr uint32_t kRedRef = 0x0000FF; // COLORREF
constexpr uint32_t kBlueRef = 0xFF0000;
constexpr uint32_t kGreenRef = 0x00FF00;

QImage play(const std::string& bits)
{
    QImage img = testsupport::whiteImage(100, 100);
    CDC dc(&img);
    wmf::Play(dc, bits, POINT{0, 0}, SIZE{100, 100}, SIZE{100, 100});
    return img;
}

// Object 0: null pen, object 1: a solid brush of that colour, both selected.
Builder& solidFill(Builder& b, uint32_t color)
{
    return b.pen(PS_NULL, 0, 0).select(0).brush(BS_SOLID, color).select(1);
}

Builder& polyPolygon(Builder& b, std::initializer_list<std::initializer_list<int>> polygons)
{
    std::vector<int> words{int(polygons.size())};
    for (const auto& poly : polygons)
        words.push_back(int(poly.size() / 2));
    for (const auto& poly : polygons)
        words.insert(words.end(), poly.begin(), poly.end());
    std::string params;
    for (int w : words)
        Builder::put16(params, uint16_t(w));
    return b.raw(0x0538, params);
}

// A 24-bit bottom-up DIB of one row.
std::string dibRow(std::initializer_list<QRgb> pixels)
{
    std::string d;
    Builder::put32(d, 40);
    Builder::put32(d, uint32_t(pixels.size()));
    Builder::put32(d, 1);
    Builder::put16(d, 1);
    Builder::put16(d, 24);
    Builder::put32(d, 0);
    const size_t stride = (pixels.size() * 3 + 3) & ~size_t(3);
    Builder::put32(d, uint32_t(stride));
    for (int i = 0; i < 4; ++i)
        Builder::put32(d, 0);
    std::string row;
    for (QRgb c : pixels) {
        row.push_back(char(qBlue(c)));
        row.push_back(char(qGreen(c)));
        row.push_back(char(qRed(c)));
    }
    row.resize(stride, '\0');
    return d + row;
}

} // namespace

TEST(WmfRecords, PolyPolygonHoleFollowsTheFillMode)
{
    // Two squares drawn the same way round: a hole with ALTERNATE, filled
    // with WINDING.
    for (int mode : {ALTERNATE, WINDING}) {
        Builder b;
        solidFill(b, kRedRef).rec(0x0106, {mode});
        polyPolygon(b, {{10, 10, 90, 10, 90, 90, 10, 90}, {30, 30, 70, 30, 70, 70, 30, 70}});
        const QImage img = play(b.bits());
        EXPECT_EQ(px(img, 20, 20), kRed) << mode;
        EXPECT_EQ(px(img, 50, 50), mode == ALTERNATE ? kWhite : kRed) << mode;
        EXPECT_EQ(px(img, 95, 95), kWhite) << mode;
    }
    // Counts beyond the record's points draw only the points there are.
    Builder cut;
    solidFill(cut, kRedRef).rec(0x0538, {2, 4, 400, 10, 10, 90, 10, 90, 90, 10, 90, 5, 5});
    EXPECT_EQ(px(play(cut.bits()), 50, 50), kRed);
}

TEST(WmfRecords, PenEndCapsAndJoins)
{
    // A line 20 units wide from x 30 to 70 at y 50, with each end cap.
    auto line = [](int style) {
        Builder b;
        b.pen(style, 20, 0).select(0).moveTo(30, 50).lineTo(70, 50);
        return play(b.bits());
    };
    const QImage round = line(PS_SOLID | PS_ENDCAP_ROUND);
    const QImage square = line(PS_SOLID | PS_ENDCAP_SQUARE);
    const QImage flat = line(PS_SOLID | PS_ENDCAP_FLAT);
    EXPECT_EQ(px(round, 25, 50), kBlack);
    EXPECT_EQ(px(round, 22, 42), kWhite); // outside the round end
    EXPECT_EQ(px(square, 22, 42), kBlack);
    EXPECT_EQ(px(flat, 25, 50), kWhite);
    EXPECT_EQ(px(flat, 32, 50), kBlack);

    // A 10 wide pen bending at (50, 20): the mitre reaches 11 units above.
    auto bend = [](int join) {
        Builder b;
        b.pen(PS_SOLID | join, 10, 0).select(0).rec(0x0325, {3, 20, 80, 50, 20, 80, 80});
        return play(b.bits());
    };
    EXPECT_EQ(px(bend(PS_JOIN_MITER), 50, 11), kBlack);
    EXPECT_EQ(px(bend(PS_JOIN_ROUND), 50, 11), kWhite);
    EXPECT_EQ(px(bend(PS_JOIN_BEVEL), 50, 11), kWhite);
    EXPECT_EQ(px(bend(PS_JOIN_ROUND), 50, 16), kBlack);

}

TEST(WmfRecords, DashStylesOnlyForPensOnePixelWide)
{
    // GDI draws a pen of the metafile's kind solid once it is wider than a
    // device pixel, whatever its style and its logical width.
    struct Row {
        int style, width, windowExt; // the window is mapped onto 100 pixels
        bool dashed;
    };
    const Row rows[] = {
        {PS_DASH, 4, 100, false},       // 4 pixels
        {PS_DOT, 1, 20, false},         // one unit, 5 pixels
        {PS_DASHDOTDOT, 2, 100, false}, // 2 pixels
        {PS_DASH, 1, 100, true},
        {PS_DOT, 0, 20, true},          // width 0: one pixel at any scale
        {PS_DASHDOT, 3, 400, true},     // 3 units, under a pixel
    };
    for (const Row& row : rows) {
        for (const bool painter : {false, true}) {
            Builder b;
            b.windowExt(row.windowExt, row.windowExt).pen(row.style, row.width, 0).select(0);
            b.moveTo(0, row.windowExt / 2).lineTo(row.windowExt, row.windowExt / 2);
            QImage img = testsupport::whiteImage(100, 100);
            if (painter) {
                QPainter p(&img);
                CDC dc(&p, 96, 96, 100, 100);
                wmf::Play(dc, b.bits(), POINT{0, 0}, SIZE{100, 100}, SIZE{100, 100});
            } else {
                CDC dc(&img);
                wmf::Play(dc, b.bits(), POINT{0, 0}, SIZE{100, 100}, SIZE{100, 100});
            }
            int gaps = 0;
            for (int x = 2; x < 98; ++x)
                gaps += px(img, x, 50) == kWhite;
            EXPECT_EQ(gaps > 10, row.dashed) << row.style << " " << row.width << "/" << row.windowExt << " "
                                              << painter << ": " << gaps << " gaps";
        }
    }
}

TEST(WmfRecords, HatchedBrushKeepsItsGapsTransparentOrInTheBackgroundColour)
{
    for (int bkMode : {TRANSPARENT, OPAQUE}) {
        Builder b;
        b.pen(PS_NULL, 0, 0).select(0).rec(0x02FC, {BS_HATCHED, int(kBlueRef & 0xFFFF), int(kBlueRef >> 16), HS_HORIZONTAL});
        b.select(1).rec(0x0102, {bkMode}).rec(0x0201, {int(kGreenRef & 0xFFFF), int(kGreenRef >> 16)});
        b.rectangle(0, 0, 101, 101);
        const QImage img = play(b.bits());
        int lines = 0, gaps = 0;
        for (int y = 0; y < 96; ++y) {
            const QRgb c = px(img, 40, y);
            lines += c == kBlue;
            gaps += c == (bkMode == OPAQUE ? kGreen : kWhite);
        }
        EXPECT_EQ(lines, 12) << bkMode; // one row in eight
        EXPECT_EQ(gaps, 96 - 12) << bkMode;
    }
}

TEST(WmfRecords, PatternBrushesTileFromTheDeviceOrigin)
{
    // A DIB pattern of a red and a blue pixel.
    Builder b;
    std::string params;
    Builder::put16(params, BS_DIBPATTERNPT);
    Builder::put16(params, 0); // colours in the table
    b.pen(PS_NULL, 0, 0).select(0).raw(0x0142, params + dibRow({kRed, kBlue})).select(1);
    b.rectangle(0, 0, 101, 101);
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 10, 10), kRed);
    EXPECT_EQ(px(img, 11, 10), kBlue);
    EXPECT_EQ(px(img, 12, 47), kRed);
}

TEST(WmfRecords, ClipRegionsAndExcludedRectangles)
{
    Builder ex;
    solidFill(ex, kRedRef).rec(0x0415, {60, 60, 40, 40}); // EXCLUDECLIPRECT 40..60
    ex.rectangle(0, 0, 101, 101);
    const QImage a = play(ex.bits());
    EXPECT_EQ(px(a, 50, 50), kWhite);
    EXPECT_EQ(px(a, 39, 50), kRed);
    EXPECT_EQ(px(a, 60, 60), kRed);

    // A region of two squares selected as the clip, then OFFSETCLIPRGN.
    auto regionClip = [](bool offset) {
        Builder b;
        solidFill(b, kRedRef);
        b.rec(0x06FF, {0, 6, 0, 0, 0, 2, 4, 10, 10, 90, 90, 2, 10, 30, 10, 30, 2, 2, 70, 90, 70, 90, 2});
        b.rec(0x012C, {2}); // SELECTCLIPREGION of object 2
        if (offset)
            b.rec(0x0220, {0, 5}); // 5 units to the right
        b.rectangle(0, 0, 101, 101);
        return play(b.bits());
    };
    const QImage r = regionClip(false);
    EXPECT_EQ(px(r, 20, 20), kRed);
    EXPECT_EQ(px(r, 80, 80), kRed);
    EXPECT_EQ(px(r, 50, 50), kWhite);
    EXPECT_EQ(px(r, 80, 20), kWhite);
    const QImage o = regionClip(true);
    EXPECT_EQ(px(o, 12, 20), kWhite);
    EXPECT_EQ(px(o, 33, 20), kRed);

    // FILLREGION and FRAMEREGION with a brush object.
    Builder f;
    f.pen(PS_NULL, 0, 0).select(0).brush(BS_SOLID, kBlueRef);
    f.rec(0x06FF, {0, 6, 0, 0, 0, 1, 4, 20, 20, 80, 80, 2, 20, 80, 20, 80, 2});
    f.rec(0x0429, {2, 1, 4, 4}); // FRAMEREGION 4 wide
    const QImage fr = play(f.bits());
    EXPECT_EQ(px(fr, 21, 50), kBlue);
    EXPECT_EQ(px(fr, 50, 78), kBlue);
    EXPECT_EQ(px(fr, 50, 50), kWhite);
}

TEST(WmfRecords, MappingModesAndViewportRecords)
{
    // Half the viewport extent: the picture draws at half size.
    Builder half;
    solidFill(half, kRedRef).rec(0x0103, {MM_ANISOTROPIC}).rec(0x020E, {50, 50}); // SETVIEWPORTEXT
    half.rectangle(0, 0, 100, 100);
    const QImage h = play(half.bits());
    EXPECT_EQ(px(h, 40, 40), kRed);
    EXPECT_EQ(px(h, 60, 60), kWhite);

    // MM_ISOTROPIC takes the smaller of the two scales for both directions:
    // a viewport of 100 x 50 for the window of 100 x 100 draws at half size
    // either way, whichever direction is the smaller.
    for (const bool wide : {true, false}) {
        Builder iso;
        solidFill(iso, kRedRef).rec(0x0103, {MM_ISOTROPIC});
        if (wide)
            iso.rec(0x020E, {50, 100}); // SETVIEWPORTEXT: y, x
        else
            iso.rec(0x020E, {100, 50});
        iso.rectangle(0, 0, 100, 100);
        const QImage i = play(iso.bits());
        EXPECT_EQ(px(i, 40, 40), kRed) << wide;
        EXPECT_EQ(px(i, 60, 20), kWhite) << wide;
        EXPECT_EQ(px(i, 20, 60), kWhite) << wide;
    }

    // Moved by OFFSETVIEWPORTORG and doubled back by SCALEVIEWPORTEXT.
    Builder moved;
    solidFill(moved, kRedRef).rec(0x020E, {50, 50}).rec(0x0211, {0, 50}).rec(0x0412, {1, 2, 1, 1});
    moved.rectangle(0, 0, 100, 100);
    const QImage m = play(moved.bits());
    EXPECT_EQ(px(m, 40, 20), kWhite);
    EXPECT_EQ(px(m, 60, 20), kRed);
    EXPECT_EQ(px(m, 60, 80), kRed);

    // MM_TEXT: one unit is one device pixel, whatever the window says.
    Builder text;
    solidFill(text, kRedRef).windowExt(1000, 1000).rec(0x0103, {MM_TEXT});
    text.rectangle(10, 10, 20, 20);
    const QImage t = play(text.bits());
    EXPECT_EQ(px(t, 15, 15), kRed);
    EXPECT_EQ(px(t, 25, 25), kWhite);

    // SCALEWINDOWEXT and OFFSETWINDOWORG.
    Builder win;
    solidFill(win, kRedRef).rec(0x0410, {2, 1, 2, 1}).rec(0x020F, {0, 10}); // window 50 x 50 from x 10
    win.rectangle(10, 0, 20, 10);
    const QImage w = play(win.bits());
    EXPECT_EQ(px(w, 10, 10), kRed);
    EXPECT_EQ(px(w, 25, 25), kWhite);
}

TEST(WmfRecords, RestoreDcGoesBackByRelativeAndAbsoluteLevels)
{
    auto run = [](int level) {
        Builder b;
        b.pen(PS_NULL, 0, 0).select(0);
        b.brush(BS_SOLID, kRedRef).brush(BS_SOLID, kBlueRef).brush(BS_SOLID, kGreenRef);
        b.select(1).saveDC().select(2).saveDC().select(3);
        b.rec(0x0415, {100, 100, 0, 0}); // everything excluded
        b.restoreDC(level).rectangle(0, 0, 101, 101);
        return px(play(b.bits()), 50, 50);
    };
    EXPECT_EQ(run(-1), kBlue);
    EXPECT_EQ(run(-2), kRed);
    EXPECT_EQ(run(1), kRed);
    EXPECT_EQ(run(2), kBlue);
    EXPECT_EQ(run(-3), kWhite); // beyond the saves: nothing restored, all clipped
}

TEST(WmfRecords, ExtTextOutOpaqueBoxAndSpacing)
{
    // An opaque box in the background colour, drawn even for a blank.
    Builder box;
    box.rec(0x0201, {int(kGreenRef & 0xFFFF), int(kGreenRef >> 16)});
    box.rec(0x0A32, {10, 10, 1, int(ETO_OPAQUE), 10, 10, 90, 40, ' '});
    const QImage b = play(box.bits());
    EXPECT_EQ(px(b, 12, 12), kGreen);
    EXPECT_EQ(px(b, 88, 38), kGreen);
    EXPECT_EQ(px(b, 50, 45), kWhite);

    // Bars of 'I' from x 20, set apart by the spacing array, which follows
    // the string padded to whole words: ink where the array puts a bar,
    // none where the font's own advance or a misread array would.
    struct SpacingRow {
        const char* text;
        std::vector<int> spacing;
        int inkFrom, inkTo;     // a bar here
        int blankFrom, blankTo; // no bar here
    };
    const SpacingRow rows[] = {
        {"II", {}, 20, 45, 58, 75},             // the font's advance: the bars close together
        {"II", {50, 10}, 58, 75, 30, 55},       // the second bar 50 units on
        {"III", {25, 25, 10}, 43, 58, 85, 100}, // odd length: the array after the pad byte
    };
    auto inkIn = [](const QImage& img, int x0, int x1) {
        int n = 0;
        for (int y = 20; y < 60; ++y)
            for (int x = x0; x < x1; ++x)
                n += qGray(px(img, x, y)) < 128;
        return n;
    };
    for (const SpacingRow& row : rows) {
        SCOPED_TRACE(row.text + std::string(row.spacing.empty() ? "" : " spaced"));
        const std::string text = row.text;
        std::string params;
        for (int w : {10, 20, int(text.size()), 0})
            Builder::put16(params, uint16_t(w));
        params += text;
        if (params.size() % 2)
            params.push_back('\0');
        for (int dx : row.spacing)
            Builder::put16(params, uint16_t(dx));
        Builder t;
        t.rec(0x02FB, {-40, 0, 0, 0, 700, 0, 0, 0, 0, 'A' | ('r' << 8), 'i' | ('a' << 8), 'l'}).select(0);
        t.rec(0x0102, {TRANSPARENT});
        t.raw(0x0A32, params);
        const QImage img = play(t.bits());
        EXPECT_GT(inkIn(img, row.inkFrom, row.inkTo), 20);
        EXPECT_EQ(inkIn(img, row.blankFrom, row.blankTo), 0);
    }
}

TEST(WmfRecords, Rop2XorTwiceRestores)
{
    Builder b;
    solidFill(b, kRedRef).rectangle(0, 0, 101, 101);
    b.brush(BS_SOLID, 0x00FFFF).select(2).rec(0x0104, {R2_XORPEN}); // yellow
    b.rectangle(20, 20, 60, 60);
    const QImage once = play(b.bits());
    EXPECT_EQ(px(once, 30, 30), kGreen); // yellow ^ red
    EXPECT_EQ(px(once, 70, 70), kRed);
    b.rectangle(20, 20, 60, 60);
    EXPECT_EQ(px(play(b.bits()), 30, 30), kRed);
}

TEST(WmfRecords, BlitRasterOperations)
{
    // A black and a white pixel stretched over a red picture.
    auto blit = [](uint32_t rop) {
        Builder b;
        solidFill(b, kRedRef).rectangle(0, 0, 101, 101);
        b.dibStretchBlt(dibRow({kBlack, kWhite}), {0, 0, 2, 1}, {0, 0, 100, 100}, rop);
        return play(b.bits());
    };
    const QImage andImg = blit(SRCAND), orImg = blit(SRCPAINT), copy = blit(SRCCOPY), xorImg = blit(SRCINVERT);
    EXPECT_EQ(px(andImg, 25, 50), kBlack);
    EXPECT_EQ(px(andImg, 75, 50), kRed);
    EXPECT_EQ(px(orImg, 25, 50), kRed);
    EXPECT_EQ(px(orImg, 75, 50), kWhite);
    EXPECT_EQ(px(copy, 25, 50), kBlack);
    EXPECT_EQ(px(copy, 75, 50), kWhite);
    EXPECT_EQ(px(xorImg, 75, 50), 0xFF00FFFFu);

    // PATBLT: the brush, blackness, inversion.
    auto pat = [](uint32_t rop) {
        Builder b;
        solidFill(b, kRedRef).rectangle(0, 0, 101, 101);
        b.brush(BS_SOLID, kBlueRef).select(2);
        std::string params;
        Builder::put32(params, rop);
        for (int w : {50, 50, 0, 0})
            Builder::put16(params, uint16_t(w));
        b.raw(0x061D, params);
        return play(b.bits());
    };
    EXPECT_EQ(px(pat(PATCOPY), 25, 25), kBlue);
    EXPECT_EQ(px(pat(PATCOPY), 75, 75), kRed);
    EXPECT_EQ(px(pat(BLACKNESS), 25, 25), kBlack);
    EXPECT_EQ(px(pat(DSTINVERT), 25, 25), 0xFF00FFFFu);
}

TEST(WmfRecords, PiesChordsAndPixels)
{
    // The upper right quarter of the circle in the whole picture.
    auto figure = [](uint16_t fn) {
        Builder b;
        solidFill(b, kRedRef).rec(fn, {0, 50, 50, 100, 100, 100, 0, 0});
        return play(b.bits());
    };
    const QImage pie = figure(0x081A), chord = figure(0x0830);
    EXPECT_EQ(px(pie, 75, 25), kRed);
    EXPECT_EQ(px(pie, 60, 40), kRed);
    EXPECT_EQ(px(pie, 25, 75), kWhite);
    EXPECT_EQ(px(chord, 80, 20), kRed);
    EXPECT_EQ(px(chord, 60, 40), kWhite);

    Builder b;
    b.rec(0x041F, {int(kBlueRef & 0xFFFF), int(kBlueRef >> 16), 7, 5}); // SETPIXEL (5, 7)
    EXPECT_EQ(px(play(b.bits()), 5, 7), kBlue);
}

TEST(WmfRecords, PaletteIndicesGiveColours)
{
    Builder b;
    b.rec(0x00F7, {0x300, 2, 0x00FF, 0, 0, 0x00FF}); // red, blue
    b.rec(0x0234, {0}).rec(0x0035, {});               // select, realize
    b.pen(PS_NULL, 0, 0).select(1).brush(BS_SOLID, 0x01000001).select(2);
    b.rectangle(0, 0, 101, 101);
    EXPECT_EQ(px(play(b.bits()), 50, 50), kBlue);
}

TEST(WmfRecords, OldDeviceBitmapsWiderThanATileAreBlitted)
{
    // STRETCHBLT of an 8192 x 1 monochrome device bitmap (wider than any
    // pattern tile), black on its left half, over a red picture.
    std::string params;
    Builder::put32(params, SRCCOPY);
    for (int w : {1, 8192, 0, 0, 100, 100, 0, 0})
        Builder::put16(params, uint16_t(w));
    for (int w : {0, 8192, 1, 1024})
        Builder::put16(params, uint16_t(w));
    params += std::string("\x01\x01", 2); // planes, bits per pixel
    params += std::string(512, '\0') + std::string(512, '\xFF');
    Builder b;
    solidFill(b, kRedRef).rectangle(0, 0, 101, 101);
    const QImage img = play(b.raw(0x0B23, params).bits());
    EXPECT_EQ(px(img, 25, 50), kBlack);
    EXPECT_EQ(px(img, 75, 50), kWhite);
}

TEST(WmfRecords, PaletteIndexBitmapsKeepTheirRowOrder)
{
    // A top-down 1 x 2 bitmap whose colour table holds palette indices:
    // red above blue. STRETCHDIB of its top row draws red.
    std::string dib;
    for (uint32_t v : {40u, 1u, uint32_t(-2)})
        Builder::put32(dib, v);
    Builder::put16(dib, 1);
    Builder::put16(dib, 8);
    for (uint32_t v : {0u, 0u, 0u, 0u, 2u, 0u})
        Builder::put32(dib, v);
    Builder::put16(dib, 0); // palette entry 0, red
    Builder::put16(dib, 1); // palette entry 1, blue
    dib += std::string("\0\0\0\0\x01\0\0\0", 8);
    std::string params;
    Builder::put32(params, SRCCOPY);
    for (int w : {1 /* DIB_PAL_COLORS */, 1, 1, 0, 0, 100, 100, 0, 0})
        Builder::put16(params, uint16_t(w));
    Builder b;
    b.rec(0x00F7, {0x300, 2, 0x00FF, 0, 0, 0x00FF}).rec(0x0234, {0}).rec(0x0035, {});
    b.raw(0x0F43, params + dib);
    EXPECT_EQ(px(play(b.bits()), 50, 50), kRed);
}

TEST(WmfRecords, EscapesAndUnknownRecordsAreSkippedBySize)
{
    Builder b;
    b.raw(0x0626, std::string(600, 'x')).raw(0x7777, std::string(40, '\x01'));
    solidFill(b, kRedRef).rectangle(0, 0, 101, 101);
    EXPECT_EQ(px(play(b.bits()), 50, 50), kRed);
}

TEST(DcRegions, PainterTargetsHonourAClipRegionAndHatches)
{
    QImage img = testsupport::whiteImage(40, 40);
    {
        QPainter p(&img);
        CDC dc(&p, 96, 96, 40, 40);
        dc.ExcludeClipRect(RECT{10, 10, 20, 20});
        dc.FillSolidRect(RECT{0, 0, 40, 40}, RGB(255, 0, 0));
        dc.SelectClipRegion(nullptr);
        dc.SelectPen(CPen::Null());
        dc.SelectBrush(CBrush::Hatched(HS_VERTICAL, RGB(0, 0, 255)));
        dc.SetBkMode(TRANSPARENT);
        dc.Rectangle(20, 20, 41, 41);
    }
    EXPECT_EQ(px(img, 15, 15), kWhite);
    EXPECT_EQ(px(img, 5, 5), kRed);
    int blue = 0;
    for (int x = 20; x < 40; ++x)
        blue += px(img, x, 30) == kBlue;
    EXPECT_GT(blue, 0);
    EXPECT_LT(blue, 10);
}

TEST(DcRegions, HatchesRunTheSameWayOnBitmapsAndPainters)
{
    // For each hatch: how many hatch pixels continue down-right ("\") and
    // down-left ("/"), on a bitmap and through a painter.
    auto runs = [](int hatch, bool painter) {
        QImage img = testsupport::whiteImage(32, 32);
        QPainter p;
        std::unique_ptr<CDC> dc;
        if (painter) {
            p.begin(&img);
            dc = std::make_unique<CDC>(&p, 96, 96, 32, 32);
        } else {
            dc = std::make_unique<CDC>(&img);
        }
        dc->SelectPen(CPen::Null());
        dc->SelectBrush(CBrush::Hatched(hatch, RGB(0, 0, 0)));
        dc->SetBkMode(TRANSPARENT);
        dc->Rectangle(0, 0, 33, 33);
        dc.reset();
        if (painter)
            p.end();
        int down = 0, up = 0, across = 0, along = 0;
        for (int y = 1; y < 31; ++y)
            for (int x = 1; x < 31; ++x) {
                if (px(img, x, y) != kBlack)
                    continue;
                down += px(img, x + 1, y + 1) == kBlack;
                up += px(img, x - 1, y + 1) == kBlack;
                across += px(img, x + 1, y) == kBlack;
                along += px(img, x, y + 1) == kBlack;
            }
        return std::array<bool, 4>{down > 20, up > 20, across > 20, along > 20};
    };
    for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch)
        EXPECT_EQ(runs(hatch, false), runs(hatch, true)) << hatch;
    EXPECT_EQ(runs(HS_FDIAGONAL, false), (std::array<bool, 4>{true, false, false, false}));
}

TEST(WmfRecords, FloodFillsAndTextJustification)
{
    // A blue frame, filled inside from its middle up to the border; then a
    // white hole filled as a surface.
    Builder b;
    b.pen(PS_SOLID, 0, kBlueRef).select(0).brush(BS_NULL, 0).select(1).rectangle(20, 20, 80, 80);
    b.brush(BS_SOLID, kRedRef).select(2);
    b.rec(0x0419, {int(kBlueRef & 0xFFFF), int(kBlueRef >> 16), 50, 50});              // FLOODFILL
    b.rec(0x0548, {int(FLOODFILLSURFACE), 0xFFFF, 0x00FF, 5, 5});                       // EXTFLOODFILL white
    const QImage img = play(b.bits());
    EXPECT_EQ(px(img, 50, 50), kRed);
    EXPECT_EQ(px(img, 20, 50), kBlue);
    EXPECT_EQ(px(img, 10, 10), kRed);

    // Justification widens the space between two bars.
    auto bars = [](int extra) {
        Builder t;
        t.rec(0x02FB, {-40, 0, 0, 0, 700, 0, 0, 0, 0, 'A' | ('r' << 8), 'i' | ('a' << 8), 'l'}).select(0);
        t.rec(0x0102, {TRANSPARENT}).rec(0x020A, {1, extra});
        t.rec(0x0521, {3, 'I' | (' ' << 8), 'I', 20, 10});
        QImage img = play(t.bits());
        int right = 0;
        for (int x = 99; x > 0 && !right; --x)
            for (int y = 20; y < 60 && !right; ++y)
                if (qGray(px(img, x, y)) < 128)
                    right = x;
        return right;
    };
    EXPECT_EQ(bars(30) - bars(0), 30);
}

TEST(WmfRecords, ClipRegionsStayBounded)
{
    // Thousands of scattered one-pixel holes: the clip stops growing at its
    // limit (later holes are not cut), and drawing goes on.
    Builder b;
    solidFill(b, kRedRef);
    std::set<std::pair<int, int>> holes;
    for (int i = 0; i < 5000; ++i) {
        const int x = (i * 37) % 97, y = (i * 61 / 97) % 97;
        holes.insert({x, y});
        b.rec(0x0415, {y + 1, x + 1, y, x});
    }
    b.rectangle(0, 0, 101, 101);
    int red = 0;
    const QImage img = play(b.bits());
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            red += px(img, x, y) == kRed;
    EXPECT_GT(red, 10000 - int(holes.size()) + 500);
    EXPECT_LT(red, 10000 - 1000);
}

TEST(WmfRecords, StretchDibPlaysRunLengthBitmapsBottomUp)
{
    // A 4 x 2 RLE8 DIB: the bottom row (stored first) is two red and two
    // blue runs, the top row an absolute run green, green, red, blue.
    std::string dib;
    const std::string rle{'\x02', '\x00', '\x02', '\x01', '\x00', '\x00',         // runs, end of line
                          '\x00', '\x04', '\x02', '\x02', '\x00', '\x01', // absolute run of 4
                          '\x00', '\x01'};                                // end of bitmap
    for (uint32_t v : {40u, 4u, 2u})
        Builder::put32(dib, v);
    Builder::put16(dib, 1);
    Builder::put16(dib, 8);
    for (uint32_t v : {1u /* BI_RLE8 */, uint32_t(rle.size()), 0u, 0u, 3u, 0u})
        Builder::put32(dib, v);
    for (QRgb c : {kRed, kBlue, kGreen}) {
        dib.push_back(char(qBlue(c)));
        dib.push_back(char(qGreen(c)));
        dib.push_back(char(qRed(c)));
        dib.push_back('\0');
    }
    dib += rle;
    // STRETCHDIB onto the whole picture from a source rectangle whose y
    // counts from the bottom row.
    auto stretch = [&dib](int srcY, int srcHeight) {
        return play(Builder().stretchDib(dib, {0, srcY, 4, srcHeight}, {0, 0, 100, 100}).bits());
    };

    const QImage whole = stretch(0, 2);
    const std::array<QRgb, 4> top{kGreen, kGreen, kRed, kBlue}, bottom{kRed, kRed, kBlue, kBlue};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(px(whole, 12 + 25 * i, 25), top[size_t(i)]) << i;
        EXPECT_EQ(px(whole, 12 + 25 * i, 75), bottom[size_t(i)]) << i;
    }
    const QImage lower = stretch(0, 1), upper = stretch(1, 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(px(lower, 12 + 25 * i, 10), bottom[size_t(i)]) << i;
        EXPECT_EQ(px(upper, 12 + 25 * i, 90), top[size_t(i)]) << i;
    }
}

namespace {

// An RLE8 DIB of width x height pixels in four colours (red, blue, green,
// black): each row left and right half in the colours `colours` gives for
// it, stored from the bottom row.
template <typename Colours>
std::string quadrantDib(int width, int height, Colours colours)
{
    std::string rle;
    for (int y = 0; y < height; ++y) {
        const std::array<int, 2> index = colours(y);
        for (int half = 0; half < 2; ++half)
            for (int left = width / 2; left > 0; left -= 255) {
                rle.push_back(char(std::min(left, 255)));
                rle.push_back(char(index[size_t(half)]));
            }
        rle += std::string{'\0', '\0'};
    }
    rle += std::string{'\0', '\x01'};
    std::string dib;
    for (uint32_t v : {40u, uint32_t(width), uint32_t(height)})
        Builder::put32(dib, v);
    Builder::put16(dib, 1);
    Builder::put16(dib, 8);
    for (uint32_t v : {1u /* BI_RLE8 */, uint32_t(rle.size()), 0u, 0u, 4u, 0u})
        Builder::put32(dib, v);
    for (QRgb c : {kRed, kBlue, kGreen, kBlack}) {
        dib.push_back(char(qBlue(c)));
        dib.push_back(char(qGreen(c)));
        dib.push_back(char(qRed(c)));
        dib.push_back('\0');
    }
    return dib + rle;
}

// The one colour of a part of the picture, 0 when it has more.
QRgb uniform(const QImage& img, QRect part)
{
    std::set<QRgb> colours;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            colours.insert(px(img, x, y));
    return colours.size() == 1 ? *colours.begin() : 0u;
}

} // namespace

TEST(WmfRecords, LargeBitmapsDrawnSmallShowTheirSourcePart)
{
    // A 2048 x 2048 DIB in quadrants: red and blue in its bottom half
    // (stored first), green and black in its top half. Drawn onto 100 x 100
    // pixels it is decoded reduced; every source part must still show.
    constexpr int kSide = 2048, kHalf = kSide / 2;
    std::string dib = quadrantDib(kSide, kSide, [](int y) {
        return y < kHalf ? std::array<int, 2>{0, 1} : std::array<int, 2>{2, 3};
    });
    // STRETCHDIB counts the source y from the bottom row, DIBSTRETCHBLT from
    // the top one.
    auto stretchDibPart = [&dib](int x, int y, int w, int h) {
        return play(Builder().stretchDib(dib, {x, y, w, h}, {0, 0, 100, 100}).bits());
    };
    auto dibStretchBltPart = [&dib](int x, int y, int w, int h) {
        return play(Builder().dibStretchBlt(dib, {x, y, w, h}, {0, 0, 100, 100}).bits());
    };
    const QRect inner(2, 2, 96, 96);
    const QImage whole = stretchDibPart(0, 0, kSide, kSide);
    EXPECT_EQ(uniform(whole, QRect(2, 2, 46, 46)), kGreen);
    EXPECT_EQ(uniform(whole, QRect(52, 2, 46, 46)), kBlack);
    EXPECT_EQ(uniform(whole, QRect(2, 52, 46, 46)), kRed);
    EXPECT_EQ(uniform(whole, QRect(52, 52, 46, 46)), kBlue);
    EXPECT_EQ(uniform(stretchDibPart(kHalf, kHalf, kHalf, kHalf), inner), kBlack);
    EXPECT_EQ(uniform(stretchDibPart(0, 0, kHalf, kHalf), inner), kRed);
    EXPECT_EQ(uniform(stretchDibPart(kHalf, 0, kHalf, kHalf), inner), kBlue);
    EXPECT_EQ(uniform(dibStretchBltPart(kHalf, 0, kHalf, kHalf), inner), kBlack);
    EXPECT_EQ(uniform(dibStretchBltPart(0, kHalf, kHalf, kHalf), inner), kRed);
    // A part of one source pixel in each direction still draws its colour.
    EXPECT_EQ(uniform(dibStretchBltPart(kSide - 1, kSide - 1, 1, 1), inner), kBlue);

    // Drawn four times larger than the picture, centred (as a zoomed view
    // shows it), and mirrored in both directions: only what shows is
    // decoded, and it shows in its place.
    auto dibStretchBltTo = [&dib](int x, int y, int w, int h) {
        return play(Builder().dibStretchBlt(dib, {0, 0, kSide, kSide}, {x, y, w, h}).bits());
    };
    const QImage zoomed = dibStretchBltTo(-150, -150, 400, 400);
    EXPECT_EQ(uniform(zoomed, QRect(0, 0, 48, 48)), kGreen);
    EXPECT_EQ(uniform(zoomed, QRect(52, 0, 48, 48)), kBlack);
    EXPECT_EQ(uniform(zoomed, QRect(0, 52, 48, 48)), kRed);
    EXPECT_EQ(uniform(zoomed, QRect(52, 52, 48, 48)), kBlue);
    const QImage mirrored = dibStretchBltTo(250, 250, -400, -400);
    EXPECT_EQ(uniform(mirrored, QRect(0, 0, 48, 48)), kBlue);
    EXPECT_EQ(uniform(mirrored, QRect(52, 0, 48, 48)), kRed);
    EXPECT_EQ(uniform(mirrored, QRect(0, 52, 48, 48)), kBlack);
    EXPECT_EQ(uniform(mirrored, QRect(52, 52, 48, 48)), kGreen);
    // Beside the picture nothing is drawn.
    EXPECT_EQ(uniform(dibStretchBltTo(100, 0, 400, 400), inner), kWhite);

    // Sixty-four pixels wide and the tallest a record's source can say:
    // reduced in height alone, each half keeps its colour and the bottom
    // rows (blue and green) their place.
    constexpr int kTall = 32767;
    dib = quadrantDib(64, kTall, [](int y) {
        return y < 64 ? std::array<int, 2>{1, 2} : std::array<int, 2>{0, 3};
    });
    const QImage tall = stretchDibPart(0, 0, 64, kTall);
    EXPECT_EQ(uniform(tall, QRect(2, 2, 46, 90)), kRed);
    EXPECT_EQ(uniform(tall, QRect(52, 2, 46, 90)), kBlack);
    const QImage bottom = stretchDibPart(0, 0, 64, 64);
    EXPECT_EQ(uniform(bottom, QRect(2, 2, 46, 96)), kBlue);
    EXPECT_EQ(uniform(bottom, QRect(52, 2, 46, 96)), kGreen);
}
