// Pixel behaviour of the device context on a raster back buffer.
#include "platform/dc.h"
#include "support/test_support.h"

#include <QPainter>
#include <gtest/gtest.h>

using testsupport::countDifferentPixels;
using testsupport::countPixels;
using testsupport::whiteImage;

namespace {
constexpr unsigned kBlack = 0x000000;
constexpr unsigned kWhite = 0xFFFFFF;
bool isBlack(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == kBlack; }
} // namespace

TEST(DeviceContext, ReportsItsResolution)
{
    QImage img = whiteImage(10, 10);
    CDC dc(&img, 300, 600);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 10);
}

TEST(DeviceContext, SetPixelExcludesTheRightAndBottomEdges)
{
    // Of the image and of the clip rectangle alike: the edge pixel is
    // outside, the one before it inside.
    QImage img = whiteImage(20, 20);
    CDC dc(&img);
    dc.SetPixel(20, 5, RGB(0, 0, 0));
    dc.SetPixel(5, 20, RGB(0, 0, 0));
    dc.SetPixel(-1, 5, RGB(0, 0, 0));
    EXPECT_EQ(countPixels(img, kBlack), 0);
    dc.SetPixel(19, 5, RGB(0, 0, 0));
    dc.SetPixel(5, 19, RGB(0, 0, 0));
    EXPECT_TRUE(isBlack(img, 19, 5));
    EXPECT_TRUE(isBlack(img, 5, 19));

    img = whiteImage(20, 20);
    CDC clipped(&img);
    clipped.IntersectClipRect(RECT{4, 6, 12, 15});
    for (POINT outside : {POINT{12, 8}, POINT{8, 15}, POINT{3, 8}, POINT{8, 5}, POINT{12, 15}})
        clipped.SetPixel(outside.x, outside.y, RGB(0, 0, 0));
    EXPECT_EQ(countPixels(img, kBlack), 0);
    for (POINT inside : {POINT{11, 8}, POINT{8, 14}, POINT{4, 8}, POINT{8, 6}, POINT{11, 14}}) {
        clipped.SetPixel(inside.x, inside.y, RGB(0, 0, 0));
        EXPECT_TRUE(isBlack(img, inside.x, inside.y)) << inside.x << "," << inside.y;
    }
    EXPECT_EQ(countPixels(img, kBlack), 5);
}

TEST(DeviceContext, LineToExcludesTheEndPixel)
{
    QImage img = whiteImage(20, 20);
    CDC dc(&img);
    dc.MoveTo(2, 5);
    dc.LineTo(12, 5);
    EXPECT_TRUE(isBlack(img, 2, 5));
    EXPECT_TRUE(isBlack(img, 11, 5));
    EXPECT_FALSE(isBlack(img, 12, 5));
    EXPECT_EQ(countPixels(img, kBlack), 10);
    // Diagonal: exactly one pixel per step of the major axis.
    QImage img2 = whiteImage(20, 20);
    CDC dc2(&img2);
    dc2.MoveTo(0, 0);
    dc2.LineTo(10, 4);
    EXPECT_EQ(countPixels(img2, kBlack), 10);
    EXPECT_EQ(dc2.GetCurrentPosition(), (POINT{10, 4}));
}

TEST(DeviceContext, RectangleExcludesRightAndBottomEdges)
{
    QImage img = whiteImage(20, 20);
    CDC dc(&img);
    dc.SelectBrush(CBrush::Solid(RGB(255, 0, 0)));
    dc.Rectangle(2, 3, 10, 8);
    // Border on the first and last pixel inside the box.
    EXPECT_TRUE(isBlack(img, 2, 3));
    EXPECT_TRUE(isBlack(img, 9, 7));
    EXPECT_EQ(img.pixel(10, 5) & 0xFFFFFF, kWhite);
    EXPECT_EQ(img.pixel(5, 8) & 0xFFFFFF, kWhite);
    // Filled inside the border.
    EXPECT_EQ(img.pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(countPixels(img, 0xFF0000), 6 * 3);
    EXPECT_EQ(countPixels(img, kBlack), 8 * 5 - 6 * 3);

    // Without a pen the fill loses the last row and column as well.
    QImage img2 = whiteImage(20, 20);
    CDC dc2(&img2);
    dc2.SelectPen(CPen::Null());
    dc2.SelectBrush(CBrush::Solid(RGB(0, 0, 255)));
    dc2.Rectangle(2, 3, 10, 8);
    EXPECT_EQ(countPixels(img2, 0x0000FF), 7 * 4);
}

TEST(DeviceContext, EllipseStaysInsideItsBox)
{
    QImage img = whiteImage(40, 40);
    CDC dc(&img);
    dc.SelectBrush(CBrush::Solid(RGB(0, 255, 0)));
    dc.Ellipse(5, 5, 25, 15);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != kWhite) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 24);
    EXPECT_EQ(minY, 5);
    EXPECT_EQ(maxY, 14);
    EXPECT_EQ(img.pixel(15, 10) & 0xFFFFFF, 0x00FF00u);
    // Corners of the box are outside the ellipse.
    EXPECT_EQ(img.pixel(5, 5) & 0xFFFFFF, kWhite);
    EXPECT_EQ(img.pixel(24, 14) & 0xFFFFFF, kWhite);
}

TEST(DeviceContext, NotXorOutlinesDrawnTwiceRestoreTheImage)
{
    QImage img = whiteImage(60, 60);
    {
        // Something under the outline, so the test is not only on white.
        CDC dc(&img);
        dc.SelectBrush(CBrush::Solid(RGB(200, 30, 90)));
        dc.Rectangle(10, 10, 40, 40);
    }
    const QImage before = img.copy();
    CDC dc(&img);
    dc.SetROP2(R2_NOTXORPEN);
    dc.SelectPen(CPen{PS_DOT, 1, 0});
    const POINT box[5] = {{5, 5}, {5, 50}, {50, 50}, {50, 5}, {5, 5}};
    dc.Polyline(box, 5);
    EXPECT_GT(countDifferentPixels(before, img), 20);
    dc.Polyline(box, 5);
    EXPECT_EQ(countDifferentPixels(before, img), 0);

    dc.SelectPen(CPen{PS_SOLID, 1, 0});
    dc.Arc(3, 7, 44, 29, 3, 7, 3, 7);
    EXPECT_GT(countDifferentPixels(before, img), 50);
    dc.Arc(3, 7, 44, 29, 3, 7, 3, 7);
    EXPECT_EQ(countDifferentPixels(before, img), 0);

    dc.MoveTo(0, 59);
    dc.LineTo(59, 0);
    dc.MoveTo(0, 59);
    dc.LineTo(59, 0);
    EXPECT_EQ(countDifferentPixels(before, img), 0);
}

TEST(DeviceContext, NotXorWithBlackPenInvertsEachPixelOnce)
{
    // A closed outline touches its shared corners once, so each pixel of it
    // is exactly inverted.
    QImage img = whiteImage(30, 30);
    CDC dc(&img);
    dc.SetROP2(R2_NOTXORPEN);
    const POINT box[5] = {{2, 2}, {2, 12}, {12, 12}, {12, 2}, {2, 2}};
    dc.Polyline(box, 5);
    EXPECT_EQ(countPixels(img, kBlack), 40);
    EXPECT_TRUE(isBlack(img, 2, 2));
    EXPECT_TRUE(isBlack(img, 12, 12));
}

TEST(DeviceContext, InvertRectTwiceVanishesAndRespectsTheClip)
{
    QImage img = whiteImage(20, 20);
    const QImage before = img.copy();
    CDC dc(&img);
    dc.InvertRect(RECT{2, 2, 9, 9});
    EXPECT_EQ(countPixels(img, kBlack), 49);
    dc.InvertRect(RECT{2, 2, 9, 9});
    EXPECT_EQ(countDifferentPixels(before, img), 0);

    dc.IntersectClipRect(RECT{0, 0, 5, 5});
    dc.InvertRect(RECT{2, 2, 9, 9});
    EXPECT_EQ(countPixels(img, kBlack), 9);
}

TEST(DeviceContext, SaveAndRestoreState)
{
    QImage img = whiteImage(4, 4);
    CDC dc(&img);
    const int level = dc.SaveDC();
    EXPECT_EQ(level, 1);
    dc.SetROP2(R2_NOTXORPEN);
    dc.SelectPen(CPen{PS_DASH, 1, RGB(1, 2, 3)});
    dc.SaveDC();
    dc.SetROP2(R2_XORPEN);
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetROP2(), R2_NOTXORPEN);
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetPen(), CPen{});
    EXPECT_FALSE(dc.RestoreDC(1));
}

TEST(DeviceContext, GeometricPenIsWideAndRound)
{
    QImage img = whiteImage(60, 30);
    CDC dc(&img);
    dc.SelectPen(CPen{PS_SOLID, 7, RGB(0, 0, 0)}); // (wide dashed pens: test_wmf_records)
    dc.MoveTo(10, 15);
    dc.LineTo(50, 15);
    // About 7 pixels thick across the middle, no gaps along it.
    int thick = 0;
    for (int y = 0; y < 30; ++y)
        thick += isBlack(img, 30, y) ? 1 : 0;
    EXPECT_GE(thick, 6);
    EXPECT_LE(thick, 8);
    for (int x = 12; x < 48; ++x)
        EXPECT_TRUE(isBlack(img, x, 15)) << x;
    // Round cap: reaches beyond the end point on the axis, not at the corner.
    EXPECT_TRUE(isBlack(img, 52, 15));
    EXPECT_FALSE(isBlack(img, 53, 12));
}

TEST(DeviceContext, FarAwayEndPointsCostNothingAndDrawTheVisiblePart)
{
    QImage img = whiteImage(50, 50);
    CDC dc(&img);
    dc.MoveTo(-2000000000, 25);
    dc.LineTo(2000000000, 25);
    EXPECT_EQ(countPixels(img, kBlack), 50);
    dc.Rectangle(-2000000000, -2000000000, 2000000000, 2000000000);
    dc.Ellipse(-100000, -100000, 100000, 100000);
}

TEST(DeviceContext, PainterTargetDrawsToo)
{
    QImage img = whiteImage(40, 40);
    {
        QPainter p(&img);
        CDC dc(&p, 96, 96, 40, 40);
        EXPECT_FALSE(dc.IsRaster());
        dc.SelectBrush(CBrush::Solid(RGB(0, 0, 255)));
        dc.Rectangle(5, 5, 30, 30);
        dc.InvertRect(RECT{0, 0, 2, 2});
    }
    EXPECT_EQ(img.pixel(15, 15) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, kBlack);
    EXPECT_EQ(img.pixel(35, 35) & 0xFFFFFF, kWhite);
}
