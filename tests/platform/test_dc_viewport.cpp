// A raster device context with a viewport origin draws what one without it
// draws, shifted by the origin: figures, fills, inversions, XOR lines,
// pixels and text alike, and nothing outside the image.
#include "platform/dc.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

void drawScene(CDC& dc)
{
    dc.FillSolidRect(RECT{30, 30, 90, 70}, RGB(200, 220, 240));
    dc.SelectPen(CPen{PS_DOT, 1, RGB(0, 0, 0)});
    dc.Rectangle(25, 25, 120, 95);
    dc.SelectPen(CPen{PS_SOLID, 3, RGB(200, 0, 0)});
    dc.Ellipse(40, 35, 110, 100);
    dc.SetROP2(R2_NOTXORPEN);
    dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
    dc.MoveTo(20, 100);
    dc.LineTo(130, 20);
    dc.SetROP2(R2_COPYPEN);
    dc.InvertRect(RECT{60, 60, 70, 70});
    dc.SetPixel(33, 44, RGB(1, 2, 3));
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(35, 75, "Ab");
}

TEST(DcViewport, OriginShiftsEveryPrimitive)
{
    QImage plain(160, 130, QImage::Format_RGB32);
    plain.fill(Qt::white);
    {
        CDC dc(&plain);
        drawScene(dc);
    }
    // Content (15, 12) lands on pixel 0, 0.
    QImage shifted(160, 130, QImage::Format_RGB32);
    shifted.fill(Qt::white);
    {
        CDC dc(&shifted);
        EXPECT_EQ(dc.SetViewportOrg(-15, -12).x, 0);
        EXPECT_EQ(dc.GetViewportOrg().y, -12);
        drawScene(dc);
        EXPECT_EQ(dc.GetPixel(33, 44), RGB(1, 2, 3));
        EXPECT_EQ(dc.GetPixel(5, 5), 0xFFFFFFFFu); // left of the image
    }
    EXPECT_TRUE(shifted.copy(0, 0, 145, 118) == plain.copy(15, 12, 145, 118));
}

TEST(DcViewport, FarOriginsStayInRange)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    dc.SetViewportOrg(INT32_MIN, INT32_MAX);
    EXPECT_EQ(dc.GetViewportOrg().x, -(1 << 30));
    dc.FillSolidRect(RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, RGB(0, 0, 0));
    dc.SetPixel(INT32_MAX, INT32_MAX, 0);
    EXPECT_EQ(dc.GetPixel(INT32_MIN, INT32_MIN), 0xFFFFFFFFu);
}

} // namespace
