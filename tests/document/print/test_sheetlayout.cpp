// The sheet layout against the placement rules of the printed sheet: the
// label origin (c x column pitch + left margin; r x row pitch + b x (rows x
// row pitch + block space + top margin) + top margin), the fill order of
// the positions in and across blocks, the first label, the paper of sheets
// and of continuous stock, header and footer places, the cut lines between
// touching labels, the marker borders of a strip, and definitions whose
// counts are zero, negative or as large as a file may hold.
#include "document/print/sheetlayout.h"
#include "document/print/sheetpainter.h"

#include "document/label/labelfile.h"
#include "document/modulemarking/modulemarkingrow.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace {

constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();

// 3 columns x 4 rows of 50 x 20 mm at pitches 60 x 25 mm, margins 10 and
// 5 mm, `blocks` vertical blocks 3 mm apart.
std::unique_ptr<CLabelFileNew> sheet(int blocks = 1)
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetColumnPitch(60000);
    label->SetRowPitch(25000);
    label->SetWidth(0, 50000, true);
    label->SetHeight(0, 20000);
    label->SetColumns(3);
    label->SetRows(4);
    label->SetLeft(0, 10000);
    label->SetTop(0, 5000);
    label->SetBlockCount(blocks);
    label->SetBlockSpace(3000);
    return label;
}

// The origin as the placement rule writes it, independently of the layout.
SheetPoint ruleOrigin(const CLabel& l, int b, int r, int c)
{
    const int64_t blockHeight = int64_t(l.GetRows()) * l.GetRowPitch() + l.GetBlockSpace() + l.GetTop(0);
    return {int64_t(c) * l.GetColumnPitch() + l.GetLeft(0),
            int64_t(r) * l.GetRowPitch() + int64_t(b) * blockHeight + l.GetTop(0)};
}

} // namespace

TEST(SheetLayout, OriginsFollowThePlacementRuleInEveryBlock)
{
    const auto label = sheet(3);
    const CSheetLayout layout(*label, SheetOrder::Across);
    EXPECT_EQ(layout.BlockOffset(0), 0);
    EXPECT_EQ(layout.BlockOffset(2), 2 * (4 * 25000 + 3000 + 5000));
    for (int b = 0; b < 3; ++b)
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(layout.Origin({b, r, c}), ruleOrigin(*label, b, r, c)) << b << r << c;
    // The right edge of the last column and the bottom of the last row.
    EXPECT_EQ(layout.ColumnLeft(3), 3 * 60000 + 10000);
    EXPECT_EQ(layout.RowTop(0, 4), 4 * 25000 + 5000);
    EXPECT_EQ(layout.LabelSize(), (SheetSize{50000, 20000}));
}

TEST(SheetLayout, FillOrderAcrossOrDownWithinBlocksThatFollowOneAnother)
{
    const auto label = sheet(2);
    for (SheetOrder order : {SheetOrder::Across, SheetOrder::Down}) {
        const CSheetLayout layout(*label, order);
        ASSERT_EQ(layout.PositionsPerSheet(), 24);
        ASSERT_EQ(layout.PositionsPerBlock(), 12);
        std::set<std::tuple<int, int, int>> seen;
        for (int64_t i = 0; i < 24; ++i) {
            const SheetPosition p = layout.PositionAt(i);
            EXPECT_EQ(layout.IndexOf(p), i);
            EXPECT_EQ(p.block, i / 12);
            const int64_t within = i % 12;
            if (order == SheetOrder::Across) {
                EXPECT_EQ(p.row, within / 3);
                EXPECT_EQ(p.column, within % 3);
            } else {
                EXPECT_EQ(p.column, within / 4);
                EXPECT_EQ(p.row, within % 4);
            }
            seen.insert({p.block, p.row, p.column});
        }
        EXPECT_EQ(seen.size(), 24u);
        // Indices beyond the sheet stay on it.
        EXPECT_EQ(layout.PositionAt(99), layout.PositionAt(23));
        EXPECT_EQ(layout.PositionAt(-3), layout.PositionAt(0));
    }
}

TEST(SheetLayout, FirstLabelAndSheetNumbers)
{
    const auto label = sheet();
    const CSheetLayout layout(*label, SheetOrder::Across);
    EXPECT_EQ(layout.FirstIndex(1), 0);
    EXPECT_EQ(layout.FirstIndex(5), 4);
    // Nothing before the first position, the last one past the end.
    EXPECT_EQ(layout.FirstIndex(0), 0);
    EXPECT_EQ(layout.FirstIndex(-7), 0);
    EXPECT_EQ(layout.FirstIndex(13), 11);
    EXPECT_EQ(layout.FirstIndex(kInt64Max), 11);

    // 12 positions: row 7 (0-based) lies on the first sheet, row 12 on the second.
    EXPECT_EQ(layout.SheetFirstNumber(7, 1), 1);
    EXPECT_EQ(layout.SheetFirstNumber(12, 1), 13);
    EXPECT_EQ(layout.NumberAt(13, {0, 1, 2}, 1), 18);
    // Strips of three modules take three numbers each.
    EXPECT_EQ(layout.SheetFirstNumber(40, 3), 37);
    EXPECT_EQ(layout.NumberAt(37, {0, 0, 2}, 3), 43);
    // A row before the first sheet shows the first sheet.
    EXPECT_EQ(layout.SheetFirstNumber(-5, 1), 1);
    EXPECT_EQ(layout.SheetFirstNumber(-15, 1), 1);
}

TEST(SheetLayout, SheetsWithoutPositions)
{
    for (auto set : std::initializer_list<void (*)(CLabel&)>{
             [](CLabel& l) { l.SetRows(0); }, [](CLabel& l) { l.SetColumns(0); },
             [](CLabel& l) { l.SetBlockCount(0); },
             // Two negative counts multiply to a positive number of nothing.
             [](CLabel& l) {
                 l.SetRows(-1);
                 l.SetColumns(-1);
             }}) {
        auto label = sheet();
        set(*label);
        const CSheetLayout layout(*label, SheetOrder::Across);
        EXPECT_TRUE(layout.IsEmpty());
        EXPECT_EQ(layout.PositionsPerSheet(), 0);
        EXPECT_EQ(layout.BlockCount(), 0);
        EXPECT_EQ(layout.FirstIndex(5), 0);
        EXPECT_EQ(layout.SheetFirstNumber(7, 1), 1);
        EXPECT_TRUE(layout.CutLines(0, {}, {}).empty());
    }
}

TEST(SheetLayout, CountsAndPitchesAsLargeAsAFileMayHoldSaturate)
{
    auto label = sheet(32767);
    label->SetRows(INT32_MAX);
    label->SetColumns(INT32_MAX);
    label->SetRowPitch(INT32_MAX);
    label->SetColumnPitch(INT32_MAX);
    label->SetTop(0, INT32_MAX);
    label->SetBlockSpace(INT32_MAX);
    for (SheetOrder order : {SheetOrder::Across, SheetOrder::Down}) {
        const CSheetLayout layout(*label, order);
        EXPECT_EQ(layout.PositionsPerSheet(), CLabel::kMaxLabelsPerSheet);
        const SheetPosition far{32766, INT32_MAX - 1, INT32_MAX - 1};
        EXPECT_EQ(layout.Origin(far).y, kInt64Max);
        // A compensation moves the farthest place no further.
        const SheetMapping compensated = SheetMapping::Printer(600, 600, POINT{}, SheetPoint{INT32_MAX, INT32_MAX});
        EXPECT_EQ(compensated.Y(layout.Origin(far).y), SheetMapping::Printer(600, 600, POINT{}).Y(kInt64Max));
        EXPECT_EQ(layout.Origin(far).x, ruleOrigin(*label, 0, 0, INT32_MAX - 1).x); // 2^62: still exact
        EXPECT_EQ(layout.IndexOf(far), kInt64Max);
        EXPECT_EQ(layout.NumberAt(kInt64Max - 2, {0, 0, 5}, 7), kInt64Max);
        // Block 1 starts below block 0 as far as 64 bits go; places never
        // go back up.
        EXPECT_GT(layout.BlockOffset(1), 0);
        EXPECT_LE(layout.RowTop(1, 0), layout.RowTop(2, 0));
        const SheetPosition last = layout.PositionAt(layout.PositionsPerSheet() - 1);
        EXPECT_EQ(layout.IndexOf(last), layout.PositionsPerSheet() - 1);
        EXPECT_GT(layout.SheetFirstNumber(INT32_MAX, 100), 0);
    }
}

TEST(SheetLayout, PaperOfSheetsAndOfContinuousStock)
{
    EXPECT_EQ(CSheetLayout::PaperSizeOf(nullptr), (SheetSize{210000, 297000}));
    auto a5 = sheet();
    ASSERT_TRUE(a5->SetPaperName("A5"));
    EXPECT_EQ(CSheetLayout(*a5, SheetOrder::Across).PaperSize(), (SheetSize{148000, 210000}));
    a5->SetOrientation(kLandscape);
    EXPECT_EQ(CSheetLayout(*a5, SheetOrder::Across).PaperSize(), (SheetSize{210000, 148000}));

    // A definition without a paper format is a roll: its page is its rows
    // with the top margin above and below them.
    CLabelExt roll;
    roll.SetRowPitch(12000);
    roll.SetColumnPitch(30000);
    roll.SetWidth(0, 30000, true);
    roll.SetHeight(0, 12000);
    roll.SetRows(7);
    roll.SetColumns(1);
    roll.SetTop(0, 1500);
    const CSheetLayout layout(roll, SheetOrder::Across);
    EXPECT_EQ(layout.PaperSize(), (SheetSize{210000, 7 * 12000 + 2 * 1500}));
    EXPECT_EQ(layout.Origin({0, 6, 0}), ruleOrigin(roll, 0, 6, 0));
    EXPECT_FALSE(layout.HasPart(1));
}

TEST(SheetLayout, HeaderAndFooterPlaces)
{
    auto label = sheet();
    label->SetWidth(1, 180000, true);
    label->SetHeight(1, 8000);
    label->SetLeft(1, 15000);
    label->SetTop(1, 2000);
    label->SetWidth(2, 100000, true);
    label->SetHeight(2, 6000);
    label->SetLeft(2, 20000);
    label->SetTop(2, 280000);
    label->TogglePart(2);
    const CSheetLayout layout(*label, SheetOrder::Across);
    EXPECT_TRUE(layout.HasPart(0));
    EXPECT_TRUE(layout.HasPart(1));
    EXPECT_FALSE(layout.HasPart(2));
    EXPECT_FALSE(layout.HasPart(3));
    EXPECT_EQ(layout.PartOrigin(1), (SheetPoint{15000, 2000}));
    EXPECT_EQ(layout.PartSize(1), (SheetSize{180000, 8000}));
    EXPECT_EQ(layout.PartOrigin(2), (SheetPoint{20000, 280000}));
}

TEST(SheetLayout, BordersOfPrintedLabels)
{
    struct Case {
        int shape;
        bool columnsTouch;
        bool rowsTouch;
        LabelBorders borders;
        bool cutLines;
    };
    for (const Case& k : {Case{kShapeRectangle, true, true, LabelBorders::None, true},
                          Case{kShapeRounded, true, true, LabelBorders::Corners, true},
                          Case{kShapeEllipse, true, true, LabelBorders::Outline, false},
                          Case{kShapeRectangle, false, false, LabelBorders::Outline, false},
                          Case{kShapeRounded, true, false, LabelBorders::None, false},
                          Case{kShapeRectangle, false, true, LabelBorders::None, false}}) {
        auto label = sheet();
        label->SetShape(0, k.shape);
        label->SetColumnPitch(k.columnsTouch ? 50000 : 60000);
        label->SetRowPitch(k.rowsTouch ? 20000 : 25000);
        const CSheetLayout layout(*label, SheetOrder::Across);
        EXPECT_EQ(layout.BordersOfLabel(), k.borders) << k.shape << k.columnsTouch << k.rowsTouch;
        EXPECT_EQ(layout.HasCutLines(), k.cutLines) << k.shape << k.columnsTouch << k.rowsTouch;
    }
}

namespace {

// 3 x 3 touching labels of 10 x 5 mm, no margins: edges every 10 / 5 mm.
std::unique_ptr<CLabelFileNew> touching()
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetColumnPitch(10000);
    label->SetRowPitch(5000);
    label->SetWidth(0, 10000, true);
    label->SetHeight(0, 5000);
    label->SetColumns(3);
    label->SetRows(3);
    label->SetLeft(0, 0);
    label->SetTop(0, 0);
    label->SetBlockCount(2);
    label->SetBlockSpace(0);
    return label;
}

SheetLine h(int64_t y, int64_t x1, int64_t x2)
{
    return {{x1, y}, {x2, y}};
}
SheetLine v(int64_t x, int64_t y1, int64_t y2)
{
    return {{x, y1}, {x, y2}};
}

} // namespace

TEST(SheetLayout, CutLinesAroundThePrintedPositionsBackAndForth)
{
    const auto label = touching();
    const CSheetLayout across(*label, SheetOrder::Across);
    // Positions from (row 0, column 1) to (row 1, column 0): the top edge
    // from column 1, the edge between the rows over all columns, the bottom
    // edge under column 0; then the column edges, every other one upwards.
    const std::vector<SheetLine> lines = across.CutLines(0, {0, 0, 1}, {0, 1, 0});
    const std::vector<SheetLine> expected{
        h(0, 10000, 30000), h(5000, 30000, 0),  h(10000, 0, 10000), // rows
        v(0, 10000, 5000),  v(10000, 0, 10000), v(20000, 5000, 0),  // columns
        v(30000, 0, 5000),
    };
    EXPECT_EQ(lines, expected);

    // One row only: from the first to the last printed column.
    EXPECT_EQ(across.CutLines(0, {0, 2, 1}, {0, 2, 1}),
              (std::vector<SheetLine>{h(10000, 10000, 20000), h(15000, 20000, 10000), v(10000, 10000, 15000),
                                      v(20000, 15000, 10000)}));

    // Block 1 lies a block height (3 x 5 mm) lower; filled down, columns
    // and rows change roles.
    const CSheetLayout down(*label, SheetOrder::Down);
    const std::vector<SheetLine> d = down.CutLines(1, {1, 1, 0}, {1, 0, 1});
    const std::vector<SheetLine> expectedDown{
        v(0, 20000, 30000),     v(10000, 30000, 15000), v(20000, 15000, 20000), // columns
        h(15000, 20000, 10000), h(20000, 0, 20000),     h(25000, 10000, 0),     // rows
        h(30000, 0, 10000),
    };
    EXPECT_EQ(d, expectedDown);
}

TEST(SheetLayout, CutLinesOfAMillionColumnsCostOnlyTheirLinesOrThoseOfTheirSpan)
{
    auto label = touching();
    label->SetColumns(INT32_MAX);
    const CSheetLayout layout(*label, SheetOrder::Across);
    // From the last column of row 0 to the first of row 1: two labels.
    const std::vector<SheetLine> lines = layout.CutLines(0, {0, 0, INT32_MAX - 1}, {0, 1, 0});
    EXPECT_LE(lines.size(), 8u);
    EXPECT_EQ(lines.front(), h(0, int64_t(INT32_MAX - 1) * 10000, int64_t(INT32_MAX) * 10000));

    // A whole block of thousands of millions of rows and columns, looked
    // at through rows 3..4 and columns 10..11: the edges of those alone,
    // each as long as the block.
    label->SetRows(INT32_MAX);
    const CSheetLayout huge(*label, SheetOrder::Across);
    const int64_t right = int64_t(INT32_MAX) * 10000;
    const int64_t bottom = int64_t(INT32_MAX) * 5000;
    const std::vector<SheetLine> window =
        huge.CutLines(0, {0, 0, 0}, {0, INT32_MAX - 1, INT32_MAX - 1}, SheetSpan{3, 4, 10, 11});
    const std::vector<SheetLine> expected{
        h(15000, 0, right),   h(20000, right, 0),   h(25000, 0, right),
        v(100000, bottom, 0), v(110000, 0, bottom), v(120000, bottom, 0),
    };
    EXPECT_EQ(window, expected);
}

TEST(SheetLayout, MarkerBordersAtTheEndsOfTheModules)
{
    CModuleMarkingRow strip;
    ASSERT_TRUE(strip.SetModuleCount(3));
    for (int i = 0; i < 3; ++i) {
        strip.Module(i).m_width = 10000 + 1000 * i;
        strip.Module(i).m_multiplier = i == 1 ? 2 : 1;
    }
    strip.SetLeftMargin(2000);
    strip.SetAllGaps(999);
    // Modules of 10, 22 and 12 mm from 2 mm on, 0.999 mm apart: the last
    // one gets no line.
    EXPECT_EQ(CSheetLayout::MarkerBorders(strip), (std::vector<int64_t>{12000, 34999}));
    strip.SetAllGaps(1000);
    EXPECT_EQ(CSheetLayout::MarkerBorders(strip), (std::vector<int64_t>{12000, 35000, 48000}));
    EXPECT_EQ(CSheetLayout::kMarkerBorderWidth, 250);

    auto label = sheet();
    label->ToggleModuleMarking();
    ASSERT_TRUE(label->SetStripWidth(9000));
    EXPECT_EQ(CSheetLayout(*label, SheetOrder::Across).MarkerBorderLength(), 9000);
}
