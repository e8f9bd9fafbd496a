// Module-marking guides, cells and hit test on a raster device context at
// 96 dpi and 100 %, where X(u) = (96 u + 12700) / 25400.
#include "document/modulemarking/modulemarkingrow.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned kGrey = 0x808080;
constexpr int32_t kStrip = 10000; // H = 38

// Three modules of 10 mm; the gap decides what lies between them.
CModuleMarkingRow threeModules(int32_t gap)
{
    CModuleMarkingRow row;
    row.SetModuleCount(3);
    for (int i = 0; i < 3; ++i) {
        row.Module(i).m_width = 10000;
        row.Module(i).m_multiplier = 1;
    }
    row.SetAllGaps(gap);
    return row;
}

int greyInColumn(const QImage& img, int x)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        n += (img.pixel(x, y) & 0xFFFFFFu) == kGrey;
    return n;
}

} // namespace

TEST(ModuleMarkingDraw, NarrowGapsAreLinesWideGapsAreBands)
{
    QImage img = testsupport::whiteImage(120, 50);
    CDC dc(&img);
    threeModules(100).DrawGuides(dc, 100, kStrip); // X(10000) = X(10100) = 38
    EXPECT_EQ(greyInColumn(img, 38), 38);          // end pixel excluded
    EXPECT_EQ(testsupport::countPixels(img, kGrey), 2 * 38);
    EXPECT_EQ(dc.GetPen().style, PS_SOLID); // the caller's pen is back
    EXPECT_EQ(dc.GetPen().color, 0u);

    QImage wide = testsupport::whiteImage(120, 50);
    CDC wdc(&wide);
    // X(10000) = 38 to X(12000) = 45, then X(22000) = 83 to X(24000) = 91.
    threeModules(2000).DrawGuides(wdc, 100, kStrip);
    EXPECT_EQ(testsupport::countPixels(wide, kGrey), (7 + 8) * 38);
    EXPECT_EQ(greyInColumn(wide, 44), 38);
    EXPECT_EQ(greyInColumn(wide, 45), 0);

    // One module draws nothing; margins draw dotted lines.
    QImage single = testsupport::whiteImage(120, 50);
    CDC sdc(&single);
    CModuleMarkingRow one;
    one.DrawGuides(sdc, 100, kStrip);
    EXPECT_EQ(testsupport::countPixels(single, kGrey), 0);
    one.SetLeftMargin(5000);  // X = 19
    one.SetRightMargin(1000); // X(22500) = 85
    one.DrawGuides(sdc, 100, kStrip);
    EXPECT_GT(greyInColumn(single, 19), 10);
    EXPECT_LT(greyInColumn(single, 19), 38); // dotted
    EXPECT_GT(greyInColumn(single, 85), 10);
    EXPECT_EQ(testsupport::countPixels(single, kGrey), greyInColumn(single, 19) + greyInColumn(single, 85));
}

TEST(ModuleMarkingDraw, CurrentCellAndPreviewSelection)
{
    CModuleMarkingRow row = threeModules(2000);
    ASSERT_TRUE(row.SetCurrentIndex(1)); // from 12000 to 22000: x 45..83
    QImage img = testsupport::whiteImage(120, 50);
    CDC dc(&img);
    row.DrawCurrentModule(dc, 100, kStrip, false, false, RGB(1, 2, 3));
    EXPECT_EQ(testsupport::countPixels(img, 0xFFFFFF), 120 * 50); // no fill: nothing
    row.DrawCurrentModule(dc, 100, kStrip, false, true, RGB(1, 2, 3));
    EXPECT_EQ(testsupport::countPixels(img, 0xA0A0A0), (82 - 47) * (37 - 2));
    EXPECT_EQ(img.pixel(47, 2) & 0xFFFFFFu, 0xA0A0A0u);
    EXPECT_EQ(img.pixel(46, 2) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(82, 36) & 0xFFFFFFu, 0xFFFFFFu);
    row.DrawCurrentModule(dc, 100, kStrip, true, true, RGB(1, 2, 3));
    EXPECT_EQ(testsupport::countPixels(img, 0x010203), (82 - 47) * (37 - 2));

    // Preview cell of module 2 at 96 ppi, of the strip at (4, 5): from
    // 24000 (91) to 34000 (129), cell from 101 to 136 across and 7 to 42
    // down.
    QImage pre = testsupport::whiteImage(190, 60);
    CDC pdc(&pre);
    row.DrawSelection(pdc, 96, POINT{4, 5}, 2, kStrip);
    EXPECT_EQ(testsupport::countPixels(pre, 0xFFFF00), (136 - 101) * (42 - 7));
    EXPECT_EQ(pre.pixel(101, 7) & 0xFFFFFFu, 0xFFFF00u);
    EXPECT_EQ(pre.pixel(100, 7) & 0xFFFFFFu, 0xFFFFFFu);
    row.DrawSelection(pdc, 96, POINT{4, 5}, 3, kStrip); // no such module
    row.DrawSelection(pdc, 96, POINT{4, 5}, -1, kStrip);
    EXPECT_EQ(testsupport::countPixels(pre, 0xFFFF00), (136 - 101) * (42 - 7));
    // A strip further right (a margin, a column, the scroll position)
    // takes its cell along.
    QImage moved = testsupport::whiteImage(190, 60);
    CDC mdc(&moved);
    row.DrawSelection(mdc, 96, POINT{34, 5}, 2, kStrip);
    EXPECT_EQ(moved.copy(30, 0, 160, 60), pre.copy(0, 0, 160, 60));
}

TEST(ModuleMarkingDraw, HitTestFindsCellsOnly)
{
    CModuleMarkingRow row = threeModules(2000);
    QImage img = testsupport::whiteImage(10, 10);
    CDC dc(&img);
    struct Case {
        POINT pt;
        int hit; // module, or -1 for none
    } cases[] = {
        {{40, 10}, -1}, // in the gap
        {{46, 10}, -1}, // the cell's 2-pixel border
        {{47, 2}, 1},   // left and top edges are inside
        {{81, 36}, 1},
        {{82, 10}, -1}, // right edge outside
        {{60, 37}, -1}, // bottom edge outside
        {{60, 1}, -1},
        {{2, 2}, 0},
        {{92, 20}, -1}, // module 2 starts at X(24000) = 91, its cell at 93
        {{95, 20}, 2},
        {{200, 20}, -1}, // beyond the strip
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(row.SetCurrentIndex(1));
        if (c.hit < 0) {
            EXPECT_FALSE(row.HitTest(dc, 100, kStrip, c.pt)) << c.pt.x << "," << c.pt.y;
            EXPECT_EQ(row.GetCurrentIndex(), 1);
        } else {
            ASSERT_TRUE(row.SetCurrentIndex(c.hit == 0 ? 2 : 0));
            EXPECT_TRUE(row.HitTest(dc, 100, kStrip, c.pt)) << c.pt.x << "," << c.pt.y;
            EXPECT_EQ(row.GetCurrentIndex(), c.hit);
        }
    }
    // Zoom doubles the cells: module 1 now starts at X(12000) = 91.
    ASSERT_TRUE(row.SetCurrentIndex(0));
    EXPECT_TRUE(row.HitTest(dc, 200, kStrip, POINT{94, 10}));
    EXPECT_EQ(row.GetCurrentIndex(), 1);
}

TEST(ModuleMarkingDraw, HugeLengthsAtHighZoomDoNotOverflow)
{
    CModuleMarkingRow row;
    row.SetModuleCount(100);
    for (int i = 0; i < 100; ++i) {
        row.Module(i).m_width = 1000000;
        row.Module(i).m_multiplier = 2000;
    }
    row.SetAllGaps(INT32_MAX);
    row.SetLeftMargin(INT32_MIN);
    row.SetRightMargin(INT32_MAX);
    QImage img = testsupport::whiteImage(64, 64);
    CDC dc(&img, 600, 600);
    row.DrawGuides(dc, 3199, INT32_MAX);
    row.DrawCurrentModule(dc, 3199, INT32_MAX, true, true);
    row.DrawSelection(dc, INT32_MAX, POINT{INT32_MAX, INT32_MAX}, 99, INT32_MAX);
    EXPECT_FALSE(row.HitTest(dc, 3199, INT32_MAX, POINT{INT32_MAX, INT32_MAX}));
    EXPECT_EQ(row.GetTotalLength(), INT32_MAX);
}
