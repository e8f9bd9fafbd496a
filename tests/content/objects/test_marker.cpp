// Tracking outlines: XOR drawing, symmetric tracking, sizes and shapes.
#include "content/objects/marker.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using testsupport::countDifferentPixels;
using testsupport::whiteImage;

TEST(Marker, EveryShapeDrawnTwiceLeavesTheScreenAsBefore)
{
    QImage img = whiteImage(120, 120);
    {
        CDC paint(&img);
        paint.SelectBrush(CBrush::Solid(RGB(10, 120, 200)));
        paint.Ellipse(20, 20, 100, 90);
    }
    const QImage before = img.copy();
    CDC dc(&img);
    CMarkerRect rect(10, 10, PS_DOT);
    CMarkerEllipse ellipse(15, 12, PS_SOLID);
    CMarkerTriangle tri(30, 30, PS_DOT, 900);
    CMarkerLine line(5, 100, PS_SOLID);
    std::vector<CMarker*> all{&rect, &ellipse, &tri, &line};
    for (CMarker* m : all) {
        m->TrackTo(dc, 90, 80);
        EXPECT_TRUE(m->IsVisible());
        EXPECT_GT(countDifferentPixels(before, img), 0);
        m->TrackTo(dc, 95, 70); // moving erases and redraws
        m->Erase(dc);
        EXPECT_FALSE(m->IsVisible());
        EXPECT_EQ(countDifferentPixels(before, img), 0);
        m->Erase(dc); // erasing a hidden outline changes nothing
        EXPECT_EQ(countDifferentPixels(before, img), 0);
    }
    // The device context's pen and raster mode are left as they were.
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetPen(), CPen{});
}

TEST(Marker, MovingKeepsTheShape)
{
    QImage img = whiteImage(100, 100);
    const QImage before = img.copy();
    CDC dc(&img);
    CMarkerRect m(10, 20, PS_DOT);
    m.TrackTo(dc, 30, 25);
    m.BeginTrackMove(50, 50);
    m.TrackMove(dc, 55, 40);
    int l, t, r, b;
    m.GetRect(l, t, r, b);
    EXPECT_EQ(l, 15);
    EXPECT_EQ(t, 10);
    EXPECT_EQ(r, 35);
    EXPECT_EQ(b, 15);
    m.Erase(dc);
    EXPECT_EQ(countDifferentPixels(before, img), 0);
}

TEST(Marker, SymmetricTrackingNeverGoesNegative)
{
    QImage img = whiteImage(50, 50);
    CDC dc(&img);
    CMarkerRect m(10, 10, PS_SOLID);
    m.TrackTo(dc, 10, 10);           // first step fixes the centre at the start
    m.TrackTo(dc, 25, 30, true);
    EXPECT_EQ(m.Corner1(), (POINT{0, 0})); // (-5, -10) raised to 0
    EXPECT_EQ(m.Corner2(), (POINT{25, 30}));
    m.TrackTo(dc, 14, 13, true);
    EXPECT_EQ(m.Corner1(), (POINT{6, 7}));
}

TEST(Marker, SizesAndRectangles)
{
    QImage img = whiteImage(50, 50);
    CDC dc(&img);
    CMarkerRect r(40, 10, PS_DOT);
    r.TrackTo(dc, 10, 15);
    EXPECT_EQ(r.GetSize(), 5);
    int l, t, rr, b;
    r.GetRect(l, t, rr, b);
    EXPECT_EQ((RECT{l, t, rr, b}), (RECT{10, 10, 40, 15}));

    CMarkerLine line(3, 4, PS_SOLID);
    line.TrackTo(dc, 0, 0);
    EXPECT_EQ(line.GetSize(), 5);
    line.GetRect(l, t, rr, b);
    EXPECT_EQ((RECT{l, t, rr, b}), (RECT{3, 4, 0, 0})); // anchor first
}

TEST(Marker, TriangleRotationsPointTheRightWay)
{
    // Count outline pixels in the left and right thirds: a triangle pointing
    // left has its long side on the right.
    auto sidePixels = [](int16_t rotation, bool leftSide) {
        QImage img = whiteImage(64, 64);
        CDC dc(&img);
        CMarkerTriangle tri(2, 2, PS_SOLID, rotation);
        tri.TrackTo(dc, 61, 61);
        int n = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = leftSide ? 0 : 44; x < (leftSide ? 20 : 64); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
        return n;
    };
    EXPECT_GT(sidePixels(900, false), 2 * sidePixels(900, true));  // points left
    EXPECT_GT(sidePixels(2700, true), 2 * sidePixels(2700, false)); // points right
}
