#include "document/print/sheetlayout.h"

#include "document/label/label.h"
#include "document/modulemarking/modulemarkingrow.h"
#include "document/template/template.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

int64_t satMul(int64_t a, int64_t b)
{
    int64_t r;
    if (__builtin_mul_overflow(a, b, &r))
        return (a < 0) != (b < 0) ? kMin : kMax;
    return r;
}

int64_t satAdd(int64_t a, int64_t b)
{
    int64_t r;
    if (__builtin_add_overflow(a, b, &r))
        return b < 0 ? kMin : kMax;
    return r;
}

} // namespace

int64_t SheetAdd(int64_t a, int64_t b)
{
    return satAdd(a, b);
}

SheetOrder FillOrderOf(const CTemplate& tpl)
{
    return tpl.IsSortVertical() ? SheetOrder::Down : SheetOrder::Across;
}

CSheetLayout::CSheetLayout(const CLabel& label, SheetOrder order)
    : m_label(label), m_order(order), m_rowPitch(label.GetRowPitch()), m_columnPitch(label.GetColumnPitch()),
      m_left(label.GetLeft(0)), m_top(label.GetTop(0)), m_blockSpace(label.GetBlockSpace()),
      m_stripWidth(label.GetStripWidth())
{
    if (label.GetBlockCount() >= 1 && label.GetRows() >= 1 && label.GetColumns() >= 1) {
        m_blocks = label.GetBlockCount();
        m_rows = label.GetRows();
        m_columns = label.GetColumns();
    }
}

// --- the paper ------------------------------------------------------------------------------

SheetSize CSheetLayout::PaperSize() const
{
    return PaperSizeOf(&m_label);
}

SheetSize CSheetLayout::PaperSizeOf(const CLabel* label)
{
    SheetSize page = kDefaultPaper;
    if (!label)
        return page;
    if (label->HasPaperFormat()) {
        page.width = label->GetPaperWidthUm();
        page.height = label->GetPaperLengthUm();
    } else if (!label->GetPaperFlag()) {
        // The oldest definitions know no bottom margin: the top one stands for it.
        page.height = satAdd(satMul(label->GetRows(), label->GetRowPitch()), 2 * int64_t(label->GetTop(0)));
    }
    if (label->GetOrientation() == kLandscape)
        std::swap(page.width, page.height);
    return page;
}

// --- positions and their order --------------------------------------------------------------

int64_t CSheetLayout::PositionsPerBlock() const
{
    return int64_t(m_rows) * m_columns;
}

int64_t CSheetLayout::PositionsPerSheet() const
{
    return IsEmpty() ? 0 : m_label.GetLabelsPerSheet();
}

int64_t CSheetLayout::IndexOf(const SheetPosition& p) const
{
    const int64_t within = m_order == SheetOrder::Down ? satAdd(satMul(p.column, m_rows), p.row)
                                                       : satAdd(satMul(p.row, m_columns), p.column);
    return satAdd(satMul(p.block, PositionsPerBlock()), within);
}

SheetPosition CSheetLayout::PositionAt(int64_t index) const
{
    const int64_t perBlock = PositionsPerBlock();
    if (perBlock <= 0)
        return {};
    index = std::clamp<int64_t>(index, 0, PositionsPerSheet() - 1);
    SheetPosition p;
    p.block = int(index / perBlock);
    const int64_t within = index % perBlock;
    if (m_order == SheetOrder::Down) {
        p.column = int(within / m_rows);
        p.row = int(within % m_rows);
    } else {
        p.row = int(within / m_columns);
        p.column = int(within % m_columns);
    }
    return p;
}

int64_t CSheetLayout::FirstIndex(int64_t firstLabel) const
{
    const int64_t perSheet = PositionsPerSheet();
    if (perSheet <= 0)
        return 0;
    return std::clamp<int64_t>(firstLabel, 1, perSheet) - 1;
}

int64_t CSheetLayout::SheetFirstNumber(int64_t row, int numbersPerPosition) const
{
    const int64_t perSheet = PositionsPerSheet();
    if (perSheet <= 0 || row < 0)
        return 1; // a row before the first sheet counts as on it
    const int64_t numbers = satMul(perSheet, std::max(numbersPerPosition, 1));
    // The quotient times `numbers` lies between 0 and `row`: no overflow.
    return numbers * (row / numbers) + 1;
}

int64_t CSheetLayout::NumberAt(int64_t first, const SheetPosition& p, int numbersPerPosition) const
{
    return satAdd(first, satMul(IndexOf(p), std::max(numbersPerPosition, 1)));
}

// --- geometry of the labels ---------------------------------------------------------------

SheetSize CSheetLayout::LabelSize() const
{
    return PartSize(0);
}

int64_t CSheetLayout::BlockOffset(int block) const
{
    const int64_t blockHeight = satAdd(satAdd(satMul(m_rows, m_rowPitch), m_blockSpace), m_top);
    return satMul(block, blockHeight);
}

int64_t CSheetLayout::ColumnLeft(int64_t column) const
{
    return satAdd(satMul(column, m_columnPitch), m_left);
}

int64_t CSheetLayout::RowTop(int block, int64_t row) const
{
    return satAdd(satAdd(satMul(row, m_rowPitch), BlockOffset(block)), m_top);
}

SheetPoint CSheetLayout::Origin(const SheetPosition& p) const
{
    return {ColumnLeft(p.column), RowTop(p.block, p.row)};
}

// --- header and footer ----------------------------------------------------------------------

bool CSheetLayout::HasPart(int part) const
{
    switch (part) {
    case 0: return true;
    case 1: return m_label.HasHeader();
    case 2: return m_label.HasFooter();
    default: return false;
    }
}

SheetPoint CSheetLayout::PartOrigin(int part) const
{
    return {m_label.GetLeft(part), m_label.GetTop(part)};
}

SheetSize CSheetLayout::PartSize(int part) const
{
    return {m_label.GetWidth(part), m_label.GetHeight(part)};
}

// --- borders and cut lines -----------------------------------------------------------------

LabelBorders CSheetLayout::BordersOfLabel() const
{
    const bool columnsTouch = m_label.IsColumnPitchEqualWidth();
    const bool rowsTouch = m_label.IsRowPitchEqualHeight();
    const int shape = m_label.GetShape(0);
    if (shape == kShapeEllipse || (!columnsTouch && !rowsTouch))
        return LabelBorders::Outline;
    if (shape == kShapeRounded && columnsTouch && rowsTouch)
        return LabelBorders::Corners;
    return LabelBorders::None;
}

bool CSheetLayout::HasCutLines() const
{
    return m_label.IsColumnPitchEqualWidth() && m_label.IsRowPitchEqualHeight() &&
           m_label.GetShape(0) != kShapeEllipse && m_label.GetWidth(0) > 0 && m_label.GetHeight(0) > 0;
}

// In the across order the printed positions form runs along the rows;
// filled down, they run down the columns and rows and columns change roles.
// "Major" is the direction the runs follow one another in, "minor" the one
// along a run.
std::vector<SheetLine> CSheetLayout::CutLines(int block, const SheetPosition& first, const SheetPosition& last,
                                              const SheetSpan& span) const
{
    std::vector<SheetLine> lines;
    if (IsEmpty() || !HasCutLines())
        return lines;
    const bool down = m_order == SheetOrder::Down;
    const int64_t s = down ? first.column : first.row;
    const int64_t b = down ? first.row : first.column;
    const int64_t e = down ? last.column : last.row;
    const int64_t k = down ? last.row : last.column;
    const int64_t minorCount = down ? m_rows : m_columns;
    // The edges looked at: those of the rows and columns of the span, the
    // far edge of its last one too.
    const int64_t majorFrom = down ? span.firstColumn : span.firstRow;
    const int64_t majorTo = down ? span.lastColumn : span.lastRow;
    const int64_t minorFrom = down ? span.firstRow : span.firstColumn;
    const int64_t minorTo = down ? span.lastRow : span.lastColumn;
    auto majorEdge = [&](int64_t i) { return down ? ColumnLeft(i) : RowTop(block, i); };
    auto minorEdge = [&](int64_t g) { return down ? RowTop(block, g) : ColumnLeft(g); };
    // A line across the runs or along them; every other one backwards.
    auto add = [&](bool alongRun, int64_t fixed, int64_t from, int64_t to) {
        if (from == to)
            return;
        const bool horizontal = alongRun != down;
        SheetLine line = horizontal ? SheetLine{{from, fixed}, {to, fixed}} : SheetLine{{fixed, from}, {fixed, to}};
        if (lines.size() % 2 == 1)
            std::swap(line.from, line.to);
        lines.push_back(line);
    };
    for (int64_t i = std::max(s, majorFrom); i <= e + 1 && i - 1 <= majorTo; ++i) {
        const int64_t from = minorEdge(i == s || s == e ? b : 0);
        const int64_t to = minorEdge((i == e + 1 || s == e ? k : minorCount - 1) + 1);
        add(true, majorEdge(i), from, to);
    }
    // The boundaries g between positions along a run, each a line across
    // the runs: from the start of run s (of run s + 1 before the first
    // printed position) to the end of run e (to its start after the
    // boundary that closes the last printed position). Stretches of
    // boundaries without a line are stepped over whole, so that a sheet of
    // millions of columns costs no more than the lines it gets.
    for (int64_t g = std::max<int64_t>(minorFrom, 0); g <= minorCount && g - 1 <= minorTo;) {
        const int64_t from = g < b ? s + 1 : s;
        const int64_t to = g <= k + 1 ? e + 1 : e;
        if (from == to) {
            int64_t next = minorCount + 1;
            if (b > g)
                next = std::min(next, b);
            if (k + 2 > g)
                next = std::min(next, k + 2);
            g = next;
            continue;
        }
        add(false, minorEdge(g), majorEdge(from), majorEdge(to));
        ++g;
    }
    return lines;
}

// --- marker borders -------------------------------------------------------------------------

std::vector<int64_t> CSheetLayout::MarkerBorders(const CModuleMarkingRow& strip)
{
    std::vector<int64_t> at;
    const int count = strip.GetModuleCount();
    for (int i = 0; i < count; ++i) {
        if (i == count - 1 && strip.GetGap() <= 999)
            break;
        at.push_back(int64_t(strip.GetModulePosition(i)) + strip.GetModuleLength(i));
    }
    return at;
}
