#include "content/tables/datatable.h"

#include "platform/numberformat.h"
#include "platform/record.h"

#include <algorithm>
#include <cstring>

namespace {

const std::string& emptyText()
{
    static const std::string empty;
    return empty;
}

// The part of a text a cell keeps: up to its first NUL, at most 255 bytes.
std::string_view cellPart(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    if (text.size() > size_t(CDataTableBase::kMaxCellText))
        text = text.substr(0, CDataTableBase::kMaxCellText);
    return text;
}

// Copies a cell text of up to 255 bytes in a few fixed-size moves. With
// the length known to be that small the compiler inlines a plain memcpy as
// a string instruction whose start-up alone costs more than the rest of
// setting a cell.
void copyText(char* dst, const char* src, size_t n)
{
    if (n >= 16) {
        for (size_t i = 0; i + 16 < n; i += 16)
            std::memcpy(dst + i, src + i, 16);
        std::memcpy(dst + n - 16, src + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(dst, src, 8);
        std::memcpy(dst + n - 8, src + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(dst, src, 4);
        std::memcpy(dst + n - 4, src + n - 4, 4);
    } else {
        for (size_t i = 0; i < n; ++i)
            dst[i] = src[i];
    }
}

// Sort key of one row: its text in the sort column and, when that text
// begins with a number, the number.
struct SortKey {
    std::string_view text;
    double value = 0;
    bool numeric = false;
};

// True when row a must come before row b (b would be moved past a).
bool sortsBefore(const SortKey& a, const SortKey& b, bool descending)
{
    if (a.numeric && b.numeric)
        return descending ? a.value > b.value : a.value < b.value;
    // string_view compares as unsigned bytes, which is strcmp order for
    // texts without NUL bytes.
    const int c = a.text.compare(b.text);
    return descending ? c > 0 : c < 0;
}

// Stable merge sort of the row indexes by their keys. Written out rather
// than std::stable_sort because the pairwise comparison is not always a
// strict weak ordering (a number between texts may be ordered differently
// by value and by bytes); the standard algorithms need one, this loop only
// needs the comparison to give an answer. Whenever the comparison is
// consistent the result is the stable order, the same order any sort that
// only exchanges neighbours that are out of order ends in.
void mergeSortIndexes(std::vector<uint32_t>& idx, const std::vector<SortKey>& keys, bool descending)
{
    const size_t n = idx.size();
    if (n < 2)
        return;
    auto before = [&](uint32_t a, uint32_t b) { return sortsBefore(keys[a], keys[b], descending); };

    // Sorted runs of up to 16 by insertion: an element moves left only past
    // elements it sorts strictly before.
    constexpr size_t kRun = 16;
    for (size_t start = 0; start < n; start += kRun) {
        const size_t end = std::min(n, start + kRun);
        for (size_t i = start + 1; i < end; ++i) {
            const uint32_t v = idx[i];
            size_t j = i;
            while (j > start && before(v, idx[j - 1])) {
                idx[j] = idx[j - 1];
                --j;
            }
            idx[j] = v;
        }
    }

    // Bottom-up merging; on a tie the left element goes first.
    std::vector<uint32_t> tmp(n);
    std::vector<uint32_t>* src = &idx;
    std::vector<uint32_t>* dst = &tmp;
    for (size_t width = kRun; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(n, lo + width);
            const size_t hi = std::min(n, lo + 2 * width);
            size_t a = lo, b = mid, o = lo;
            while (a < mid && b < hi)
                (*dst)[o++] = before((*src)[b], (*src)[a]) ? (*src)[b++] : (*src)[a++];
            while (a < mid)
                (*dst)[o++] = (*src)[a++];
            while (b < hi)
                (*dst)[o++] = (*src)[b++];
        }
        std::swap(src, dst);
    }
    if (src != &idx)
        idx.swap(*src);
}

} // namespace

// ---------------------------------------------------------------- cell / row

void CDataTableCell::SetText(std::string_view text)
{
    const std::string_view part = cellPart(text);
    m_text.resize(part.size());
    copyText(m_text.data(), part.data(), part.size());
}

const std::string& CDataTableRow::GetCellText(int n) const
{
    if (n < 0 || n >= GetCellCount())
        return emptyText();
    return m_cells[size_t(n)].GetText();
}

void CDataTableRow::SetCellText(int n, std::string_view text)
{
    SetCellText(n, text, 0);
}

void CDataTableRow::SetCellText(int n, std::string_view text, int reserve)
{
    if (n < 0 || n >= CDataTableBase::kMaxColumns)
        return;
    if (m_cells.capacity() == 0 && reserve > n)
        m_cells.reserve(size_t(reserve));
    if (n >= GetCellCount())
        m_cells.resize(size_t(n) + 1);
    m_cells[size_t(n)].SetText(text);
}

void CDataTableRow::InsertCell(int n)
{
    if (n < 0 || n >= GetCellCount())
        return;
    m_cells.insert(m_cells.begin() + n, CDataTableCell());
}

void CDataTableRow::RemoveCell(int n)
{
    if (n < 0 || n >= GetCellCount())
        return;
    m_cells.erase(m_cells.begin() + n);
}

bool CDataTableRow::IsEmpty() const
{
    return std::all_of(m_cells.begin(), m_cells.end(),
                       [](const CDataTableCell& c) { return c.GetText().empty(); });
}

// ---------------------------------------------------------------- table

int CDataTableBase::GetUsedRowCount() const
{
    for (size_t i = m_rows.size(); i > 0; --i)
        if (!m_rows[i - 1].IsEmpty())
            return int(i);
    return 0;
}

int CDataTableBase::GetCellCount(int row) const
{
    const CDataTableRow* r = GetRow(row);
    return r ? r->GetCellCount() : 0;
}

const CDataTableRow* CDataTableBase::GetRow(int row) const
{
    if (row < 0 || row >= GetRowCount())
        return nullptr;
    return &m_rows[size_t(row)];
}

int CDataTableBase::GetImageColumnCount() const
{
    return int(std::count_if(m_flags.begin(), m_flags.begin() + kColumnCount,
                             [](uint8_t f) { return f != 0; }));
}

uint8_t CDataTableBase::GetColumnFlag(int position) const
{
    if (position < 0 || position >= kFlagCount)
        return 0;
    return m_flags[size_t(position)];
}

void CDataTableBase::SetColumnFlag(int position, uint8_t flag)
{
    if (position < 0 || position >= kFlagCount)
        return;
    m_flags[size_t(position)] = flag;
}

const std::string& CDataTableBase::GetCellText(int row, int column) const
{
    const CDataTableRow* r = GetRow(row);
    return r ? r->GetCellText(column) : emptyText();
}

void CDataTableBase::SetCellText(int row, int column, std::string_view text)
{
    if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns)
        return;
    if (row >= GetRowCount())
        m_rows.resize(size_t(row) + 1);
    m_rows[size_t(row)].SetCellText(column, text, m_cellsPerRow);
}

void CDataTableBase::Reserve(int rows, int cellsPerRow)
{
    m_rows.reserve(size_t(std::clamp(rows, 0, kMaxRows)));
    m_cellsPerRow = std::clamp(cellsPerRow, 0, kMaxColumns);
}

void CDataTableBase::InsertRow(int n)
{
    if (n < 0 || n >= GetRowCount())
        return;
    m_rows.insert(m_rows.begin() + n, CDataTableRow());
}

void CDataTableBase::InsertRows(int n, int count)
{
    count = std::min(count, kMaxRows - GetRowCount());
    if (n < 0 || n >= GetRowCount() || count < 1)
        return;
    m_rows.insert(m_rows.begin() + n, size_t(count), CDataTableRow());
}

int CDataTableBase::AppendRow()
{
    if (GetRowCount() >= kMaxRows)
        return -1;
    m_rows.emplace_back();
    return GetRowCount() - 1;
}

void CDataTableBase::DeleteRow(int n)
{
    if (n < 0 || n >= GetRowCount())
        return;
    m_rows.erase(m_rows.begin() + n);
}

void CDataTableBase::InsertColumn(int n)
{
    if (n < 0 || n >= kColumnCount)
        return;
    std::copy_backward(m_flags.begin() + n, m_flags.end() - 1, m_flags.end());
    // The new, empty column is no image column. Letting it keep the flag of
    // the column it was inserted before would add an image column and move
    // every image object bound to a later image column onto the wrong one.
    m_flags[size_t(n)] = 0;
    for (CDataTableRow& row : m_rows)
        row.InsertCell(n);
}

void CDataTableBase::DeleteColumn(int n)
{
    if (n < 0 || n >= kColumnCount)
        return;
    std::copy(m_flags.begin() + n + 1, m_flags.end(), m_flags.begin() + n);
    for (CDataTableRow& row : m_rows)
        row.RemoveCell(n);
}

void CDataTableBase::SortRows(int column, bool descending)
{
    SortRows(column, descending, CurrentNumberLocale().decimalSeparator);
}

std::vector<uint32_t> CDataTableBase::sortedOrder(int column, bool descending, char decimalSeparator) const
{
    const size_t n = m_rows.size();
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = uint32_t(i);
    if (column < 0 || n < 2)
        return order;
    std::vector<SortKey> keys(n);
    for (size_t i = 0; i < n; ++i) {
        SortKey& k = keys[i];
        k.text = m_rows[i].GetCellText(column);
        if (const auto v = numfmt::ParseLeadingNumber(k.text, decimalSeparator)) {
            k.value = *v;
            k.numeric = true;
        }
    }
    mergeSortIndexes(order, keys, descending);
    return order;
}

void CDataTableBase::SortRows(int column, bool descending, char decimalSeparator)
{
    if (column < 0 || m_rows.size() < 2)
        return;
    const std::vector<uint32_t> order = sortedOrder(column, descending, decimalSeparator);
    std::vector<CDataTableRow> sorted;
    sorted.reserve(order.size());
    for (uint32_t i : order)
        sorted.push_back(std::move(m_rows[i]));
    m_rows.swap(sorted);
}

void CDataTableBase::SortRows(int column, bool descending, std::vector<int>& origin)
{
    const std::vector<uint32_t> order = sortedOrder(column, descending, CurrentNumberLocale().decimalSeparator);
    origin.assign(order.begin(), order.end());
    if (column < 0 || m_rows.size() < 2)
        return;
    std::vector<CDataTableRow> sorted;
    sorted.reserve(order.size());
    for (uint32_t i : order)
        sorted.push_back(std::move(m_rows[i]));
    m_rows.swap(sorted);
}

bool CDataTableBase::Load(RecordReader& reader)
{
    if (!reader.ok())
        return false;
    if (reader.u32() != kMagic || !reader.ok()) {
        reader.setDamaged();
        return false;
    }
    if (reader.i32() > kVersion || !reader.ok()) {
        reader.setDamaged();
        return false;
    }
    reader.i32(); // reserved
    if (reader.i32() != kFlagCount || !reader.ok()) {
        reader.setDamaged();
        return false;
    }
    m_flags.fill(0);
    std::array<uint8_t, kFlagCount> flags;
    if (!reader.bytes(flags.data(), flags.size()))
        return false;
    m_flags = flags;

    const int32_t rowCount = reader.i32();
    if (!reader.ok())
        return false;
    if (rowCount < 0 || rowCount > kMaxRows) {
        reader.setDamaged();
        return false;
    }
    // No room is made for the counts up front: every row and cell read
    // takes at least four bytes of the data, so the loops end with it.
    char text[kMaxCellText];
    for (int32_t r = 0; r < rowCount; ++r) {
        const int32_t cellCount = reader.i32();
        if (!reader.ok())
            return false;
        if (cellCount < 0) {
            reader.setDamaged();
            return false;
        }
        if (r >= GetRowCount())
            m_rows.resize(size_t(r) + 1);
        CDataTableRow& row = m_rows[size_t(r)];
        for (int32_t c = 0; c < cellCount; ++c) {
            const int32_t length = reader.i32();
            if (!reader.ok())
                return false;
            if (length < 0) {
                reader.setDamaged();
                return false;
            }
            const size_t kept = std::min<size_t>(size_t(length), sizeof text);
            if (!reader.bytes(text, kept))
                return false;
            reader.skip(size_t(length) - kept);
            if (!reader.ok())
                return false;
            if (c < kMaxColumns)
                row.SetCellText(c, std::string_view(text, kept));
        }
    }
    return reader.ok();
}

void CDataTableBase::Save(RecordWriter& writer) const
{
    writer.u32(kMagic);
    writer.i32(kVersion);
    writer.i32(0);
    writer.i32(kFlagCount);
    writer.bytes(m_flags.data(), m_flags.size());
    writer.i32(int32_t(m_rows.size()));
    for (const CDataTableRow& row : m_rows) {
        writer.i32(int32_t(row.m_cells.size()));
        for (const CDataTableCell& cell : row.m_cells) {
            const std::string& t = cell.GetText();
            writer.i32(int32_t(t.size()));
            writer.bytes(t);
        }
    }
}
