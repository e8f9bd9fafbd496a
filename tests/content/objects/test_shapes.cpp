// Rectangle family, triangles, warning sign and line: records, geometry and
// drawing.
#include "content/objects/line.h"
#include "content/objects/shapes.h"
#include "platform/units.h"
#include "support/test_support.h"
#include "test_collection_bytes.h"

#include <gtest/gtest.h>

#include <limits>

using recbytes::Bytes;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr unsigned kWhite = 0xFFFFFF;

std::string saved(const CGraphObject& o)
{
    RecordWriter w;
    o.Save(w);
    return w.take();
}

// Draws one object at zoom 100 and 96 dpi on a white image.
QImage drawn(CGraphObject& o, int size = 100)
{
    QImage img = testsupport::whiteImage(size, size);
    CDC dc(&img);
    DrawArgs args;
    args.dc = &dc;
    EXPECT_TRUE(o.Draw(args));
    return img;
}

unsigned px(const QImage& img, int x, int y)
{
    return img.pixel(x, y) & 0xFFFFFF;
}

constexpr unsigned qrgb(COLORREF c)
{
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

template <class T>
void setBox(T& o, int x, int y, int w, int h)
{
    o.SetX(x);
    o.SetY(y);
    o.SetWidth(w);
    o.SetHeight(h);
}

} // namespace

TEST(ShapeRecords, EveryShapeKeyIsByteExactBothWays)
{
    CGraphRect rect;
    setBox(rect, 1000, -2000, 30000, 40000);
    rect.SetPenWidth(750);
    rect.SetBorderColor(RGB(1, 2, 3));
    EXPECT_TRUE(rect.GetTransparent());
    rect.SetFillColor(RGB(4, 5, 6)); // switches the fill on
    const Bytes rectBytes = recbytes::rectFields(1000, -2000, 30000, 40000, 750, 0x030201, 0x060504, 0);
    ASSERT_EQ(rectBytes.s.size(), 29u);
    EXPECT_EQ(saved(rect), rectBytes.s);
    EXPECT_EQ(rect.GetTypeKey(), 151);

    CGraphEllipse ellipse;
    setBox(ellipse, 5, 6, 7, 8);
    ellipse.SetBorderColor(0xABCDEF);
    EXPECT_EQ(saved(ellipse), recbytes::rectFields(5, 6, 7, 8, 1000, 0xABCDEF, 0, 1).s);
    EXPECT_EQ(ellipse.GetTypeKey(), 131);

    CGraphRectRounded rounded;
    setBox(rounded, 1, 2, 3, 4);
    rounded.SetCornerRadius(-7);
    const Bytes roundedBytes = recbytes::rectFields(1, 2, 3, 4, 1000, 0, 0, 1).i32(-7);
    ASSERT_EQ(roundedBytes.s.size(), 33u);
    EXPECT_EQ(saved(rounded), roundedBytes.s);
    EXPECT_EQ(rounded.GetTypeKey(), 132);

    CGraphTriangle triangle;
    setBox(triangle, 1, 2, 3, 4);
    triangle.SetRotation(1800);
    const Bytes triangleBytes = recbytes::rectFields(1, 2, 3, 4, 1000, 0, 0, 1).i16(1800);
    ASSERT_EQ(triangleBytes.s.size(), 31u);
    EXPECT_EQ(saved(triangle), triangleBytes.s);
    EXPECT_EQ(triangle.GetTypeKey(), 155);

    CGraphTriangleExt sign; // defaults: yellow, filled, radius 2500, warning sign
    setBox(sign, 1, 2, 3, 4);
    sign.SetRotation(2700);
    const Bytes signBytes = recbytes::rectFields(1, 2, 3, 4, 1000, 0, RGB(255, 255, 0), 0).i16(2700).i32(2500).u8(1);
    ASSERT_EQ(signBytes.s.size(), 36u);
    EXPECT_EQ(saved(sign), signBytes.s);
    EXPECT_EQ(sign.GetTypeKey(), 156);

    CGraphLine line;
    line.SetEnds(-1, 2, 300000, -4);
    line.SetPenWidth(200);
    line.SetBorderColor(RGB(9, 8, 7));
    const Bytes lineBytes = recbytes::lineFields(-1, 2, 300000, -4, 200, 0x070809);
    ASSERT_EQ(lineBytes.s.size(), 24u);
    EXPECT_EQ(saved(line), lineBytes.s);
    EXPECT_EQ(line.GetTypeKey(), 153);

    // Reading the same bytes back gives the same fields, unselected; any
    // non-zero transparency byte counts as set.
    CGraphTriangleExt back;
    back.SetSelected(true);
    const Bytes other = recbytes::rectFields(11, 12, 13, 14, 15, 0x10, 0x20, 7).i16(900).i32(333).u8(0);
    RecordReader r(other.s);
    ASSERT_TRUE(back.Load(r));
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(back.IsSelected());
    EXPECT_EQ(back.GetX(), 11);
    EXPECT_EQ(back.GetHeight(), 14);
    EXPECT_EQ(back.GetPenWidth(), 15);
    EXPECT_EQ(back.GetBorderColor(), 0x10u);
    EXPECT_EQ(back.GetFillColor(), 0x20u);
    EXPECT_TRUE(back.GetTransparent());
    EXPECT_EQ(back.GetRotation(), 900);
    EXPECT_EQ(back.GetCornerRadius(), 333);
    EXPECT_FALSE(back.GetWarningSign());
    EXPECT_EQ(saved(back), recbytes::rectFields(11, 12, 13, 14, 15, 0x10, 0x20, 1).i16(900).i32(333).u8(0).s);

    CGraphLine lineBack;
    RecordReader lr(lineBytes.s);
    ASSERT_TRUE(lineBack.Load(lr));
    EXPECT_EQ(saved(lineBack), lineBytes.s);

    // A record cut short reports it.
    RecordReader cut(std::string_view(signBytes.s).substr(0, 35));
    CGraphTriangleExt partial;
    EXPECT_FALSE(partial.Load(cut));
    EXPECT_EQ(cut.status(), ReadStatus::Truncated);
}

TEST(Shapes, WarningSignProportionsAndResize)
{
    CGraphTriangleExt sign;
    sign.SetWidth(20000);
    sign.SetHeight(5000);
    EXPECT_TRUE(sign.HasWarningSign());
    sign.SetWarningSign(true);
    EXPECT_EQ(sign.GetPenWidth(), 1314);
    EXPECT_EQ(sign.GetCornerRadius(), 136);
    EXPECT_EQ(sign.GetHeight(), 17400);
    EXPECT_EQ(sign.GetAspectPercent(), 87);
    // A width set in a box, not by the mouse: the sign's pen and corner
    // follow it on screen and stay as shown when the sign is turned off,
    // also after a save and a read (the record keeps its stored fields).
    sign.SetWidth(40000);
    EXPECT_EQ(sign.GetPenWidth(), 2628);
    CGraphTriangleExt back;
    const std::string bytes = saved(sign);
    RecordReader reader(bytes);
    ASSERT_TRUE(back.Load(reader));
    back.SetWarningSign(false);
    EXPECT_EQ(back.GetPenWidth(), 2628);
    EXPECT_EQ(back.GetCornerRadius(), sign.GetCornerRadius());
    sign.SetWarningSign(false);
    EXPECT_EQ(sign.GetPenWidth(), 2628);
    EXPECT_EQ(sign.GetAspectPercent(), 17400 * 100 / 40000);

    // A warning sign always keeps proportions, and an edge handle becomes a
    // corner after the first step.
    QImage img = testsupport::whiteImage(200, 200);
    CDC dc(&img);
    sign.SetWarningSign(true);
    sign.SetX(0);
    sign.SetY(0);
    sign.SetSelected(true);
    const RECT box = sign.CalcDeviceRect(dc, 100, 0, 0); // 76 x 66 pixels
    ObjectTracking tracking;
    sign.BeginResize(tracking, dc, 100, box.right, (box.top + box.bottom) / 2);
    EXPECT_EQ(tracking.resizeMode, CGraph2Dim::kResizeWidth);
    sign.TrackResize(tracking, dc, 150, 10, 0);
    EXPECT_EQ(tracking.resizeMode, CGraph2Dim::kResizeBoth);
    sign.TrackResize(tracking, dc, 150, 10, 0);
    int l, t, r, b;
    tracking.marker->GetRect(l, t, r, b);
    EXPECT_EQ(b - t, 87 * 150 / 100);
    sign.EndResize(tracking, dc);
    EXPECT_EQ(tracking.marker, nullptr);
}

TEST(Shapes, TrianglesTurnTheirApexWithTheBox)
{
    for (int form = 0; form < 2; ++form) {
        std::unique_ptr<CGraphTriangle> t =
            form ? std::make_unique<CGraphTriangleExt>() : std::make_unique<CGraphTriangle>();
        setBox(*t, 1000, 2000, 3001, 500);
        t->Rotate90(0, 0, 2);
        EXPECT_EQ(t->GetRotation(), 0);
        EXPECT_EQ(t->GetWidth(), 3001);
        t->Rotate90(0, 0, -1);
        EXPECT_EQ(t->GetRotation(), 2700);
        EXPECT_EQ(t->GetWidth(), 500);
        t->Rotate90(0, 0, 1);
        t->Rotate90(0, 0, 1);
        EXPECT_EQ(t->GetRotation(), 900);
        const std::unique_ptr<CMarker> outline = t->CreateMarker(0, 0, PS_DOT);
        auto* marker = dynamic_cast<CMarkerTriangle*>(outline.get());
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(marker->Rotation(), 900);
    }
}

TEST(ShapeDrawing, RectangleFillsInsideAndDrawsItsRightAndBottomEdges)
{
    CGraphRect rect;
    setBox(rect, 2500, 2500, 10000, 10000); // pixels 9..47
    rect.SetPenWidth(0);
    rect.SetBorderColor(kBlue);
    rect.SetFillColor(kRed);
    QImage img = drawn(rect, 64);
    EXPECT_EQ(px(img, 20, 20), qrgb(kRed));
    EXPECT_EQ(px(img, 9, 20), qrgb(kBlue));
    EXPECT_EQ(px(img, 47, 20), qrgb(kBlue));
    EXPECT_EQ(px(img, 20, 47), qrgb(kBlue));
    EXPECT_EQ(px(img, 47, 47), qrgb(kBlue));
    EXPECT_EQ(px(img, 8, 20), kWhite);
    EXPECT_EQ(px(img, 48, 20), kWhite);
    EXPECT_EQ(px(img, 20, 48), kWhite);
    EXPECT_EQ(testsupport::countPixels(img, qrgb(kBlue)), 4 * 38);

    // The draw offsets move it; a transparent one leaves the inside alone.
    rect.SetTransparent(true);
    QImage moved = testsupport::whiteImage(64, 64);
    CDC dc(&moved);
    DrawArgs args;
    args.dc = &dc;
    args.offsetX = 3;
    args.offsetY = -2;
    rect.Draw(args);
    EXPECT_EQ(px(moved, 12, 20), qrgb(kBlue));
    EXPECT_EQ(px(moved, 20, 45), qrgb(kBlue));
    EXPECT_EQ(px(moved, 20, 20), kWhite);
    // The device state is left as it was.
    EXPECT_EQ(dc.GetPen(), CPen());
    EXPECT_EQ(dc.GetBrush(), CBrush());
}

TEST(ShapeDrawing, FirstFormTriangleDrawsExactlyLikeARectangle)
{
    CGraphRect rect;
    CGraphTriangle triangle;
    for (CGraphRect* o : {&rect, static_cast<CGraphRect*>(&triangle)}) {
        setBox(*o, 2000, 3000, 12000, 7000);
        o->SetFillColor(kRed);
        o->SetBorderColor(kBlue);
    }
    triangle.SetRotation(900);
    const QImage a = drawn(rect), b = drawn(triangle);
    EXPECT_GT(testsupport::countPixels(a, qrgb(kRed)), 0);
    EXPECT_EQ(testsupport::countDifferentPixels(a, b), 0);
}

TEST(ShapeDrawing, TransparentEllipseKeepsItsFillColourForLater)
{
    CGraphEllipse ellipse;
    setBox(ellipse, 2500, 2500, 10000, 10000);
    ellipse.SetPenWidth(0);
    ellipse.SetBorderColor(kBlue);
    ellipse.SetFillColor(kRed);
    ellipse.SetTransparent(true);
    QImage outline = drawn(ellipse, 64);
    EXPECT_EQ(px(outline, 28, 28), kWhite);
    EXPECT_EQ(testsupport::countPixels(outline, qrgb(kRed)), 0);
    EXPECT_GT(testsupport::countPixels(outline, qrgb(kBlue)), 100);
    EXPECT_EQ(px(outline, 10, 10), kWhite); // box corner lies outside

    ellipse.SetTransparent(false);
    EXPECT_EQ(ellipse.GetFillColor(), kRed);
    QImage filled = drawn(ellipse, 64);
    EXPECT_EQ(px(filled, 28, 28), qrgb(kRed));
    EXPECT_EQ(px(filled, 47, 28), kWhite); // right edge excluded
}

TEST(ShapeDrawing, RoundedRectangleCornerFollowsItsRadius)
{
    CGraphRectRounded rounded;
    setBox(rounded, 2500, 2500, 20000, 20000); // pixels 9..85
    rounded.SetPenWidth(0);
    rounded.SetBorderColor(kBlue);
    rounded.SetFillColor(kRed);
    rounded.SetCornerRadius(2500); // corner diameter 19 pixels
    QImage img = drawn(rounded);
    EXPECT_EQ(px(img, 11, 11), kWhite);   // cut off by the corner
    EXPECT_EQ(px(img, 14, 14), qrgb(kRed));
    EXPECT_EQ(px(img, 9, 47), qrgb(kBlue)); // straight edges
    EXPECT_EQ(px(img, 47, 9), qrgb(kBlue));
    EXPECT_EQ(px(img, 84, 47), qrgb(kBlue));
    EXPECT_EQ(px(img, 85, 47), kWhite);
    EXPECT_EQ(px(img, 47, 47), qrgb(kRed));

    rounded.SetCornerRadius(0);
    QImage square = drawn(rounded);
    EXPECT_EQ(px(square, 11, 11), qrgb(kRed));
    EXPECT_EQ(px(square, 9, 9), qrgb(kBlue));

    // Transparent: the outline only.
    rounded.SetCornerRadius(2500);
    rounded.SetTransparent(true);
    QImage hollow = drawn(rounded);
    EXPECT_EQ(testsupport::countPixels(hollow, qrgb(kRed)), 0);
    EXPECT_EQ(px(hollow, 47, 9), qrgb(kBlue));
}

TEST(ShapeDrawing, TriangleApexFollowsRotation)
{
    struct Case { int16_t rotation; QPoint inside, outside1, outside2; };
    // Box 9..85 x 9..75 pixels.
    const Case cases[] = {
        {0, {47, 65}, {13, 13}, {81, 13}},
        {1800, {47, 19}, {13, 71}, {81, 71}},
        {900, {78, 42}, {13, 13}, {13, 71}},
        {2700, {16, 42}, {81, 13}, {81, 71}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        CGraphTriangleExt t;
        t.SetWarningSign(false);
        setBox(t, 2500, 2500, 20000, 17400);
        t.SetPenWidth(500);
        t.SetCornerRadius(1000);
        t.SetRotation(c.rotation);
        t.SetFillColor(kRed);
        t.SetBorderColor(kBlue);
        QImage img = drawn(t);
        EXPECT_EQ(px(img, c.inside.x(), c.inside.y()), qrgb(kRed));
        EXPECT_EQ(px(img, c.outside1.x(), c.outside1.y()), kWhite);
        EXPECT_EQ(px(img, c.outside2.x(), c.outside2.y()), kWhite);
        EXPECT_GT(testsupport::countPixels(img, qrgb(kBlue)), 150);
        // Nothing outside the box.
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (x < 8 || x > 86 || y < 8 || y > 76) {
                    ASSERT_EQ(px(img, x, y), kWhite) << x << "," << y;
                }
    }
}

TEST(ShapeDrawing, FlatOrDegenerateTrianglesDrawAsRectanglesWithoutFault)
{
    // A warning sign whose box is 0 pixels high draws as a rectangle (with
    // the pen its proportions give it).
    CGraphTriangleExt sign;
    setBox(sign, 2500, 2500, 20000, 0);
    sign.SetBorderColor(kBlue);
    QImage asSign = drawn(sign);
    CGraphRect rect;
    setBox(rect, 2500, 2500, 20000, 0);
    rect.SetPenWidth(sign.GetPenWidth());
    rect.SetBorderColor(kBlue);
    rect.SetFillColor(sign.GetFillColor());
    EXPECT_EQ(sign.GetPenWidth(), 1314);
    QImage asRect = drawn(rect);
    EXPECT_GT(testsupport::countPixels(asRect, qrgb(kBlue)), 0);
    EXPECT_EQ(testsupport::countDifferentPixels(asSign, asRect), 0);

    // A pen wider than the box leaves no triangle after the inset.
    CGraphTriangleExt thick;
    thick.SetWarningSign(false);
    setBox(thick, 2500, 2500, 1000, 1000);
    thick.SetPenWidth(20000);
    thick.SetBorderColor(kBlue);
    QImage thickImg = drawn(thick);
    EXPECT_GT(testsupport::countPixels(thickImg, qrgb(kBlue)), 0);

    // Sweep of small, huge and odd boxes, pens, radii and rotations: the
    // sanitizers watch for overflow and bad float conversions.
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t sizes[] = {0, 1, 200, 300, 700, 1000, 2000, 100000, -3000, big};
    const int32_t pens[] = {0, 500, 3000, -800, big};
    const int32_t radii[] = {0, 2500, -50, big};
    const int16_t rotations[] = {0, 900, 1800, 2700, 450, -900};
    for (int32_t w : sizes)
        for (int32_t h : sizes)
            for (int32_t pen : pens)
                for (int32_t radius : radii)
                    for (int16_t rot : rotations) {
                        CGraphTriangleExt t;
                        t.SetWarningSign(false);
                        setBox(t, w == big ? big : 500, 500, w, h);
                        t.SetPenWidth(pen);
                        t.SetCornerRadius(radius);
                        t.SetRotation(rot);
                        drawn(t, 24);
                    }
    CGraphTriangleExt huge;
    setBox(huge, -big, -big, big, big);
    huge.SetWarningSign(true);
    drawn(huge, 24);
    // A huge pen on a sliver: corner points far outside 32 bits of pixels.
    CGraphTriangleExt sliver;
    sliver.SetWarningSign(false);
    setBox(sliver, 167773696, 0, -1006631960, 808464432);
    sliver.SetPenWidth(808464432);
    sliver.SetCornerRadius(808464432);
    drawn(sliver, 24);
}

TEST(ShapeDrawing, LineExcludesItsEndPixel)
{
    CGraphLine line;
    line.SetEnds(2500, 2500, 12500, 2500); // pixels 9..47 on row 9
    line.SetPenWidth(0);
    line.SetBorderColor(kBlue);
    QImage img = drawn(line, 64);
    EXPECT_EQ(px(img, 9, 9), qrgb(kBlue));
    EXPECT_EQ(px(img, 46, 9), qrgb(kBlue));
    EXPECT_EQ(px(img, 47, 9), kWhite);
    EXPECT_EQ(testsupport::countPixels(img, qrgb(kBlue)), 38);
}

TEST(Line, GeometryFollowsTheBoundingBox)
{
    CGraphLine line;
    line.SetEnds(5000, 1000, 2000, 4000);
    EXPECT_EQ(line.GetX(), 2000);
    EXPECT_EQ(line.GetRight(), 5000);
    EXPECT_EQ(line.GetWidth(), 3000);
    EXPECT_EQ(line.GetCenter(1), 3500);

    line.SetX(0); // moves both ends
    EXPECT_EQ(line.X1(), 3000);
    EXPECT_EQ(line.X2(), 0);
    line.SetWidth(1000); // x2 < x1: the first end moves
    EXPECT_EQ(line.X1(), 1000);
    line.SetHeight(500); // y1 < y2: the second end moves
    EXPECT_EQ(line.Y2(), 1500);
    EXPECT_TRUE(line.SetCenter(1, 10000));
    EXPECT_EQ(line.X1(), 10500);
    EXPECT_EQ(line.X2(), 9500);
    EXPECT_FALSE(line.SetCenter(0, 5));

    // Right, bottom and the checked setters leave a line alone (align right
    // and bottom do not move lines).
    line.SetRight(99999);
    line.SetBottom(99999);
    EXPECT_FALSE(line.SetWidthChecked(7));
    EXPECT_EQ(line.X1(), 10500);
    EXPECT_EQ(line.Y2(), 1500);

    // Quarter turns about a point, both ways, come back.
    line.Rotate90(100, 200, 1);
    EXPECT_EQ(line.X1(), 100 + (1000 - 200));
    EXPECT_EQ(line.Y1(), 200 + (100 - 10500));
    line.Rotate90(100, 200, -1);
    EXPECT_EQ(line.X1(), 10500);
    EXPECT_EQ(line.Y1(), 1000);
}

TEST(Line, HitTestingAndHandles)
{
    QImage img = testsupport::whiteImage(100, 100);
    CDC dc(&img);
    CGraphLine dot;
    dot.SetEnds(5000, 5000, 5000, 5000);
    EXPECT_FALSE(dot.PtInObject(dc, 100, 19, 19));

    CGraphLine vertical;
    vertical.SetEnds(5000, 0, 5000, 10000); // x 19, y 0..38
    EXPECT_TRUE(vertical.PtInObject(dc, 100, 21, 38));
    EXPECT_FALSE(vertical.PtInObject(dc, 100, 22, 10));
    EXPECT_FALSE(vertical.PtInObject(dc, 100, 19, 39));

    CGraphLine diagonal;
    diagonal.SetEnds(10000, 10000, 0, 0); // 38,38 .. 0,0
    EXPECT_TRUE(diagonal.PtInObject(dc, 100, 20, 22));
    EXPECT_FALSE(diagonal.PtInObject(dc, 100, 20, 23));
    EXPECT_FALSE(diagonal.PtInObject(dc, 100, 39, 39));

    EXPECT_EQ(diagonal.HitTestHandle(dc, 100, 41, 35), kHandleLineStart);
    EXPECT_EQ(diagonal.HitTestHandle(dc, 100, -3, 3), kHandleLineEnd);
    EXPECT_EQ(diagonal.HitTestHandle(dc, 100, 20, 20), kHandleNone);
    EXPECT_FALSE(diagonal.IsOnHandle(dc, 100, 38, 38));
    diagonal.SetSelected(true);
    EXPECT_TRUE(diagonal.IsOnHandle(dc, 100, 38, 38));

    EXPECT_TRUE(diagonal.IsInsideRect(dc, 100, RECT{0, 0, 38, 38}));
    EXPECT_FALSE(diagonal.IsInsideRect(dc, 100, RECT{1, 0, 38, 38}));

    // Handles invert, so drawing them twice restores the image.
    const QImage before = img.copy();
    diagonal.DrawHandles(dc, 100);
    EXPECT_EQ(testsupport::countDifferentPixels(before, img), 49 + 16); // second square partly outside
    diagonal.DrawHandles(dc, 100);
    EXPECT_EQ(testsupport::countDifferentPixels(before, img), 0);
}

TEST(Line, ResizingFromTheFirstEndMakesTheAnchorTheFirstEnd)
{
    QImage img = testsupport::whiteImage(200, 200);
    CDC dc(&img);
    const QImage clean = img.copy();
    CGraphLine line;
    line.SetEnds(2540, 2540, 25400, 25400); // pixels 10,10 .. 96,96
    line.SetSelected(true);
    ASSERT_EQ(line.HitTestHandle(dc, 100, 11, 9), kHandleLineStart);
    ObjectTracking t;
    line.BeginResize(t, dc, 100, 11, 9);
    ASSERT_NE(t.marker, nullptr);
    line.TrackResize(t, dc, 150, 40, 0);
    line.EndResize(t, dc);
    EXPECT_EQ(t.marker, nullptr);
    EXPECT_EQ(testsupport::countDifferentPixels(clean, img), 0);
    EXPECT_EQ(line.X1(), 25400);
    EXPECT_EQ(line.Y1(), 25400);
    EXPECT_EQ(line.X2(), units::PxToUm(150, 96));
    EXPECT_EQ(line.Y2(), units::PxToUm(40, 96));

    // Away from both ends nothing starts.
    ObjectTracking away;
    line.BeginResize(away, dc, 100, 60, 120);
    EXPECT_EQ(away.marker, nullptr);

    // Moving offsets both ends by the converted distance.
    ObjectTracking move;
    line.BeginMove(move, dc, 100, 50, 50);
    line.TrackMove(move, dc, 60, 45);
    line.EndMove(move, dc, 60, 45);
    EXPECT_EQ(line.X1(), 25400 + units::PxToUm(10, 96));
    EXPECT_EQ(line.Y1(), 25400 + units::PxToUm(-5, 96));
    EXPECT_EQ(testsupport::countDifferentPixels(clean, img), 0);
}
