// Presentation pictures of legacy embedded items drawn into their box.
#include "content/images/presentation.h"
#include "platform/dib.h"
#include "support/wmf_builder.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::string deviceBitmap(int w, int h, int rowBytes, int bpp, const std::string& rows)
{
    std::string d;
    for (int v : {0, w, h, rowBytes})
        wmftest::Builder::put16(d, uint16_t(v));
    d.push_back(1);
    d.push_back(char(bpp));
    return d + rows;
}

} // namespace

TEST(Ole1Presentation, EveryFormatFillsTheBox)
{
    // Metafile: a black rectangle over its whole window.
    wmftest::Builder b;
    b.windowExt(10, 10).pen(0, 0, 0).select(0).brush(0, 0).select(1).rectangle(0, 0, 10, 10);
    QImage target = testsupport::whiteImage(60, 40);
    CDC dc(&target);
    ASSERT_TRUE(DrawOle1Presentation(dc, RECT{10, 10, 49, 29}, "MetafilePict", b.bits()));
    // The viewport spans right - left by bottom - top pixels.
    EXPECT_EQ(testsupport::countPixels(target, 0), 39 * 19);
    EXPECT_EQ(target.pixel(10, 10) | 0xFF000000u, 0xFF000000u);

    // DIB, stretched without keeping its proportions.
    QImage red(4, 1, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    target = testsupport::whiteImage(60, 40);
    CDC dc2(&target);
    ASSERT_TRUE(DrawOle1Presentation(dc2, RECT{0, 0, 29, 29}, "DIB", dib::ImageToPacked24(red)));
    EXPECT_EQ(testsupport::countPixels(target, 0xFF0000), 30 * 30);
    // A large one (decoded at the box's size), red above blue.
    QImage large(2000, 1000, QImage::Format_RGB32);
    large.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 500; ++y)
        std::fill_n(reinterpret_cast<QRgb*>(large.scanLine(y)), 2000, qRgb(255, 0, 0));
    target = testsupport::whiteImage(60, 40);
    CDC dcLarge(&target);
    ASSERT_TRUE(DrawOle1Presentation(dcLarge, RECT{0, 0, 39, 39}, "DIB", dib::ImageToPacked24(large)));
    // Rows beside the seam keep their colours, whatever the smoothing does
    // at it.
    for (int y = 0; y < 40; ++y) {
        if (y == 19 || y == 20)
            continue;
        for (int x = 0; x < 40; x += 13)
            EXPECT_EQ(testsupport::px(target, x, y), y < 20 ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) << x << ", " << y;
    }
    EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 60 * 40 - 40 * 40);

    // Device bitmap, one bit per pixel, rows from the top: 1 = white.
    const std::string mono = deviceBitmap(2, 2, 2, 1, std::string("\x40\0\x80\0", 4));
    const QImage img = DeviceBitmapToImage(mono);
    ASSERT_EQ(img.size(), QSize(2, 2));
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(0, 1), qRgb(255, 255, 255));
    const std::string colour = deviceBitmap(1, 1, 4, 32, std::string("\x01\x02\x03\0", 4));
    EXPECT_EQ(DeviceBitmapToImage(colour).pixel(0, 0), qRgb(3, 2, 1));
    target = testsupport::whiteImage(10, 10);
    CDC dc3(&target);
    EXPECT_TRUE(DrawOle1Presentation(dc3, RECT{0, 0, 9, 9}, "bitmap", colour));
    EXPECT_EQ(testsupport::countPixels(target, 0x030201), 100);
}

TEST(Ole1Presentation, BadDataIsNotDrawn)
{
    QImage target = testsupport::whiteImage(10, 10);
    CDC dc(&target);
    EXPECT_FALSE(DrawOle1Presentation(dc, RECT{0, 0, 9, 9}, "Paintbrush", "x"));
    EXPECT_FALSE(DrawOle1Presentation(dc, RECT{0, 0, 9, 9}, "METAFILEPICT", "short"));
    EXPECT_FALSE(DrawOle1Presentation(dc, RECT{0, 0, 9, 9}, "DIB", std::string(40, '\0')));
    EXPECT_FALSE(DrawOle1Presentation(dc, RECT{0, 0, 9, 9}, "BITMAP", deviceBitmap(8, 8, 1, 1, "")));
    EXPECT_TRUE(DeviceBitmapToImage(deviceBitmap(8, 2, 1, 1, "\x01")).isNull()); // rows missing
    EXPECT_TRUE(DeviceBitmapToImage(deviceBitmap(9, 1, 1, 1, "\x01\x02")).isNull()); // row too narrow
    EXPECT_TRUE(DeviceBitmapToImage(deviceBitmap(1, 1, 2, 8, "\x01\x02")).isNull()); // no palette
    EXPECT_EQ(testsupport::countPixels(target, 0xFFFFFF), 100);
}
