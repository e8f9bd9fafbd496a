// Barcode objects: the human-readable line is laid out by the object's own
// one-line text drawing, aligned with the symbol as it is placed in the box.
#include "content/objects/graphbarcode.h"
#include "content/barcodes/barcode_render.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QImage>

using testsupport::whiteImage;

namespace {

// Columns of the dark pixels in rows [fromRow, toRow), or {-1, -1}.
std::pair<int, int> darkColumns(const QImage& img, int fromRow, int toRow)
{
    int first = -1, last = -1;
    for (int y = fromRow; y < toRow; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                if (first < 0 || x < first)
                    first = x;
                last = std::max(last, x);
            }
    return {first, last};
}

} // namespace

TEST(GraphBarcodeReadableLine, HumanReadableLineStaysUnderTheSymbolAtEveryAlignment)
{
    // 254 dpi: one pixel is 100 micrometres. Box 600 x 200 px along and
    // across the symbol, module 3 px, bars 100 px high; Code 128
    // "555481169" is 390 px wide with its quiet zones of 30 px.
    for (int alignment : {CGraphText::kAlignLeft, CGraphText::kAlignCenter, CGraphText::kAlignRight}) {
        for (int rotation : {0, 900, 1800, 2700}) {
            CGraphBarcode b;
            b.SetSymbologyName("Code 128");
            b.SetSourceKind(kTextKindFixed);
            b.SetText("555481169");
            LOGFONTA lf;
            lf.lfHeight = -16;
            SetFaceName(lf, "Liberation Sans");
            b.SetLogFont(lf);
            const bool sideways = rotation == 900 || rotation == 2700;
            b.SetWidth(sideways ? 20000 : 60000);
            b.SetHeight(sideways ? 60000 : 20000);
            b.SetAlignment(alignment);
            b.SetRotation(int16_t(rotation));

            QImage img = sideways ? whiteImage(200, 600) : whiteImage(600, 200);
            CDC dc(&img, 254, 254);
            DrawArgs a;
            a.dc = &dc;
            a.flags = kDrawPrinting;
            a.labelNumber = 1;
            a.cutResX = a.cutResY = -1;
            ASSERT_TRUE(b.Draw(a));

            const QImage upright = bctest::Unrotate(img, rotation);
            ASSERT_EQ(upright.width(), 600);
            const auto bars = darkColumns(upright, 0, 90);
            const auto line = darkColumns(upright, 105, 200);
            const std::string where = "alignment " + std::to_string(alignment) + ", rotation " + std::to_string(rotation);
            ASSERT_GE(bars.first, 0) << where;
            ASSERT_GE(line.first, 0) << where;
            EXPECT_EQ(bars.second - bars.first + 1, 330) << where;
            // The whole line lies within the bars (nothing clipped) ...
            EXPECT_GE(line.first, bars.first) << where;
            EXPECT_LE(line.second, bars.second) << where;
            // ... and is aligned with them as the symbol is with the box.
            if (alignment == CGraphText::kAlignLeft)
                EXPECT_NEAR(line.first, bars.first, 4) << where;
            else if (alignment == CGraphText::kAlignCenter)
                EXPECT_NEAR(line.first + line.second, bars.first + bars.second, 6) << where;
            else
                EXPECT_NEAR(line.second, bars.second, 5) << where;
        }
    }
}
