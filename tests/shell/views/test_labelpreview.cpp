// The print preview: the page and its scale, the sheet holding the current
// table row with the current label in yellow, module marking, the zoom
// commands and texts, and windows of any size.
#include "platform/commandids.h"
#include "shell/views/labelpreview.h"

#include "support/test_support.h"
#include "support/widgettest.h"
#include "views_test_support.h"


namespace {

using viewtest::SheetLabel;

constexpr unsigned kGrey = 0xE0E0E0;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kBlack = 0x000000;
constexpr unsigned kYellow = 0xFFFF00;
constexpr unsigned kOutline = 0x808080; // a label's outline in the preview

unsigned rgbAt(const CBackBufferView& view, int x, int y)
{
    return view.BackBuffer().pixel(x, y) & 0xFFFFFFu;
}

class PreviewTest : public viewtest::ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        preview = std::make_unique<CLabelPreview>(doc.get());
        preview->setFrameShape(QFrame::NoFrame);
        preview->resize(800, 600);
        ASSERT_TRUE(widgettest::ShowAndWait(preview.get()));
    }
    void TearDown() override
    {
        preview.reset();
        ViewTest::TearDown();
    }
    void setLabel(std::unique_ptr<CLabel> label)
    {
        doc->GetCurrentTemplate().SetLabel(std::move(label));
        preview->Invalidate();
    }
    int countColour(unsigned rgb) const { return testsupport::countPixels(preview->BackBuffer(), rgb); }

    std::unique_ptr<CLabelPreview> preview;
};

TEST_F(PreviewTest, WithoutALabelDefinitionOnlyTheHintIsDrawn)
{
    preview->Invalidate();
    const QImage& image = preview->BackBuffer();
    ASSERT_EQ(image.size(), QSize(800, 600));
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const unsigned rgb = image.pixel(x, y) & 0xFFFFFFu;
            if (rgb != kGrey) {
                ++ink;
                // The text lies in its rectangle from (20, 20) to (400, 400).
                EXPECT_TRUE(x >= 20 && x < 400 && y >= 20 && y < 400) << x << "," << y;
            }
        }
    EXPECT_GT(ink, 50);
    EXPECT_EQ(countColour(kWhite), 0);
}

TEST_F(PreviewTest, A4PageFitsTheWindowAtFiftyPixelsPerInch)
{
    setLabel(SheetLabel(3, 2));
    EXPECT_EQ(preview->GetScale(), 50);
    // 210 mm and 297 mm at 50 ppi: 413 and 585 pixels, framed from (8, 4).
    EXPECT_EQ(rgbAt(*preview, 7, 3), kGrey);
    EXPECT_EQ(rgbAt(*preview, 8, 4), kBlack);
    EXPECT_EQ(rgbAt(*preview, 421, 4), kBlack);
    EXPECT_EQ(rgbAt(*preview, 8, 589), kBlack);
    EXPECT_EQ(rgbAt(*preview, 421, 589), kBlack);
    EXPECT_EQ(rgbAt(*preview, 422, 300), kGrey);
    EXPECT_EQ(rgbAt(*preview, 300, 590), kGrey);
    EXPECT_EQ(rgbAt(*preview, 9, 5), kWhite);
    EXPECT_EQ(rgbAt(*preview, 420, 588), kWhite);

    // A label in the paper's corner lies on the page, its outline on the
    // page frame: nothing is drawn left of the paper or above it.
    auto corner = SheetLabel(3, 2);
    corner->SetLeft(0, 0);
    corner->SetTop(0, 0);
    setLabel(std::move(corner));
    const QImage& image = preview->BackBuffer();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (x < 8 || y < 4) {
                ASSERT_EQ(rgbAt(*preview, x, y), kGrey) << x << "," << y;
            }
    EXPECT_EQ(rgbAt(*preview, 8 + 59, 4), kOutline);      // the label's top edge on the frame
    EXPECT_EQ(rgbAt(*preview, 8, 4 + 29), kOutline);      // and its left edge
    EXPECT_EQ(rgbAt(*preview, 9, 5), kYellow);            // label 1, the current one, from the corner
    EXPECT_EQ(rgbAt(*preview, 8 + 118, 4 + 29), kOutline); // its right edge, 119 pixels wide
}

TEST_F(PreviewTest, TheSheetOfTheCurrentRowWithItsLabelInYellow)
{
    setLabel(SheetLabel(3, 2));
    doc->SetCurrentTableRow(7);
    preview->Invalidate();
    EXPECT_EQ(preview->GetDrawnLabelNumbers(), (std::vector<int>{7, 8, 9, 10, 11, 12}));
    // Label 8: row 0, column 1 at (177 + 8, 39 + 4), 119 x 60 pixels.
    EXPECT_EQ(rgbAt(*preview, 185 + 59, 43 + 29), kYellow);
    EXPECT_EQ(rgbAt(*preview, 8 + 39 + 59, 43 + 29), kWhite); // label 7

    // A label number that the sheet does not hold: no yellow at all.
    doc->SetCurrentTableRow(-5);
    preview->Invalidate();
    EXPECT_EQ(preview->GetDrawnLabelNumbers(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(countColour(kYellow), 0);
}

TEST_F(PreviewTest, ModuleMarkingShowsNoYellowLabel)
{
    auto label = SheetLabel(3, 2);
    label->ToggleModuleMarking();
    setLabel(std::move(label));
    doc->SetCurrentTableRow(7);
    preview->Invalidate();
    EXPECT_NE(rgbAt(*preview, 181 + 59, 47 + 29), kYellow);
}

TEST_F(PreviewTest, PrintOrderAndBlocksFollowThePrintedSheet)
{
    auto label = SheetLabel(2, 2);
    label->SetBlockCount(2);
    label->SetBlockSpace(5000);
    setLabel(std::move(label));
    // Across first: 1 2 / 3 4 in block 0, then 5 6 / 7 8 below it.
    EXPECT_EQ(preview->GetDrawnLabelNumbers(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    doc->SetCurrentTableRow(4); // label 5: block 1, row 0, column 0
    preview->Invalidate();
    // Block 1 starts at 2 x 35 + 5 + 20 mm below the block above.
    const int y = preview::ToPixels(70000 + 5000 + 20000 + 20000, 50) + preview::kPageTop;
    const int x = preview::ToPixels(20000, 50) + preview::kPageLeft;
    EXPECT_EQ(rgbAt(*preview, x + 20, y + 20), kYellow);

    doc->GetCurrentTemplate().SetSortVertical(true);
    doc->SetCurrentTableRow(1); // label 2 is now row 1, column 0
    preview->Invalidate();
    const int y2 = preview::ToPixels(35000 + 20000, 50) + preview::kPageTop;
    EXPECT_EQ(rgbAt(*preview, x + 20, y2 + 20), kYellow);
}

TEST_F(PreviewTest, LandscapeDefinitionShowsAWidePage)
{
    auto label = SheetLabel(3, 2);
    label->SetOrientation(2);
    setLabel(std::move(label));
    // 297 x 210 mm: the width limits the scale now.
    const int scale = preview->GetScale();
    const int right = preview::kPageLeft + preview::ToPixels(297000, scale);
    const int bottom = preview::kPageTop + preview::ToPixels(210000, scale);
    EXPECT_GT(right - preview::kPageLeft, bottom - preview::kPageTop);
    EXPECT_EQ(rgbAt(*preview, right, preview::kPageTop), kBlack);
    EXPECT_EQ(rgbAt(*preview, preview::kPageLeft, bottom), kBlack);
    EXPECT_EQ(rgbAt(*preview, right + 1, preview::kPageTop + 10), kGrey);
}

TEST_F(PreviewTest, ZoomTextsAndCommands)
{
    setLabel(SheetLabel(3, 2));
    EXPECT_FALSE(preview->OnZoomText("25"));
    EXPECT_FALSE(preview->OnZoomText("3200"));
    EXPECT_FALSE(preview->OnZoomText("abc"));
    EXPECT_EQ(preview->GetZoom(), 100);
    EXPECT_TRUE(preview->OnZoomText("26"));
    EXPECT_EQ(preview->GetZoom(), 26);
    EXPECT_TRUE(preview->OnZoomText("3199 %"));
    EXPECT_EQ(preview->GetZoom(), 3199);

    EXPECT_TRUE(preview->OnCmdMsg(cmd::kZoom200));
    EXPECT_EQ(preview->GetZoom(), 200);
    CCmdUI ui(841);
    ASSERT_TRUE(preview->OnUpdateCmdUI(ui));
    EXPECT_EQ(ui.GetChecked(), std::optional<bool>(true));
    // Twice the window: the view scrolls.
    EXPECT_EQ(preview->ContentSize(), QSize(1600, 1200));
    EXPECT_TRUE(preview->OnCmdMsg(cmd::kZoom50));
    EXPECT_EQ(preview->GetZoom(), 50);
    EXPECT_TRUE(preview->HandlesCommand(cmd::kShowTable));
}

TEST_F(PreviewTest, AnyWindowSizeAndZoomPaintsAPositiveScale)
{
    setLabel(SheetLabel(3, 2));
    preview->resize(10, 6);
    preview->Invalidate();
    EXPECT_GE(preview->GetScale(), 1);

    // 3199 % in a tall window: beyond 32 bits on the way, still exact.
    const SheetSize a4{210000, 297000};
    EXPECT_EQ(preview::ScaleFor(a4, 3199, 4000, 3000, 96), 8185);
    EXPECT_EQ(preview::ScaleFor(a4, 100, 10, 6, 96), 1);
    EXPECT_EQ(preview::ScaleFor(a4, 100, -50, -50, 96), 1);
    EXPECT_EQ(preview::ScaleFor(SheetSize{210000, 0}, 100, 800, 600, 96), 96);
    EXPECT_EQ(preview::ScaleFor(SheetSize{0, 297000}, 100, 800, 600, 96), 96);
}

TEST_F(PreviewTest, PositionsOutsideTheWindowAreNotVisited)
{
    auto label = SheetLabel(1000000, 1000000);
    label->SetColumnPitch(10000);
    label->SetRowPitch(10000);
    label->SetWidth(0, 8000, false);
    label->SetHeight(0, 8000);
    setLabel(std::move(label));
    preview->Invalidate();
    EXPECT_GT(preview->GetDrawnLabelCount(), 100);
    EXPECT_LT(preview->GetDrawnLabelCount(), 10000);
}

TEST_F(PreviewTest, OddDefinitionsPaintABoundedNumberOfPositions)
{
    // Pitches of nothing put a million by a million positions on one spot:
    // without a bound the paint would never end (its time is measured by
    // BM_PreviewOddDefinitions). A small window: every position is drawn
    // on the same few pixels.
    preview->resize(160, 120);
    auto stacked = SheetLabel(1000000, 1000000);
    stacked->SetColumnPitch(0);
    stacked->SetRowPitch(0);
    setLabel(std::move(stacked));
    preview->Invalidate();
    EXPECT_EQ(preview->GetDrawnLabelCount(), preview::kMaxDrawnPositions);

    // The largest counts and pitches a file may hold: the far blocks lie
    // beyond 64 bits of micrometres and label numbers.
    auto huge = SheetLabel(INT32_MAX, INT32_MAX);
    huge->SetRowPitch(INT32_MAX);
    huge->SetColumnPitch(INT32_MAX);
    huge->SetBlockCount(32767);
    setLabel(std::move(huge));
    EXPECT_GE(preview->GetDrawnLabelCount(), 1);
}

} // namespace
