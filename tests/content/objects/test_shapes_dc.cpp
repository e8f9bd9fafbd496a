// Device-context behaviour the shapes rely on: the polygon fill rule, and
// figures whose coordinates lie far outside the image.
#include "platform/dc.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ShapeDeviceContext, PolygonFillRuleFollowsThePolyFillMode)
{
    // A five-pointed star drawn in one stroke winds twice round its centre.
    POINT star[5];
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 4 * M_PI / 5;
        star[i] = POINT{int(std::lround(32 + 28 * std::cos(a))), int(std::lround(32 + 28 * std::sin(a)))};
    }
    auto draw = [&](int mode) {
        QImage img = testsupport::whiteImage(64, 64);
        CDC dc(&img);
        dc.SelectPen(CPen::Null());
        dc.SelectBrush(CBrush::Solid(RGB(255, 0, 0)));
        const int saved = dc.SaveDC();
        EXPECT_EQ(dc.SetPolyFillMode(mode), ALTERNATE);
        dc.Polygon(star, 5);
        dc.RestoreDC(saved);
        EXPECT_EQ(dc.GetPolyFillMode(), ALTERNATE);
        return img;
    };
    const QImage alternate = draw(ALTERNATE), winding = draw(WINDING);
    EXPECT_EQ(alternate.pixel(32, 33) & 0xFFFFFF, 0xFFFFFFu); // centre left open
    EXPECT_EQ(winding.pixel(32, 33) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(alternate.pixel(32, 8) & 0xFFFFFF, 0xFF0000u); // the points fill in both
    EXPECT_EQ(winding.pixel(32, 8) & 0xFFFFFF, 0xFF0000u);

    QImage img = testsupport::whiteImage(8, 8);
    CDC dc(&img);
    EXPECT_EQ(dc.SetPolyFillMode(7), ALTERNATE); // unknown modes are ignored
    EXPECT_EQ(dc.GetPolyFillMode(), ALTERNATE);
}

TEST(ShapeDeviceContext, FarAwayFiguresClipWithoutOverflow)
{
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    for (int penWidth : {0, 5, hi}) {
        SCOPED_TRACE(penWidth);
        QImage img = testsupport::whiteImage(16, 16);
        CDC dc(&img);
        dc.SelectPen(CPen{PS_SOLID, penWidth, RGB(0, 0, 255)});
        dc.SelectBrush(CBrush::Solid(RGB(255, 0, 0)));
        dc.MoveTo(lo, lo);
        dc.LineTo(hi, hi);
        dc.Rectangle(lo, lo, hi, hi);
        dc.RoundRect(lo, 0, hi, 10, lo, hi);
        dc.Ellipse(lo, lo, hi, hi);
        dc.Arc(lo, lo, hi, hi, lo, 0, hi, 0);
        const POINT far[3] = {{lo, lo}, {hi, 0}, {0, hi}};
        dc.Polygon(far, 3);
        dc.Polyline(far, 3);
        dc.FillSolidRect(RECT{lo, lo, hi, hi}, RGB(0, 255, 0));
        dc.InvertRect(RECT{lo, lo, hi, hi});
        // The whole image was covered and then inverted.
        EXPECT_EQ(testsupport::countPixels(img, 0xFF00FF), 16 * 16);
    }
    // A rectangle spanning all of 32 bits still fills what is visible.
    QImage img = testsupport::whiteImage(16, 16);
    CDC dc(&img);
    dc.SelectPen(CPen::Null());
    dc.SelectBrush(CBrush::Solid(RGB(255, 0, 0)));
    dc.Rectangle(lo, lo, hi, hi);
    EXPECT_EQ(testsupport::countPixels(img, 0xFF0000), 16 * 16);
}
