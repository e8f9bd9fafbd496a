#pragma once
// The data table: the record source of a label run, one row per label and
// one text cell per column (columns A..Z are positions 0..25).
//
// Rows are ragged: a row holds only as many cells as were set or inserted,
// and a missing row, cell or text reads as the empty text. Cell texts are
// byte strings in the Windows code page of the files, at most 255 bytes and
// without NUL bytes (a text is cut at its first NUL, like the C strings the
// files were made from, and after 255 bytes). An absent text and an empty
// one are the same thing.
//
// Besides the rows a table carries 256 column flags, one per column
// position; a non-zero flag among positions 0..25 marks an image column
// whose cells name picture files. The flags above 25 have no meaning but
// are copied, stored and shifted with the rest.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class RecordReader;
class RecordWriter;

class CDataTableCell {
public:
    CDataTableCell() = default;
    explicit CDataTableCell(std::string_view text) { SetText(text); }

    const std::string& GetText() const { return m_text; }
    // Stores a copy of the text, cut at its first NUL and after 255 bytes.
    void SetText(std::string_view text);
    // A null text clears the cell.
    void SetText(const char* text) { SetText(text ? std::string_view(text) : std::string_view()); }

    friend bool operator==(const CDataTableCell&, const CDataTableCell&) = default;

private:
    std::string m_text;
};

class CDataTableRow {
public:
    int GetCellCount() const { return int(m_cells.size()); }
    // The text of cell n; the empty text when the row has no cell n.
    const std::string& GetCellText(int n) const;
    // Appends empty cells up to cell n, then sets it. Nothing for a negative
    // n or one at or above CDataTableBase::kMaxColumns.
    void SetCellText(int n, std::string_view text);
    void SetCellText(int n, const char* text) { SetCellText(n, text ? std::string_view(text) : std::string_view()); }
    // The same, making room for `reserve` cells when the row has none yet.
    void SetCellText(int n, std::string_view text, int reserve);
    // Inserts an empty cell before cell n when cell n exists.
    void InsertCell(int n);
    // Removes cell n when it exists.
    void RemoveCell(int n);
    // True when every cell is empty, also for a row without cells.
    bool IsEmpty() const;

    friend bool operator==(const CDataTableRow&, const CDataTableRow&) = default;

private:
    friend class CDataTableBase;
    std::vector<CDataTableCell> m_cells;
};

class CDataTableBase {
public:
    // Number of column flags, and the highest number of cells a row is given
    // by SetCellText or Load (the columns of a table are A..Z; the rest only
    // keeps odd files and callers from growing rows without bound).
    static constexpr int kFlagCount = 256;
    static constexpr int kMaxColumns = 256;
    // Column positions that are real columns (A..Z).
    static constexpr int kColumnCount = 26;
    // Longest cell text in bytes.
    static constexpr int kMaxCellText = 255;
    // Highest number of rows SetCellText creates (beyond any spreadsheet).
    static constexpr int kMaxRows = 1 << 22;

    // Magic and version of the stored table block.
    static constexpr uint32_t kMagic = 0x4C424154; // "TABL"
    static constexpr int32_t kVersion = 1;

    CDataTableBase() { m_flags.fill(0); }
    CDataTableBase(const CDataTableBase&) = default;
    CDataTableBase& operator=(const CDataTableBase&) = default;
    CDataTableBase(CDataTableBase&&) noexcept = default;
    CDataTableBase& operator=(CDataTableBase&&) noexcept = default;
    virtual ~CDataTableBase() = default;

    int GetRowCount() const { return int(m_rows.size()); }
    // Rows up to and including the last row that holds a non-empty cell.
    int GetUsedRowCount() const;
    // Cells of a row; 0 for a missing row.
    int GetCellCount(int row) const;
    // The row, or null when it does not exist.
    const CDataTableRow* GetRow(int row) const;

    // Number of image columns among A..Z.
    int GetImageColumnCount() const;
    // Column flag of a position 0..255 (0 outside).
    uint8_t GetColumnFlag(int position) const;
    // Sets the flag of a position 0..255; nothing outside.
    void SetColumnFlag(int position, uint8_t flag);

    // The cell's text; the empty text when the row or cell is missing.
    const std::string& GetCellText(int row, int column) const;
    // Appends empty rows until the row exists and empty cells until the cell
    // exists, then stores the text (see the cell's SetText). Nothing for a
    // negative row or column, a row at or above kMaxRows or a column at or
    // above kMaxColumns.
    void SetCellText(int row, int column, std::string_view text);
    void SetCellText(int row, int column, const char* text)
    {
        SetCellText(row, column, text ? std::string_view(text) : std::string_view());
    }

    // Inserts an empty row before row n; nothing unless row n exists.
    void InsertRow(int n);
    // Inserts `count` empty rows before row n at once, as that many calls
    // of InsertRow (n) would, as many as fit below kMaxRows; nothing unless
    // row n exists, nor for a count below 1.
    void InsertRows(int n, int count);
    // Appends an empty row and answers its index; -1 (nothing appended)
    // when the table already holds kMaxRows rows.
    int AppendRow();
    // Removes row n; nothing unless it exists.
    void DeleteRow(int n);
    // Inserts a column before column n (0..25): the flags from n on move up
    // one place (the last one drops out) and the new column is no image
    // column; rows that have a cell n get an empty cell before it.
    void InsertColumn(int n);
    // Removes column n (0..25): the flags above n move down one place (the
    // last one stays as it was); rows that have a cell n lose it.
    void DeleteColumn(int n);
    void RemoveAllRows() { m_rows.clear(); }

    // Makes room for `rows` rows (at most kMaxRows), and has every row that
    // gets its first cell afterwards make room for `cellsPerRow` cells (at
    // most kMaxColumns). Only speeds up filling a table whose size is
    // known; the contents stay as they are.
    void Reserve(int rows, int cellsPerRow);

    // Sorts the rows by the texts of one column (missing cells count as
    // empty), stable. Two texts that both begin with a number (read with the
    // decimal separator given, or else the user's) compare as numbers,
    // otherwise byte by byte as unsigned bytes, case-sensitive. The choice is
    // made for each pair, so numbers sort among themselves by value and
    // against texts by their bytes: 10, 9, b, a ascending give 9, 10, a, b.
    // Nothing for a negative column.
    void SortRows(int column, bool descending);
    void SortRows(int column, bool descending, char decimalSeparator);
    // The same, telling where each row came from: afterwards row i is the
    // row that was at origin[i] before (the identity when nothing moved).
    void SortRows(int column, bool descending, std::vector<int>& origin);

    // Reads a table block into this table (meant for a new, empty table),
    // each cell stored as SetCellText(row, cell, text) would store it, and
    // each row of the block made to exist, also when it holds no cells.
    // Answers false when the block is truncated or damaged; the reader's
    // status tells which. A wrong magic, a version above 1, a flag count
    // other than 256 or a negative count marks it damaged and leaves the
    // table as it was; the rows and cells read before a truncation stay.
    // Cells beyond kMaxColumns in a row are read and dropped; texts longer
    // than 255 bytes keep their first 255.
    bool Load(RecordReader& reader);
    // Writes the table block: every row and cell, trailing empty ones too.
    void Save(RecordWriter& writer) const;

    friend bool operator==(const CDataTableBase& a, const CDataTableBase& b)
    {
        return a.m_rows == b.m_rows && a.m_flags == b.m_flags;
    }

private:
    std::vector<uint32_t> sortedOrder(int column, bool descending, char decimalSeparator) const;

    std::vector<CDataTableRow> m_rows;
    std::array<uint8_t, kFlagCount> m_flags;
    // Cells a row makes room for when it gets its first one (see Reserve).
    int m_cellsPerRow = 0;
};
