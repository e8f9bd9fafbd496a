// The grid: clipboard text, drag and drop, in-place editing and sorting.
#include "platform/modeltext.h"
#include "platform/pastetext.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/grid/gridinplaceedit.h"
#include "tables/grid/titletip.h"
#include "tables/gridowner.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include <algorithm>

// --- Clipboard

std::optional<std::string> CGridCtrl::CopyTextFromGrid() const
{
    const CCellRange range = GetSelectedCellRange();
    if (!range.IsValid())
        return std::nullopt;
    if (m_virtual && m_owner)
        m_owner->OdCacheHint(range.minRow, range.minCol, range.maxRow, range.maxCol);
    std::string out;
    bool firstRow = true;
    for (int r = range.minRow; r <= range.maxRow; ++r) {
        if (GetRowHeight(r) <= 0)
            continue;
        if (!firstRow)
            out += "\r\n";
        firstRow = false;
        bool firstCol = true;
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            if (GetColumnWidth(c) <= 0)
                continue;
            if (!firstCol)
                out += '\t';
            firstCol = false;
            if (m_selection.Contains(r, c))
                if (const CGridCellBase* cell = GetCell(r, c))
                    out += cell->GetText();
        }
    }
    if (m_virtual && m_owner)
        m_owner->OdCacheHint(-1, -1, -1, -1);
    return out;
}

void CGridCtrl::CutSelectedText()
{
    if (!m_editable)
        return;
    std::vector<CCellID> cells;
    m_selection.ForEach([&cells](int r, int c) { cells.emplace_back(r, c); });
    for (const CCellID& cell : cells)
        SetItemTextChecked(cell.row, cell.col, std::string());
}

void CGridCtrl::OnEditCopy()
{
    if (const auto text = CopyTextFromGrid())
        Ui().SetClipboardText(*text, CodePage());
}

void CGridCtrl::OnEditCut()
{
    if (!m_editable)
        return;
    OnEditCopy();
    CutSelectedText();
}

void CGridCtrl::OnEditPaste()
{
    if (!m_editable)
        return;
    CCellID target = GetSelectedCellRange().TopLeft();
    if (!IsValid(target))
        target = m_focus;
    if (!IsValid(target))
        target = GetTopLeftNonFixedCell();
    if (auto* edit = qobject_cast<CGridInPlaceEdit*>(m_editor); edit && edit->Row() == target.row &&
                                                                 edit->Col() == target.col) {
        edit->paste();
        return;
    }
    if (const auto text = Ui().ClipboardText(CodePage()))
        PasteTextToGrid(target, *text);
}

bool CGridCtrl::PasteTextToGrid(CCellID target, const std::string& text, bool select)
{
    if (!IsValid(target) || !GetCell(target.row, target.col) || (GetItemState(target.row, target.col) & GVIS_READONLY))
        return false;
    pastetext::Limits limits;
    limits.codePage = CodePage();
    const pastetext::Extent extent = pastetext::Visit(text, limits, [](int, int, const std::string&) {});

    // The rows the lines go to (rows of height 0 are passed over). The row
    // count grows to ten beyond every row reached near its end; the final
    // count is worked out first, so the grid is resized once.
    std::vector<int> rows;
    rows.reserve(size_t(extent.lines));
    int count = m_rows;
    for (int r = target.row; int(rows.size()) < extent.lines; ++r) {
        if (r < m_rows && GetRowHeight(r) == 0)
            continue;
        if (r >= count - 10)
            count = r + 10;
        rows.push_back(r);
    }
    if (count != m_rows)
        SetRowCount(count);
    std::vector<int> cols;
    for (int c = target.col; c < m_cols && int(cols.size()) < extent.maxFields; ++c)
        if (GetColumnWidth(c) != 0)
            cols.push_back(c);

    // The cells repaint together below, not one by one.
    const bool allowDraw = m_allowDraw;
    m_allowDraw = false;
    CCellID furthest = target;
    pastetext::Visit(text, limits, [&](int line, int field, const std::string& value) {
        if (line >= int(rows.size()) || field >= int(cols.size()))
            return;
        const int r = rows[size_t(line)], c = cols[size_t(field)];
        SetItemTextChecked(r, c, value);
        m_selection.Set(r, c, false);
        furthest.row = std::max(furthest.row, r);
        furthest.col = std::max(furthest.col, c);
    });
    m_allowDraw = allowDraw;
    if (select)
        SetSelectedRange(CCellRange(target.row, target.col, furthest.row, furthest.col), true);
    else
        ResetSelectedRange();
    repaintAll();
    return true;
}

// --- Drag and drop

void CGridCtrl::SetDragAndDrop(bool on)
{
    m_dragAndDrop = on;
    viewport()->setAcceptDrops(on);
}

void CGridCtrl::startDrag()
{
    if (!m_dragAndDrop)
        return;
    const auto text = CopyTextFromGrid();
    if (!text)
        return;
    const CCellID tl = GetSelectedCellRange().TopLeft();
    if (m_owner)
        m_owner->BeginDrag(tl.row, tl.col);
    m_mouseMode = MOUSE_DRAGGING;
    const DropEffect effect = Ui().DragText(*text, CodePage(), true);
    if (effect == DropEffect::Move)
        CutSelectedText();
    m_mouseMode = MOUSE_NOTHING;
    m_lButtonDown = false;
}

int CGridCtrl::OnDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint point)
{
    const CCellID cell = GetCellFromPt(point, false);
    if (cell != m_dropCell) {
        const CCellID old = m_dropCell;
        m_dropCell = cell;
        if (IsValid(old))
            invalidateCell(old.row, old.col);
        if (IsValid(cell))
            invalidateCell(cell.row, cell.col);
    }
    if (!IsValid(cell) || !m_dragAndDrop || !m_editable || !data || !data->hasText())
        return 0;
    return (keys & Qt::ControlModifier) ? 1 : 2;
}

void CGridCtrl::OnDragLeave()
{
    if (IsValid(m_dropCell))
        invalidateCell(m_dropCell.row, m_dropCell.col);
    m_dropCell = CCellID();
}

bool CGridCtrl::OnDrop(const QMimeData* data, int effect, QPoint point)
{
    const bool fromThisGrid = m_mouseMode == MOUSE_DRAGGING;
    m_mouseMode = MOUSE_NOTHING;
    const CCellID cell = GetCellFromPt(point, false);
    OnDragLeave();
    if (effect == 0 || !m_dragAndDrop || !IsValid(cell) || !data)
        return false;
    // A row moves only when it was dragged out of this grid; text from
    // elsewhere is pasted.
    if (m_rowDragMode && fromThisGrid && m_virtual) {
        Reorder(m_dragRow, cell.row);
    } else {
        if (!m_editable || (GetItemState(cell.row, cell.col) & GVIS_READONLY))
            return false;
        const QString text = data->text().left(int(kMaxClipboardTextBytes));
        PasteTextToGrid(cell, modeltext::FromEditor(text, CodePage()), false);
    }
    repaintAll();
    return true;
}

void CGridCtrl::dragEnterEvent(QDragEnterEvent* e)
{
    dragMoveEvent(e);
}

void CGridCtrl::dragMoveEvent(QDragMoveEvent* e)
{
    const int effect = OnDragOver(e->mimeData(), e->modifiers(), e->position().toPoint());
    if (effect == 0) {
        e->ignore();
        return;
    }
    e->setDropAction(effect == 1 ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
}

void CGridCtrl::dragLeaveEvent(QDragLeaveEvent*)
{
    OnDragLeave();
}

void CGridCtrl::dropEvent(QDropEvent* e)
{
    const int effect = OnDragOver(e->mimeData(), e->modifiers(), e->position().toPoint());
    if (OnDrop(e->mimeData(), effect, e->position().toPoint())) {
        e->setDropAction(effect == 1 ? Qt::CopyAction : Qt::MoveAction);
        e->accept();
    } else {
        e->ignore();
    }
}

// --- Editing

void CGridCtrl::OnEditCell(int row, int col, QPoint point, const CEditStart& start)
{
    m_titleTip->Hide();
    if (!IsCellEditable(row, col))
        return;
    EnsureVisible(row, col);
    RECT rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, rect))
        return;
    if (m_owner && m_owner->BeginLabelEdit(row, col) < 0)
        return;
    if (CGridCellBase* cell = GetCell(row, col))
        cell->Edit(row, col, rect, point, start);
}

void CGridCtrl::EndEditing()
{
    if (auto* edit = qobject_cast<CGridInPlaceEdit*>(m_editor))
        edit->EndEdit();
}

bool CGridCtrl::ValidateEdit(int row, int col, const std::string& text)
{
    CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->ValidateEdit(text) : true;
}

void CGridCtrl::OnEndEditCell(int row, int col, const std::string& text)
{
    const std::string old = GetItemText(row, col);
    if (text != old) {
        if (!m_virtual)
            SetItemText(row, col, text);
        if (ValidateEdit(row, col, text) && !(m_owner && m_owner->EndLabelEdit(row, col, text) < 0)) {
            SetModified(row, col);
            RedrawCell(row, col);
        } else if (!m_virtual) {
            SetItemText(row, col, old);
        }
    }
    if (CGridCellBase* cell = GetCell(row, col))
        cell->OnEndEdit();
    m_virtualCell.OnEndEdit();
}

void CGridCtrl::EditorEnded(int row, int col, const std::string& text, int lastKey)
{
    OnEndEditCell(row, col, text);
    switch (lastKey) {
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Return: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_End: case Qt::Key_Home: case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down:
        handleKey(lastKey, lastKey == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        OnEditCell(m_focus.row, m_focus.col, QPoint(-1, -1), CEditStart::Key(lastKey));
        break;
    default:
        break;
    }
}

// --- Sorting

bool CGridCtrl::SortByColumn(int col, bool ascending)
{
    if (m_sortColumn >= 0)
        invalidateCell(0, m_sortColumn);
    invalidateCell(0, col);
    m_sortColumn = col;
    m_sortAscending = ascending;
    m_selection.Clear();
    m_prevSelection.Clear();
    SetFocusCell(-1, -1);
    return SortItems(col, ascending, 0, m_fixedRows, -1);
}

bool CGridCtrl::SortItems(int col, bool ascending, intptr_t data, int low, int high)
{
    if (col < 0 || col >= m_cols)
        return false;
    if (low < 0)
        low = m_fixedRows;
    if (high == -1)
        high = m_rows - 1;
    if (m_virtual) {
        if (!m_virtualCompare || m_fixedRows > int(m_rowOrder.size()))
            return false;
        std::stable_sort(m_rowOrder.begin() + m_fixedRows, m_rowOrder.end(), [&](int a, int b) {
            return ascending ? m_virtualCompare(a, b) : m_virtualCompare(b, a);
        });
        repaintAll();
        return true;
    }
    const bool sorted = sortHelper(col, ascending, data, low, high);
    repaintAll();
    return sorted || low >= high;
}

bool CGridCtrl::sortHelper(int col, bool ascending, intptr_t data, int low, int high)
{
    if (high <= low)
        return false;
    const auto compare = [&](const CGridCellBase* a, const CGridCellBase* b) -> int {
        if (m_compare)
            return m_compare(a, b, data);
        if (!a || !b)
            return 0;
        const int c = a->GetText().compare(b->GetText());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    };
    const CGridCellBase* pivot = cellAt((low + high) / 2, col);
    int lo = low, hi = high;
    while (lo <= hi) {
        if (ascending) {
            while (lo < high && compare(cellAt(lo, col), pivot) < 0)
                ++lo;
            while (hi > low && compare(cellAt(hi, col), pivot) > 0)
                --hi;
        } else {
            while (lo < high && compare(cellAt(lo, col), pivot) > 0)
                ++lo;
            while (hi > low && compare(cellAt(hi, col), pivot) < 0)
                --hi;
        }
        if (lo <= hi) {
            if (compare(cellAt(lo, col), cellAt(hi, col)) != 0) {
                std::swap(m_cells[size_t(lo)], m_cells[size_t(hi)]);
                std::swap(m_rowHeights[size_t(lo)], m_rowHeights[size_t(hi)]);
            }
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        sortHelper(col, ascending, data, low, hi);
    if (lo < high)
        sortHelper(col, ascending, data, lo, high);
    return true;
}

void CGridCtrl::Reorder(int from, int to)
{
    const int n = int(m_rowOrder.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    const int value = m_rowOrder[size_t(from)];
    m_rowOrder.erase(m_rowOrder.begin() + from);
    const int at = from >= to ? to + 1 : to;
    m_rowOrder.insert(m_rowOrder.begin() + std::min(at, int(m_rowOrder.size())), value);
    repaintAll();
}
