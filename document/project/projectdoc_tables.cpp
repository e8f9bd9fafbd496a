// The table store of the project document: cells, rows and columns of the
// current table through its visible table, the filter with its filtered
// copy and maps, image columns and the table undo.
//
// The row map holds, in entry n, the full-table row that filtered row n was
// built from (-1: none yet; the first write into such a row appends one,
// see projectdoc_filtermap.cpp). Every operation below keeps that true:
// inserting or deleting a full-table row moves the entries that point past
// it, and sorting the filtered copy moves the entries with their rows.
#include "document/project/projectdoc.h"

#include "platform/codepage.h"
#include "platform/modeltext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The process's address space in megabytes (the user half of 48 bits on
// 64-bit systems, 3 GB on 32-bit ones).
uint64_t addressSpaceMb()
{
    if constexpr (sizeof(void*) >= 8)
        return (uint64_t(1) << 47) >> 20;
    else
        return 3072;
}

// Adds `delta` to every mapped entry at or above `from`.
void shiftEntries(CDataTableRowMap& map, int32_t from, int delta)
{
    for (int k = 0; k < map.GetSize(); ++k) {
        const int32_t e = map.GetAt(k);
        if (e >= 0 && e >= from)
            map.SetAt(k, e + delta);
    }
}

// Makes room for `count` entries at n (later entries move up that many
// places), each free or, from `first` on, the rising full rows of rows
// inserted together: what `count` insertions of one entry at n would leave,
// the array grown in its steps only as far as its mapped entries need.
void insertEntries(CDataTableRowMap& map, int n, int count, int32_t first)
{
    if (n < 0 || count <= 0)
        return;
    map.Grow(n);
    if (n >= map.GetSize())
        return;
    std::vector<int32_t> entries;
    entries.reserve(size_t(map.GetSize()) + size_t(count));
    for (int k = 0; k < n; ++k)
        entries.push_back(map.GetAt(k));
    for (int i = 0; i < count; ++i)
        entries.push_back(first < 0 ? -1 : first + i);
    for (int k = n; k < map.GetSize(); ++k)
        entries.push_back(map.GetAt(k));
    size_t mapped = entries.size();
    while (mapped > 0 && entries[mapped - 1] == -1)
        --mapped;
    if (mapped > size_t(map.GetSize()))
        map.Grow(int(std::min<size_t>(mapped, size_t(CDataTableRowMap::maxSize()))) - 1);
    for (int k = 0; k < map.GetSize(); ++k)
        map.SetAt(k, size_t(k) < entries.size() ? entries[size_t(k)] : -1);
}

} // namespace

// --- visible table -------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::IsTableFilterEnabled() const
{
    const TableSlot& s = currentSlot();
    return s.filter && s.filter->IsActive() && s.filtered;
}

CDataTableBase& CVorteplanSoftLabelDoc::GetVisibleTable()
{
    TableSlot& s = currentSlot();
    return IsTableFilterEnabled() ? *s.filtered : *s.table;
}

const CDataTableBase& CVorteplanSoftLabelDoc::GetVisibleTable() const
{
    const TableSlot& s = currentSlot();
    return IsTableFilterEnabled() ? *s.filtered : *s.table;
}

int CVorteplanSoftLabelDoc::tableCodePage() const
{
    return codepage::ForCharset(m_tableFont.lfCharSet);
}

void CVorteplanSoftLabelDoc::GetTableCellText(int row, int column, char* buffer, size_t size) const
{
    if (!buffer || size == 0)
        return;
    const std::string& text = GetVisibleTable().GetCellText(row, column);
    const size_t n = modeltext::CharacterBoundary(text, size - 1, tableCodePage());
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::string CVorteplanSoftLabelDoc::GetTableCellText(int row, int column) const
{
    return GetVisibleTable().GetCellText(row, column);
}

void CVorteplanSoftLabelDoc::SetTableCellText(std::string_view text, int row, int column)
{
    TableSlot& s = currentSlot();
    if (IsTableFilterEnabled())
        writeFilteredCell(s, row, column, text);
    else
        s.table->SetCellText(row, column, text);
}

int CVorteplanSoftLabelDoc::GetTableRowCount() const
{
    return GetVisibleTable().GetRowCount();
}

int CVorteplanSoftLabelDoc::GetUsedTableRowCount() const
{
    return currentSlot().table->GetUsedRowCount();
}

void CVorteplanSoftLabelDoc::InsertTableRow(int n)
{
    insertVisibleRows(n, 1);
    SetModifiedFlag(true);
    InvalidateTableViews();
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::InsertTableRows(int n, int count)
{
    if (count <= 0)
        return;
    insertVisibleRows(n, count);
    SetModifiedFlag(true);
    InvalidateTableViews();
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::FillTableColumn(const std::vector<std::string>& texts, int row, int column, int copies,
                                             bool insert)
{
    // The rows of the whole fill go in at once: the same rows as an
    // insertion per text, without moving the rows below once per text.
    // Below the last row of a filtered view each insertion adds a hidden
    // full row of its own, so there they go in per text.
    const bool atOnce = insert && (!IsTableFilterEnabled() || row < GetTableRowCount());
    if (atOnce)
        insertVisibleRows(row, int(std::min<int64_t>(int64_t(texts.size()) * copies, CDataTableBase::kMaxRows)));
    int write = row;
    for (const std::string& text : texts) {
        if (insert && !atOnce)
            insertVisibleRows(write, copies);
        for (int k = 0; k < copies; ++k)
            SetTableCellText(text, write++, column);
    }
    TableDataEdited();
}

void CVorteplanSoftLabelDoc::insertVisibleRows(int n, int count)
{
    if (!IsTableFilterEnabled()) {
        currentSlot().table->InsertRows(n, count);
        return;
    }
    // As `count` insertions before filtered row n, in one move of the rows
    // below: the new rows take rising full rows from the insertion position.
    TableSlot& s = currentSlot();
    // As many as both tables have room for.
    count = std::min(count, CDataTableBase::kMaxRows - std::max(s.table->GetRowCount(), s.filtered->GetRowCount()));
    if (n < 0 || count <= 0)
        return;
    // The new full rows go just after the full row of filtered row n - 1.
    const int position = s.rowMap.MapRowCount(n);
    const bool fullInserted = position >= 0 && position < s.table->GetRowCount();
    if (fullInserted) {
        s.table->InsertRows(position, count);
        shiftEntries(s.rowMap, position, count);
    }
    if (n < s.filtered->GetRowCount()) {
        s.filtered->InsertRows(n, count);
        insertEntries(s.rowMap, n, count, fullInserted ? position : -1);
    }
}

void CVorteplanSoftLabelDoc::DeleteTableRows(int n)
{
    TableSlot& s = currentSlot();
    if (!IsTableFilterEnabled()) {
        s.table->DeleteRow(n);
        return;
    }
    if (n < 0 || n >= s.filtered->GetRowCount())
        return;
    const int32_t fullRow = s.rowMap.GetAt(n);
    s.filtered->DeleteRow(n);
    s.rowMap.RemoveAt(n);
    // A row of the filtered copy's own has no full row to delete.
    if (fullRow >= 0 && fullRow < s.table->GetRowCount()) {
        s.table->DeleteRow(fullRow);
        shiftEntries(s.rowMap, fullRow + 1, -1);
    }
}

bool CVorteplanSoftLabelDoc::InsertTableColumn(int column)
{
    if (column < 0)
        return false;
    TableSlot& s = currentSlot();
    // The view's column is a column of the filtered copy while the filter
    // is enabled: the full table's column is the one it shows.
    int fullColumn = column;
    if (IsTableFilterEnabled()) {
        s.filtered->InsertColumn(column);
        fullColumn = s.map.GetAt(column);
    }
    if (s.filter)
        s.filter->InsertItem(fullColumn);
    s.table->InsertColumn(fullColumn);
    RebuildColumnMap(m_currentTable);
    return true;
}

bool CVorteplanSoftLabelDoc::DeleteTableColumn(int column)
{
    if (column < 0)
        return false;
    TableSlot& s = currentSlot();
    // The view's column is a column of the filtered copy while the filter
    // is enabled: the full table's column is the one it shows.
    int fullColumn = column;
    if (IsTableFilterEnabled()) {
        s.filtered->DeleteColumn(column);
        fullColumn = s.map.GetAt(column);
    }
    if (s.filter)
        s.filter->RemoveItem(fullColumn);
    s.table->DeleteColumn(fullColumn);
    RebuildColumnMap(m_currentTable);
    return true;
}

bool CVorteplanSoftLabelDoc::SortTable(int column, bool descending)
{
    if (column < 0 || column > CDataTableBase::kColumnCount)
        return false;
    TableSlot& s = currentSlot();
    if (!IsTableFilterEnabled()) {
        s.table->SortRows(column, descending);
        return true;
    }
    std::vector<int> origin;
    s.filtered->SortRows(column, descending, origin);
    // The row map follows its rows: writes into a sorted row and deleting
    // it still reach the full row it came from.
    std::vector<int32_t> entries(origin.size());
    for (size_t i = 0; i < origin.size(); ++i)
        entries[i] = s.rowMap.GetAt(origin[i]);
    if (!entries.empty())
        s.rowMap.Grow(int(entries.size()) - 1);
    for (size_t i = 0; i < entries.size(); ++i)
        s.rowMap.SetAt(int(i), entries[i]);
    return true;
}

// --- image columns -------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::IsImageColumn(int position) const
{
    return currentSlot().table->GetColumnFlag(position) != 0;
}

void CVorteplanSoftLabelDoc::ToggleImageColumn(int position)
{
    CDataTableBase& t = *currentSlot().table;
    if (position >= 0 && position < CDataTableBase::kFlagCount)
        t.SetColumnFlag(position, t.GetColumnFlag(position) ? 0 : 1);
    SetModifiedFlag(true);
    InvalidateTableViews();
    InvalidateDesignViews();
    InvalidatePreviewViews();
}

int CVorteplanSoftLabelDoc::GetImageColumnNumber(int position) const
{
    const CDataTableBase& t = *currentSlot().table;
    if (position < 0 || position >= CDataTableBase::kFlagCount || !t.GetColumnFlag(position))
        return -1;
    int rank = 0;
    for (int i = 0; i <= position; ++i)
        if (t.GetColumnFlag(i))
            ++rank;
    return rank;
}

int CVorteplanSoftLabelDoc::GetImageColumnCount() const
{
    return currentSlot().table->GetImageColumnCount();
}

int CVorteplanSoftLabelDoc::GetSourceColumnIndex(int k) const
{
    if (!IsTableFilterEnabled())
        return k;
    if (k < 0)
        return -1;
    const CDataTableFilter& f = *currentSlot().filter;
    int shown = 0;
    for (int i = 0; i < CDataTableFilter::kItemCount; ++i)
        if (f.IsColumnUsed(i) && shown++ == k)
            return i;
    return -1;
}

// --- filter ----------------------------------------------------------------------------------

void CVorteplanSoftLabelDoc::EnableTableFilter()
{
    TableSlot& s = currentSlot();
    if (!s.filter)
        return;
    s.filter->SetActive(s.filter->IsActive() ? 0 : 1);
    if (s.filter->IsActive()) {
        if (s.filtered)
            s.filtered->RemoveAllRows();
        ApplyTableFilter();
    } else {
        s.map.SetIdentity();
    }
    InvalidateTableViews();
    InvalidateDesignViews();
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::ApplyTableFilter()
{
    TableSlot& s = currentSlot();
    if (!s.filter || !s.filtered)
        return;
    s.rowMap.Clear();
    const CDataTableBase& full = *s.table;
    int out = 0;
    for (int i = 0; i < full.GetRowCount(); ++i) {
        if (!s.filter->RowPasses(&full, i))
            continue;
        s.rowMap.AddRow(i);
        int c = 0;
        const int cells = full.GetCellCount(i);
        for (int k = 0; k < cells && k < CDataTableFilter::kItemCount; ++k) {
            if (!s.filter->IsColumnUsed(k))
                continue;
            std::string text = full.GetCellText(i, k);
            if (k < CDataTableBase::kColumnCount)
                s.filter->CleanCellText(s.filter->GetItem(k), text);
            s.filtered->SetCellText(out, c, text);
            ++c;
        }
        ++out;
    }
    RebuildColumnMap(m_currentTable);
    s.inStep = true;
}

std::string CVorteplanSoftLabelDoc::GetFilterFieldText(int field) const
{
    const CDataTableFilter* f = currentSlot().filter.get();
    if (!f)
        return {};
    if (field >= 2 && field <= 4)
        return f->GetStripChar(field - 2);
    if (field >= 5 && field <= 7)
        return f->GetIncludeText(field - 5);
    if (field >= 8 && field <= 10)
        return f->GetExcludeText(field - 8);
    return {};
}

void CVorteplanSoftLabelDoc::SetFilterFieldText(int field, std::string_view text)
{
    CDataTableFilter* f = currentSlot().filter.get();
    if (!f)
        return;
    if (field >= 2 && field <= 4)
        f->SetStripChar(text, field - 2);
    else if (field >= 5 && field <= 7)
        f->SetIncludeText(text, field - 5);
    else if (field >= 8 && field <= 10)
        f->SetExcludeText(text, field - 8);
}

namespace {

uint8_t* filterFlag(CDataTableFilterItem* item, int kind)
{
    if (!item)
        return nullptr;
    if (kind == 0)
        return &item->m_used;
    if (kind == 1)
        return &item->m_trim;
    if (kind >= 2 && kind <= 4)
        return &item->m_strip[kind - 2];
    if (kind >= 5 && kind <= 7)
        return &item->m_include[kind - 5];
    if (kind >= 8 && kind <= 10)
        return &item->m_exclude[kind - 8];
    return nullptr;
}

} // namespace

bool CVorteplanSoftLabelDoc::GetFilterColumnFlag(int kind, int column) const
{
    CDataTableFilter* f = currentSlot().filter.get();
    const uint8_t* flag = f ? filterFlag(f->GetItem(column), kind) : nullptr;
    return flag && *flag != 0;
}

bool CVorteplanSoftLabelDoc::ToggleFilterColumnFlag(int kind, int column)
{
    CDataTableFilter* f = currentSlot().filter.get();
    uint8_t* flag = f ? filterFlag(f->GetItem(column), kind) : nullptr;
    if (!flag)
        return false;
    *flag = *flag ? 0 : 1;
    return *flag != 0;
}

// --- undo ------------------------------------------------------------------------------------

int CVorteplanSoftLabelDoc::GetTableUndoDepth() const
{
    const TableSlot& s = currentSlot();
    size_t present = 0;
    while (present < s.snapshots.size() && s.snapshots[present])
        ++present;
    const size_t byMemory = size_t(std::sqrt(double(addressSpaceMb())));
    return int(std::min(std::max(present, byMemory), size_t(kTableSnapshotSlots)));
}

void CVorteplanSoftLabelDoc::SaveTableUndoState()
{
    TableSlot& s = currentSlot();
    if (!s.undoOn)
        return;
    const size_t depth = size_t(std::max(GetTableUndoDepth(), 1));
    auto push = [depth](auto& stack, auto snapshot) {
        stack[depth - 1].reset();
        for (size_t i = depth - 1; i > 0; --i)
            stack[i] = std::move(stack[i - 1]);
        stack[0] = std::move(snapshot);
    };
    push(s.snapshots, std::make_unique<CDataTableBase>(*s.table));
    for (size_t i = depth - 1; i > 0; --i)
        s.snapshotTied[i] = s.snapshotTied[i - 1];
    s.snapshotTied[0] = IsTableFilterEnabled() && s.inStep;
    if (s.filter) {
        push(s.filteredSnapshots,
             s.filtered ? std::make_unique<CDataTableBase>(*s.filtered) : std::make_unique<CDataTableBase>());
        push(s.rowMapSnapshots, std::make_unique<CDataTableRowMap>(s.rowMap));
    }
}

void CVorteplanSoftLabelDoc::UndoTable()
{
    TableSlot& s = currentSlot();
    if (!s.snapshots[0])
        return;
    auto pop = [](auto& stack) {
        auto newest = std::move(stack[0]);
        for (size_t i = 0; i + 1 < stack.size(); ++i)
            stack[i] = std::move(stack[i + 1]);
        stack.back().reset();
        return newest;
    };
    s.table = pop(s.snapshots);
    const bool tied = s.snapshotTied[0];
    std::move(s.snapshotTied.begin() + 1, s.snapshotTied.end(), s.snapshotTied.begin());
    s.snapshotTied.back() = false;
    if (s.filteredSnapshots[0]) {
        auto filtered = pop(s.filteredSnapshots);
        if (s.filter)
            s.filtered = std::move(filtered);
        if (auto rowMap = pop(s.rowMapSnapshots))
            s.rowMap = *rowMap;
    }
    // A copy saved while the filter was off (or not tied) knows nothing of
    // the full table it comes back with: the filter builds it anew.
    if (IsTableFilterEnabled() && !tied) {
        s.filtered->RemoveAllRows();
        ApplyTableFilter();
    }
}

void CVorteplanSoftLabelDoc::SetCurrentTableRow(int row)
{
    if (row == m_currentTableRow)
        return;
    m_currentTableRow = row;
    InvalidateDesignViews();
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::ReplaceCurrentTable(CDataTableBase table, const std::string& tabName)
{
    SaveTableUndoState();
    TableSlot& s = currentSlot();
    *s.table = std::move(table);
    // The filtered copy is rebuilt from the new rows.
    if (IsTableFilterEnabled()) {
        s.filtered->RemoveAllRows();
        ApplyTableFilter();
    }
    SetTableName(m_currentTable, tabName);
    NotifyTabLabelsChanged(TabKind::Table);
    TableDataEdited();
}
