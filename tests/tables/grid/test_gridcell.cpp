// Grid cells drawn on a raster device context: inherited attributes,
// selection colours, the 3-D look of header cells, default sizes from the
// font, vertical text and the sort mark.
#include "support/gridtest.h"

#include "platform/recordingui.h"
#include "support/test_support.h"
#include "tables/grid/griddefaultcell.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kHighlight = RGB(10, 20, 200);
constexpr COLORREF kHighlightText = RGB(250, 250, 0);
constexpr COLORREF kLight = RGB(250, 251, 252);
constexpr COLORREF kShadow = RGB(120, 121, 122);
constexpr COLORREF kDark = RGB(30, 31, 32);

class GridCellTest : public ::testing::Test {
protected:
    GridCellTest()
    {
        ui.colours[SystemColour::Highlight] = kHighlight;
        ui.colours[SystemColour::HighlightText] = kHighlightText;
        ui.colours[SystemColour::ButtonHighlight] = kLight;
        ui.colours[SystemColour::ButtonShadow] = kShadow;
        ui.colours[SystemColour::DarkShadow] = kDark;
    }
    // Draws cell (row, col) alone into a 100 x 30 image.
    QImage drawCell(CGridCtrl& grid, int row, int col, bool focus)
    {
        QImage image = testsupport::whiteImage(100, 30);
        CDC dc(&image);
        grid.GetCell(row, col)->Draw(dc, row, col, RECT{0, 0, 79, 19}, focus, true);
        return image;
    }
    static COLORREF at(const QImage& image, int x, int y)
    {
        const QRgb p = image.pixel(x, y);
        return RGB(unsigned(qRed(p)), unsigned(qGreen(p)), unsigned(qBlue(p)));
    }

    CRecordingUi ui;
    UiScope scope{ui};
    gridtest::RecordingOwner owner;
};

TEST_F(GridCellTest, SentinelAttributesDrawLikeTheDefaultCell)
{
    auto grid = gridtest::makeGrid(&owner, 4, 4, false);
    grid->SetItemText(1, 1, "Hello");
    grid->SetItemText(2, 1, "Hello");
    CGridCellBase* explicitCell = grid->GetCell(2, 1);
    explicitCell->SetFormat(grid->GetDefaultCell(false, false)->GetFormat());
    explicitCell->SetMargin(grid->GetDefaultCell(false, false)->GetMargin());
    EXPECT_EQ(grid->GetCell(1, 1)->GetMargin(), explicitCell->GetMargin());
    const QImage a = drawCell(*grid, 1, 1, true);
    const QImage b = drawCell(*grid, 2, 1, true);
    EXPECT_EQ(testsupport::countDifferentPixels(a, b), 0);
    const RECT ink = testsupport::inkBox(a);
    EXPECT_LE(ink.left, ink.right) << "the text is drawn";

    // A different margin moves the text.
    explicitCell->SetMargin(12);
    EXPECT_GT(testsupport::countDifferentPixels(a, drawCell(*grid, 2, 1, true)), 0);
}

TEST_F(GridCellTest, SelectionIsGreyWithoutFocusAndHighlightWithIt)
{
    auto grid = gridtest::makeGrid(&owner, 4, 4, false);
    grid->SetItemText(1, 1, "W");
    grid->SetSelectedRange(CCellRange(1, 1, 1, 1));
    QImage grey = drawCell(*grid, 1, 1, false);
    EXPECT_EQ(at(grey, 70, 10), RGB(160, 160, 160));
    EXPECT_EQ(at(grey, 79, 19), RGB(160, 160, 160)) << "the fill covers the right and bottom edge";
    EXPECT_GT(testsupport::countPixels(grey, 0xFAFA00), 0) << "text in the highlight text colour";
    QImage blue = drawCell(*grid, 1, 1, true);
    EXPECT_EQ(at(blue, 70, 10), kHighlight);
}

TEST_F(GridCellTest, HeaderOfAWholeRowSelectionIsSunkenOthersRaised)
{
    auto grid = gridtest::makeGrid(&owner, 4, 4, false);
    grid->SetSelectedRange(CCellRange(1, 1, 1, 3)); // all of row 1
    const QImage sunken = drawCell(*grid, 1, 0, true);
    EXPECT_EQ(at(sunken, 0, 0), kShadow);
    EXPECT_EQ(at(sunken, 40, 0), kShadow);
    EXPECT_EQ(at(sunken, 79, 19), kLight);
    EXPECT_EQ(at(sunken, 79, 10), kLight);

    const QImage raised = drawCell(*grid, 2, 0, true);
    EXPECT_EQ(at(raised, 0, 0), kLight);
    EXPECT_EQ(at(raised, 0, 18), kLight);
    EXPECT_EQ(at(raised, 78, 0), kLight);
    EXPECT_EQ(at(raised, 79, 0), kDark);
    EXPECT_EQ(at(raised, 79, 19), kDark);
    EXPECT_EQ(at(raised, 0, 19), kDark);
    EXPECT_NE(at(raised, 1, 1), kLight) << "one pixel wide";
}

TEST_F(GridCellTest, DefaultCellSizesComeFromItsFont)
{
    CGridDefaultCell cell;
    const LOGFONTA font = testsupport::arialFont(-13);
    cell.SetFont(&font);
    QImage image(1, 1, QImage::Format_RGB32);
    CDC dc(&image);
    dc.SelectFont(font);
    const SIZE x = dc.GetTextExtent(" XXXXXXXXXXXX ");
    EXPECT_EQ(cell.GetWidth(), x.cx);
    EXPECT_EQ(cell.GetHeight(), x.cy * 3 / 2);
    EXPECT_EQ(cell.GetMargin(), dc.GetTextExtent(" ").cx);
    cell.SetFont(nullptr); // ignored
    EXPECT_EQ(cell.GetWidth(), x.cx);
    EXPECT_TRUE(cell.GetState() & GVIS_READONLY);
}

TEST_F(GridCellTest, VerticalTextSwapsTheExtent)
{
    auto grid = gridtest::makeGrid(&owner, 4, 4, false);
    grid->SetItemText(1, 1, "Vertical");
    CGridCellBase* cell = grid->GetCell(1, 1);
    const SIZE horizontal = cell->GetTextExtent("Vertical", nullptr);
    LOGFONTA font = *cell->GetFont();
    font.lfEscapement = 900;
    cell->SetFont(&font);
    const SIZE vertical = cell->GetTextExtent("Vertical", nullptr);
    EXPECT_EQ(vertical.cx, horizontal.cy);
    EXPECT_EQ(vertical.cy, horizontal.cx + 4 * cell->GetMargin());
}

TEST_F(GridCellTest, SortMarkPointsUpForAscending)
{
    auto grid = gridtest::makeGrid(&owner, 4, 4, false);
    grid->SetItemText(2, 1, "b");
    grid->SetItemText(3, 1, "a");
    ASSERT_TRUE(grid->SortByColumn(1, true));
    const QImage image = drawCell(*grid, 0, 1, true);
    const RECT ink = testsupport::inkBox(image, RECT{40, 2, 78, 18});
    ASSERT_LE(ink.left, ink.right) << "a mark at the right end";
    const auto shadowRun = [&](int y) {
        int n = 0;
        for (int x = 40; x < 80; ++x)
            n += at(image, x, y) == kShadow;
        return n;
    };
    int top = -1, bottom = -1;
    for (int y = 0; y < 20; ++y)
        if (shadowRun(y)) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    ASSERT_GE(top, 0);
    EXPECT_LT(shadowRun(top), shadowRun(bottom)) << "apex up";

    grid->SortByColumn(1, false);
    const QImage down = drawCell(*grid, 0, 1, true);
    EXPECT_GT(testsupport::countDifferentPixels(image, down), 0);
}

} // namespace
