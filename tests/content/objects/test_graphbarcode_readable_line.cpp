// Barcode objects: the human-readable line is laid out by the object's own
// one-line text drawing (alignment within the box, 10 modules in).
#include "content/objects/graphbarcode.h"
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

TEST(GraphBarcodeReadableLine, HumanReadableLineFollowsTheObjectsAlignment)
{
    // 254 dpi: one pixel is 100 micrometres. Box 600 x 200 px, module 3 px,
    // bars 100 px high; Code 128 "1234" is 246 px wide with its quiet zones.
    CGraphBarcode b;
    b.SetSymbologyName("Code 128");
    b.SetSourceKind(kTextKindFixed);
    b.SetText("1234");
    LOGFONTA lf;
    lf.lfHeight = -16;
    SetFaceName(lf, "Liberation Sans");
    b.SetLogFont(lf);
    b.SetWidth(60000);
    b.SetHeight(20000);
    b.SetAlignment(2); // centre

    QImage img = whiteImage(600, 200);
    CDC dc(&img, 254, 254);
    DrawArgs a;
    a.dc = &dc;
    a.flags = kDrawPrinting;
    a.labelNumber = 1;
    a.cutResX = a.cutResY = -1;
    ASSERT_TRUE(b.Draw(a));

    // The line is centred on the box's middle (L / 2 - 1), moved 10 modules
    // in, one pixel inside the box: centre x = 299 + 30 + 1 = 330; it starts
    // below the bars.
    const auto [first, last] = darkColumns(img, 101, 200);
    ASSERT_GE(first, 0);
    EXPECT_NEAR((first + last) / 2.0, 330.0, 3.0);
    EXPECT_EQ(darkColumns(img, 100, 101).first, -1);
}
