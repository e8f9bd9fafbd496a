// The grid: selection and focus.
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/gridowner.h"

#include <algorithm>

void CGridCtrl::invalidateCell(int row, int col)
{
    RECT r;
    if (GetCellRect(row, col, r))
        viewport()->update(QRect(r.left, r.top, int(r.Width()) + 2, int(r.Height()) + 2));
}

void CGridCtrl::redrawFocusHeaders(CCellID cell, CCellID other)
{
    if (!m_trackFocusCell || !IsValid(cell))
        return;
    if (cell.col != other.col)
        for (int r = 0; r < m_fixedRows; ++r)
            invalidateCell(r, cell.col);
    if (cell.row != other.row)
        for (int c = 0; c < m_fixedCols; ++c)
            invalidateCell(cell.row, c);
}

CCellID CGridCtrl::SetFocusCell(int row, int col)
{
    CCellID cell(row, col);
    if (cell == m_focus)
        return m_focus;
    if (cell.row != -1 && cell.row < m_fixedRows)
        cell.row = m_fixedRows;
    if (cell.col != -1 && cell.col < m_fixedCols)
        cell.col = m_fixedCols;
    const CCellID previous = m_focus;
    m_focus = cell;
    if (IsValid(previous)) {
        invalidateCell(previous.row, previous.col);
        redrawFocusHeaders(previous, cell);
    }
    if (IsValid(cell)) {
        invalidateCell(cell.row, cell.col);
        redrawFocusHeaders(cell, previous);
    }
    return previous;
}

void CGridCtrl::SetSelectedRange(const CCellRange& wanted, bool /*forceRepaint*/, bool select)
{
    if (!m_enableSelection)
        return;
    CCellRange range = wanted;
    if (range.minRow >= 0 && range.minRow < m_fixedRows)
        range.minRow = m_fixedRows;
    if (range.maxRow >= 0 && range.maxRow < m_fixedRows)
        range.maxRow = m_fixedRows;
    if (range.minCol >= 0 && range.minCol < selectionStartColumn())
        range.minCol = m_fixedCols;
    if (range.maxCol >= 0 && range.maxCol < selectionStartColumn())
        range.maxCol = m_fixedCols;
    if (select) {
        m_selection.Clear();
        if (!(m_singleRowSelection && m_listMode) && range.IsValid()) {
            m_prevSelection.Truncate(m_rows, m_cols);
            m_prevSelection.ForEach([this](int r, int c) { m_selection.Set(r, c, true); });
        }
    }
    if (range.IsValid() && range.maxRow < m_rows && range.maxCol < m_cols)
        m_selection.SetRange(range, select);
    repaintAll();
}

void CGridCtrl::ResetSelectedRange()
{
    m_prevSelection.Clear();
    SetSelectedRange(CCellRange(), false, true);
    SetFocusCell(-1, -1);
}

CCellRange CGridCtrl::GetSelectedCellRange() const
{
    if (m_selection.IsEmpty())
        return CCellRange(m_rows, m_cols, -1, -1);
    return m_selection.Bounds();
}

void CGridCtrl::SelectAllCells()
{
    if (!m_enableSelection)
        return;
    CWaitCursor wait;
    SetSelectedRange(CCellRange(m_fixedRows, m_fixedCols, m_rows - 1, m_cols - 1));
}

void CGridCtrl::SelectColumns(CCellID cell)
{
    if (!m_enableSelection || cell.col < m_fixedCols)
        return;
    const int start = IsValid(m_selectionStart) ? m_selectionStart.col : cell.col;
    if (m_singleColSelection)
        SetSelectedRange(CCellRange(m_fixedRows, cell.col, m_rows - 1, cell.col));
    else
        SetSelectedRange(CCellRange(m_fixedRows, std::min(start, cell.col), m_rows - 1, std::max(start, cell.col)));
}

void CGridCtrl::SelectRows(CCellID cell)
{
    if (!m_enableSelection || cell.row < m_fixedRows)
        return;
    const int start = IsValid(m_selectionStart) ? m_selectionStart.row : cell.row;
    if (m_singleRowSelection && m_listMode)
        SetSelectedRange(CCellRange(cell.row, selectionStartColumn(), cell.row, m_cols - 1));
    else
        SetSelectedRange(
            CCellRange(std::min(start, cell.row), selectionStartColumn(), std::max(start, cell.row), m_cols - 1));
}

void CGridCtrl::SelectCells(CCellID cell)
{
    if (!m_enableSelection || cell.row < m_fixedRows || cell.col < m_fixedCols)
        return;
    const CCellID start = IsValid(m_selectionStart) ? m_selectionStart : cell;
    SetSelectedRange(CCellRange(std::min(start.row, cell.row), std::min(start.col, cell.col),
                                std::max(start.row, cell.row), std::max(start.col, cell.col)));
}

void CGridCtrl::OnSelecting(CCellID cell)
{
    if (!m_enableSelection)
        return;
    switch (m_mouseMode) {
    case MOUSE_SELECT_ALL: SelectAllCells(); break;
    case MOUSE_SELECT_COL: SelectColumns(cell); break;
    case MOUSE_SELECT_ROW: SelectRows(cell); break;
    case MOUSE_SELECT_CELLS: SelectCells(cell); break;
    default: break;
    }
}

void CGridCtrl::ToggleSelectAll()
{
    const CCellRange range = GetSelectedCellRange();
    if (range.maxRow == -1 || range.maxCol == -1) {
        OnEditSelectAll();
    } else {
        ResetSelectedRange();
        repaintAll();
    }
}

void CGridCtrl::OnEditSelectAll()
{
    if (m_owner)
        m_owner->ItemChanging(m_leftClickDown.row, m_leftClickDown.col);
    SelectAllCells();
    if (m_owner)
        m_owner->ItemChanged(m_focus.row, m_focus.col);
}

void CGridCtrl::EnableSelection(bool on)
{
    ResetSelectedRange();
    m_enableSelection = on;
    ResetSelectedRange();
}
