// Rectangles far beyond 32-bit extents reaching Qt: clips, fills, text and
// pictures on raster and painter targets.
#include "platform/dc.h"
#include "platform/dib.h"
#include "support/test_support.h"

#include <QPainter>
#include <gtest/gtest.h>

using testsupport::countPixels;
using testsupport::whiteImage;

namespace {
constexpr RECT kHuge{-2000000000, -2000000000, 2000000000, 2000000000};
constexpr unsigned kWhite = 0xFFFFFF;
} // namespace

TEST(DeviceContextHugeRects, TextHonoursAClipWiderThan32Bits)
{
    QImage img = whiteImage(100, 60);
    CDC dc(&img);
    dc.SelectFont(testsupport::arialFont(-30));
    dc.SetBkMode(TRANSPARENT);
    dc.SelectClipRect(&kHuge);
    dc.TextOut(5, 5, "XXXX");
    EXPECT_LT(countPixels(img, kWhite), 100 * 60);
    RECT r = kHuge;
    dc.DrawText("XXXX", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    dc.SetBkColor(RGB(0, 0, 0));
    dc.ExtTextOut(5, 5, ETO_CLIPPED | ETO_OPAQUE, &kHuge, "X");
    EXPECT_EQ(countPixels(img, kWhite), 0); // the opaque box covers all
}

TEST(DeviceContextHugeRects, PainterTargetFillsInvertsAndClips)
{
    QImage img = whiteImage(40, 40);
    {
        QPainter p(&img);
        CDC dc(&p, 96, 96, 40, 40);
        dc.SelectClipRect(&kHuge);
        dc.FillSolidRect(kHuge, RGB(0, 0, 255));
        dc.SelectBrush(CBrush::Solid(RGB(255, 0, 0)));
        dc.Rectangle(5, 5, 30, 30);
        dc.InvertRect(RECT{-2000000000, -2000000000, 2, 2});
    }
    EXPECT_EQ(img.pixel(15, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(35, 35) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFFFF00u);
}

TEST(DeviceContextHugeRects, PicturesDrawWithFarSourcesAndClips)
{
    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(0xFF00FF00u);
    QImage img = whiteImage(40, 40);
    CDC dc(&img);
    dc.SelectClipRect(&kHuge);
    dib::DrawImage(dc, pic, QRect(0, 0, 4, 4), RECT{0, 0, 20, 20});
    EXPECT_EQ(img.pixel(10, 10) & 0xFFFFFF, 0x00FF00u);
    // A source starting far to the left: only its visible share is drawn.
    dib::DrawImage(dc, pic, QRect(QPoint(-2000000000, 0), QPoint(3, 3)), RECT{0, 0, 40, 40});
    EXPECT_EQ(img.pixel(30, 30) & 0xFFFFFF, kWhite);
}

TEST(DeviceContextPainterTarget, EveryBinaryRasterOperationIsHonoured)
{
    // Red brush and pen over a grey image: each operation's result on one
    // channel pair, as the raster target computes it.
    const COLORREF pen = RGB(255, 0, 0);
    const QRgb grey = 0xFF808080u;
    for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
        QImage viaPainter(20, 20, QImage::Format_RGB32);
        viaPainter.fill(grey);
        {
            QPainter p(&viaPainter);
            CDC dc(&p, 96, 96, 20, 20);
            dc.SetROP2(rop);
            dc.SelectPen(CPen{PS_SOLID, 1, pen});
            dc.SelectBrush(CBrush::Solid(pen));
            dc.Rectangle(2, 2, 18, 18);
        }
        QImage viaRaster(20, 20, QImage::Format_RGB32);
        viaRaster.fill(grey);
        CDC dc(&viaRaster);
        dc.SetROP2(rop);
        dc.SelectPen(CPen{PS_SOLID, 1, pen});
        dc.SelectBrush(CBrush::Solid(pen));
        dc.Rectangle(2, 2, 18, 18);
        EXPECT_EQ(viaPainter.pixel(10, 10) & 0xFFFFFF, viaRaster.pixel(10, 10) & 0xFFFFFF) << "rop " << rop;
    }
}
