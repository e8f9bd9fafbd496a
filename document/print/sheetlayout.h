#pragma once
// Where everything of one printed sheet goes, for a label definition and
// the order the labels are filled in: the paper, the label positions and
// their order, the offsets of the vertical blocks, the header and footer
// places, the cut lines between touching labels and the marker borders of
// a module-marking strip.
//
// Every place is in micrometres from the top-left corner of the paper, in
// 64 bits and held at the int64 limits instead of wrapping: a definition
// read from a file may multiply counts and pitches of any size. The sheet
// painter (sheetpainter.h) maps these places to a device for the print run
// and the preview alike.
#include <cstdint>
#include <limits>
#include <vector>

class CLabel;
class CModuleMarkingRow;
class CTemplate;

struct SheetPoint {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const SheetPoint&) const = default;
};

struct SheetSize {
    int64_t width = 0;
    int64_t height = 0;
    bool operator==(const SheetSize&) const = default;
};

// One label position: vertical block, row within the block, column.
struct SheetPosition {
    int block = 0;
    int row = 0;
    int column = 0;
    bool operator==(const SheetPosition&) const = default;
};

// The rows and columns of a block that are looked at (both ends included).
struct SheetSpan {
    int64_t firstRow = 0;
    int64_t lastRow = std::numeric_limits<int64_t>::max();
    int64_t firstColumn = 0;
    int64_t lastColumn = std::numeric_limits<int64_t>::max();
};

// A straight line, drawn from `from` to `to`.
struct SheetLine {
    SheetPoint from;
    SheetPoint to;
    bool operator==(const SheetLine&) const = default;
};

// a + b, held at the ends of the range where it would run past them: places
// on the sheet come from files and may be as far out as they like.
int64_t SheetAdd(int64_t a, int64_t b);

// The order of the positions within a block: row by row (each row across
// its columns) or column by column (each column down its rows). Blocks
// always follow one another down the sheet.
enum class SheetOrder { Across, Down };

// The order a template fills its sheets in: down the columns when it sorts
// vertically, else across the rows.
SheetOrder FillOrderOf(const CTemplate& tpl);

// What a printed label gets when label borders are on.
enum class LabelBorders {
    None,    // touching in one direction only: nothing
    Outline, // an outline of its own
    Corners, // only the corner arcs; the cut lines draw the straight edges
};

class CSheetLayout {
public:
    // The pen of a marker border.
    static constexpr int32_t kMarkerBorderWidth = 250; // um
    // The paper without a label definition: A4 portrait.
    static constexpr SheetSize kDefaultPaper{210000, 297000};

    // The layout reads the definition while it lives: it must not outlive it.
    CSheetLayout(const CLabel& label, SheetOrder order);

    const CLabel& Label() const { return m_label; }

    // --- the paper ----------------------------------------------------------------------
    // The paper the sheet is printed on, turned by the orientation. A
    // definition without a paper format whose paper flag is off is
    // continuous stock: its page is as long as its rows plus twice the top
    // margin.
    SheetSize PaperSize() const;
    static SheetSize PaperSizeOf(const CLabel* label);

    // --- positions and their order ------------------------------------------------------
    // Positions exist only when blocks, rows and columns are all at least 1;
    // otherwise the sheet has none and the counts below are 0.
    bool IsEmpty() const { return m_blocks <= 0; }
    int BlockCount() const { return m_blocks; }
    int RowCount() const { return m_rows; }
    int ColumnCount() const { return m_columns; }
    int64_t PositionsPerBlock() const;
    // All positions of the sheet, held at CLabel::kMaxLabelsPerSheet.
    int64_t PositionsPerSheet() const;
    SheetOrder Order() const { return m_order; }

    // The place of a position in the fill order (0 = filled first),
    // saturated; and the position at a place (0 <= index < PositionsPerSheet).
    int64_t IndexOf(const SheetPosition& p) const;
    SheetPosition PositionAt(int64_t index) const;
    // The place a print run fills first on its first page: `firstLabel`
    // (1-based) taken within the sheet, so that a first label past the
    // end is the last position.
    int64_t FirstIndex(int64_t firstLabel) const;
    // The first label number of the sheet that holds the 0-based table row
    // `row`, when every position takes `numbersPerPosition` numbers (a
    // module-marking strip takes one per module). 1 for a row before the
    // first sheet or for an empty sheet.
    int64_t SheetFirstNumber(int64_t row, int numbersPerPosition) const;
    // The label number shown at a position of the sheet starting at `first`.
    int64_t NumberAt(int64_t first, const SheetPosition& p, int numbersPerPosition) const;

    // --- geometry of the labels --------------------------------------------------------
    SheetSize LabelSize() const;
    // How far block b lies below block 0: b x (rows x row pitch +
    // vertical-block space + top margin).
    int64_t BlockOffset(int block) const;
    // The left edge of column c (c may be the column count: the right edge
    // of the last column) and the top edge of row r of block b.
    int64_t ColumnLeft(int64_t column) const;
    int64_t RowTop(int block, int64_t row) const;
    // The top-left corner of a label.
    SheetPoint Origin(const SheetPosition& p) const;

    // --- header and footer (parts 1 and 2) ------------------------------------------------
    bool HasPart(int part) const;
    SheetPoint PartOrigin(int part) const;
    SheetSize PartSize(int part) const;

    // --- borders and cut lines ----------------------------------------------------------
    LabelBorders BordersOfLabel() const;
    // Cut lines are drawn between labels that touch in both directions and
    // are not elliptical.
    bool HasCutLines() const;
    // The cut lines of block b around the printed positions from `first` to
    // `last` (in the fill order), in drawing order: every other line runs
    // backwards so that the pen goes back and forth. Lines of no length are
    // left out. Empty when the sheet has no cut lines. Only the edges of the
    // rows and columns of `span` are taken (a window onto a huge sheet).
    std::vector<SheetLine> CutLines(int block, const SheetPosition& first, const SheetPosition& last,
                                    const SheetSpan& span = {}) const;

    // --- marker borders of a module-marking strip ---------------------------------------
    // The length of a marker border: the strip width.
    int64_t MarkerBorderLength() const { return m_stripWidth; }
    // Where the marker borders of a strip lie, from the left edge of the
    // strip: at the end of every module but the last, and after the last
    // too when the modules are set apart by more than 999 um.
    static std::vector<int64_t> MarkerBorders(const CModuleMarkingRow& strip);

private:
    const CLabel& m_label;
    SheetOrder m_order;
    int m_blocks = 0;
    int m_rows = 0;
    int m_columns = 0;
    int64_t m_rowPitch = 0;
    int64_t m_columnPitch = 0;
    int64_t m_left = 0;
    int64_t m_top = 0;
    int64_t m_blockSpace = 0;
    int64_t m_stripWidth = 0;
};
