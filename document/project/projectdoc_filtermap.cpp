// The tie between a table's filtered copy and its full table: the write
// path every edit of the visible filtered copy takes, and the row map of a
// filtered copy read from a file.
#include "document/project/projectdoc.h"

#include <string>
#include <unordered_map>
#include <vector>

void CVorteplanSoftLabelDoc::writeFilteredCell(TableSlot& s, int row, int column, std::string_view text)
{
    const int32_t fullColumn = s.map.GetAt(column);
    if (s.inStep && fullColumn < 0)
        return;
    const int before = s.filtered->GetRowCount();
    s.filtered->SetCellText(row, column, text);
    if (!s.inStep || row >= s.filtered->GetRowCount())
        return;
    // Rows the write created in front of it are rows of the table too.
    for (int r = before; r < row; ++r)
        tieFilteredRow(s, r);
    const int32_t fullRow = tieFilteredRow(s, row);
    if (fullRow >= 0)
        s.table->SetCellText(fullRow, fullColumn, text);
}

int32_t CVorteplanSoftLabelDoc::tieFilteredRow(TableSlot& s, int row)
{
    const int32_t mapped = s.rowMap.GetAt(row);
    if (mapped >= 0 && mapped < s.table->GetRowCount())
        return mapped;
    if (row < 0 || row >= CDataTableRowMap::maxSize())
        return -1;
    const int32_t fullRow = s.table->AppendRow();
    if (fullRow < 0)
        return -1;
    if (const CDataTableRow* cells = s.filtered->GetRow(row)) {
        for (int c = 0; c < cells->GetCellCount(); ++c) {
            const int32_t fullColumn = s.map.GetAt(c);
            const std::string& text = cells->GetCellText(c);
            if (fullColumn >= 0 && !text.empty())
                s.table->SetCellText(fullRow, fullColumn, text);
        }
    }
    s.rowMap.Grow(row);
    s.rowMap.SetAt(row, fullRow);
    return fullRow;
}

namespace {

// A text as a filtered copy may show it, without the leading blanks and
// strip characters the filter may have removed: a copy built by the filter
// holds cleaned texts, one typed into holds them as typed.
std::string_view looseText(const CDataTableFilter& filter, std::string_view text)
{
    auto removable = [&filter](char ch) {
        if (ch == ' ')
            return true;
        for (int i = 0; i < CDataTableFilter::kTexts; ++i)
            if (filter.GetStripCharByte(i) != '\0' && ch == filter.GetStripCharByte(i))
                return true;
        return false;
    };
    size_t first = 0;
    while (first < text.size() && removable(text[first]))
        ++first;
    return text.substr(first);
}

// The texts a row shows in the shown columns 0..shown-1, each loosened,
// separated by NUL (no text holds one). `cellOf` gives the text of shown
// column c.
template <class CellOf>
std::string rowKey(const CDataTableFilter& filter, int shown, CellOf&& cellOf)
{
    std::string key;
    for (int c = 0; c < shown; ++c) {
        key += looseText(filter, cellOf(c));
        key += '\0';
    }
    return key;
}

// Full rows of one key, in table order, and how many of them are taken.
struct Candidates {
    std::vector<int32_t> rows;
    size_t taken = 0;
};

int32_t take(std::unordered_map<std::string, Candidates>& byKey, const std::string& key)
{
    const auto it = byKey.find(key);
    if (it == byKey.end() || it->second.taken >= it->second.rows.size())
        return -1;
    return it->second.rows[it->second.taken++];
}

} // namespace

void CVorteplanSoftLabelDoc::TieFilteredCopy(int slot)
{
    if (!validSlot(slot))
        return;
    TableSlot& s = m_tables[size_t(slot)];
    s.rowMap.Clear();
    s.inStep = false;
    if (!s.filter || !s.filter->IsActive() || !s.filtered)
        return;
    const CDataTableFilter& filter = *s.filter;
    const CDataTableBase& full = *s.table;
    const CDataTableBase& copy = *s.filtered;
    int shown = 0;
    while (shown < CDataTableMap::kSize && s.map.GetAt(shown) >= 0)
        ++shown;

    // Rows that pass the filter are the ones the copy was built from; the
    // others come in only for rows whose edit made them fail it.
    std::unordered_map<std::string, Candidates> passing;
    std::unordered_map<std::string, Candidates> failing;
    for (int i = 0; i < full.GetRowCount(); ++i) {
        std::string key =
            rowKey(filter, shown, [&](int c) -> const std::string& { return full.GetCellText(i, s.map.GetAt(c)); });
        (filter.RowPasses(&full, i) ? passing : failing)[std::move(key)].rows.push_back(i);
    }
    std::vector<int> unmatched;
    for (int r = 0; r < copy.GetRowCount(); ++r) {
        const std::string key =
            rowKey(filter, shown, [&](int c) -> const std::string& { return copy.GetCellText(r, c); });
        int32_t fullRow = take(passing, key);
        if (fullRow < 0)
            fullRow = take(failing, key);
        if (fullRow < 0) {
            unmatched.push_back(r);
            continue;
        }
        s.rowMap.Grow(r);
        s.rowMap.SetAt(r, fullRow);
    }
    // What the copy shows and the full table lacks (an edit an older
    // program kept in the copy only) is kept as rows of the full table.
    for (const int r : unmatched)
        tieFilteredRow(s, r);
    s.inStep = true;
}
