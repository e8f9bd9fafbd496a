// The grid: keyboard, mouse, wheel, auto-scrolling and the title tip.
#include "platform/font.h"
#include "platform/modeltext.h"
#include "platform/queuedcall.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/grid/titletip.h"
#include "tables/gridowner.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {
constexpr int kDeleteWithoutFocusCommand = 839;
}

int CGridCtrl::nextVisibleRow(int row, int step) const
{
    for (int r = row + step; r >= m_fixedRows && r < m_rows; r += step)
        if (GetRowHeight(r) > 0)
            return r;
    return -1;
}

int CGridCtrl::nextVisibleCol(int col, int step) const
{
    for (int c = col + step; c >= m_fixedCols && c < m_cols; c += step)
        if (GetColumnWidth(c) > 0)
            return c;
    return -1;
}

void CGridCtrl::lineScroll(bool vertical, int steps)
{
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    for (int i = 0; i < std::abs(steps); ++i) {
        const CCellID tl = GetTopLeftNonFixedCell();
        int delta = 0;
        if (steps > 0) {
            if (bar->value() >= bar->maximum())
                break;
            const int from = vertical ? tl.row : tl.col;
            const int next = vertical ? (GetRowHeight(from) > 0 ? from : nextVisibleRow(from, 1))
                                      : (GetColumnWidth(from) > 0 ? from : nextVisibleCol(from, 1));
            delta = next < 0 ? 0 : (vertical ? GetRowHeight(next) : GetColumnWidth(next));
        } else {
            const int prev = vertical ? nextVisibleRow(tl.row, -1) : nextVisibleCol(tl.col, -1);
            delta = prev < 0 ? -bar->value() : -(vertical ? GetRowHeight(prev) : GetColumnWidth(prev));
        }
        if (delta == 0)
            break;
        bar->setValue(std::clamp(bar->value() + delta, 0, bar->maximum()));
        invalidateTopLeft();
    }
}

void CGridCtrl::pageScroll(bool vertical, int steps)
{
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const int page = vertical ? viewport()->height() - GetFixedRowHeight() : viewport()->width() - GetFixedColumnWidth();
    const int64_t pos = int64_t(bar->value()) + int64_t(steps) * std::max(page, 0);
    bar->setValue(int(std::clamp<int64_t>(pos, 0, bar->maximum())));
    invalidateTopLeft();
}

CCellID CGridCtrl::nextCellForKey(int key, Qt::KeyboardModifiers mods, bool& handled)
{
    handled = true;
    CCellID next = m_focus;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int lastVisibleCol = nextVisibleCol(m_cols, -1);
    const int firstVisibleCol = nextVisibleCol(m_fixedCols - 1, 1);
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (int r = nextVisibleRow(next.row, 1); r >= 0)
            next.row = r;
        break;
    case Qt::Key_Up:
        if (int r = nextVisibleRow(next.row, -1); r >= 0)
            next.row = r;
        break;
    case Qt::Key_Right:
        if (int c = nextVisibleCol(next.col, 1); c >= 0)
            next.col = c;
        break;
    case Qt::Key_Left:
        if (int c = nextVisibleCol(next.col, -1); c >= 0)
            next.col = c;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (ctrl || !m_handleTab) {
            handled = false; // the dialog's
        } else if (key == Qt::Key_Tab && !shift) {
            if (int c = nextVisibleCol(next.col, 1); c >= 0) {
                next.col = c;
            } else if (int r = nextVisibleRow(next.row, 1); r >= 0 && firstVisibleCol >= 0) {
                next = CCellID(r, firstVisibleCol);
            } else {
                handled = false;
            }
        } else {
            if (int c = nextVisibleCol(next.col, -1); c >= 0) {
                next.col = c;
            } else if (int r = nextVisibleRow(next.row, -1); r >= 0 && lastVisibleCol >= 0) {
                next = CCellID(r, lastVisibleCol);
            }
        }
        break;
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
        const bool down = key == Qt::Key_PageDown;
        const int oldTop = GetTopLeftNonFixedCell().row;
        pageScroll(true, down ? 1 : -1);
        const int moved = GetTopLeftNonFixedCell(true).row - oldTop;
        if (moved == 0)
            next.row = down ? m_rows - 1 : m_fixedRows;
        else
            next.row = std::clamp(next.row + moved, m_fixedRows, m_rows - 1);
        break;
    }
    case Qt::Key_Home:
        if (ctrl) {
            verticalScrollBar()->setValue(0);
            next.row = m_fixedRows;
        }
        horizontalScrollBar()->setValue(0);
        if (firstVisibleCol >= 0)
            next.col = firstVisibleCol;
        if (GetRowHeight(next.row) == 0)
            if (int r = nextVisibleRow(next.row, 1); r >= 0)
                next.row = r;
        invalidateTopLeft();
        break;
    case Qt::Key_End:
        if (ctrl) {
            verticalScrollBar()->setValue(verticalScrollBar()->maximum());
            next.row = m_rows - 1;
        }
        horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
        if (lastVisibleCol >= 0)
            next.col = lastVisibleCol;
        if (GetRowHeight(next.row) == 0)
            if (int r = nextVisibleRow(next.row, -1); r >= 0)
                next.row = r;
        invalidateTopLeft();
        break;
    default:
        handled = false;
        break;
    }
    return next;
}

bool CGridCtrl::handleKey(int key, Qt::KeyboardModifiers mods)
{
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    if (!IsValid(m_focus)) {
        if (key == Qt::Key_Delete && m_owner) {
            CGridOwner* owner = m_owner;
            PostCall(this, [owner] { owner->GridCommand(kDeleteWithoutFocusCommand); });
            return true;
        }
        return false;
    }
    if (ctrl) {
        if (key == Qt::Key_Insert || key == Qt::Key_C)
            OnEditCopy();
        else if (key == Qt::Key_A)
            OnEditSelectAll();
        else if (key == Qt::Key_V)
            OnEditPaste();
        else if (key == Qt::Key_X)
            OnEditCut();
        else if (key == Qt::Key_Plus && (mods & Qt::KeypadModifier))
            AutoSizeColumns();
    }
    if (shift && key == Qt::Key_Insert) {
        OnEditPaste();
        return true;
    }
    if (key == Qt::Key_Delete) {
        if (m_owner) {
            m_owner->SaveTableUndo();
            m_owner->EnableTableUndo(false);
        }
        CutSelectedText();
        if (m_owner)
            m_owner->EnableTableUndo(true);
        return true;
    }
    if (key == Qt::Key_F2) {
        OnEditCell(m_focus.row, m_focus.col, QPoint(-1, -1), CEditStart::Click());
        return true;
    }
    bool handled = false;
    const CCellID next = nextCellForKey(key, mods, handled);
    if (!handled)
        return ctrl; // Ctrl combinations above were handled
    if (next != m_focus) {
        if (m_mouseMode == MOUSE_NOTHING) {
            m_prevSelection.Clear();
            m_mouseMode = m_listMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
            if (!shift || tab)
                m_selectionStart = next;
            if (m_owner)
                m_owner->ItemChanging(next.row, next.col);
            OnSelecting(next);
            if (m_owner)
                m_owner->ItemChanged(next.row, next.col);
            m_mouseMode = MOUSE_NOTHING;
        }
        SetFocusCell(next.row, next.col);
    }
    EnsureVisible(next.row, next.col);
    repaintAll();
    return true;
}

bool CGridCtrl::focusNextPrevChild(bool next)
{
    // While the grid handles Tab, Tab and Shift+Tab reach keyPressEvent.
    if (m_handleTab && !m_leavingByTab)
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void CGridCtrl::keyPressEvent(QKeyEvent* e)
{
    m_titleTip->Hide();
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (handleKey(key, mods)) {
        e->accept();
        return;
    }
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && IsValid(m_focus) && m_handleTab &&
        !(mods & Qt::ControlModifier)) {
        // Tab at the last cell leaves the grid.
        m_leavingByTab = true;
        focusNextPrevChild(key == Qt::Key_Tab);
        m_leavingByTab = false;
        return;
    }
    const QString text = e->text();
    const bool ctrl = mods & Qt::ControlModifier;
    if (!ctrl && m_mouseMode == MOUSE_NOTHING && !text.isEmpty() && text.at(0).isPrint() && IsValid(m_focus)) {
        if (!modeltext::CanEncode(text, CodePage())) {
            Ui().Beep(); // the cells' code page has no such character
            return;
        }
        OnEditCell(m_focus.row, m_focus.col, QPoint(-1, -1), CEditStart::Typed(text));
        return;
    }
    QAbstractScrollArea::keyPressEvent(e);
}

void CGridCtrl::inputMethodEvent(QInputMethodEvent* e)
{
    const QString text = e->commitString();
    if (!text.isEmpty() && m_mouseMode == MOUSE_NOTHING && IsValid(m_focus)) {
        if (!modeltext::CanEncode(text, CodePage()))
            Ui().Beep();
        else
            OnEditCell(m_focus.row, m_focus.col, QPoint(-1, -1), CEditStart::Typed(text));
    }
    e->accept();
}

bool CGridCtrl::mouseOverColumnResizeArea(QPoint p) const
{
    if (p.y() >= GetFixedRowHeight() && m_fixedRows > 0)
        return false;
    const CCellID cell = GetCellFromPt(p, true);
    QPoint origin;
    if (!IsValid(cell) || !GetCellOrigin(cell.row, cell.col, origin))
        return false;
    const int right = origin.x() + GetColumnWidth(cell.col);
    if (std::abs(p.x() - origin.x()) < m_resizeRange && cell.col != 0)
        return true;
    return std::abs(right - p.x()) < m_resizeRange;
}

bool CGridCtrl::mouseOverRowResizeArea(QPoint p) const
{
    if (p.x() >= GetFixedColumnWidth() && m_fixedCols > 0)
        return false;
    const CCellID cell = GetCellFromPt(p, true);
    QPoint origin;
    if (!IsValid(cell) || !GetCellOrigin(cell.row, cell.col, origin))
        return false;
    const int bottom = origin.y() + GetRowHeight(cell.row);
    if (std::abs(p.y() - origin.y()) < m_resizeRange && cell.row != 0)
        return true;
    return std::abs(bottom - p.y()) < m_resizeRange;
}

void CGridCtrl::mousePressEvent(QMouseEvent* e)
{
    m_titleTip->Hide();
    const QPoint p = e->position().toPoint();
    if (e->button() != Qt::LeftButton) {
        if (e->button() == Qt::RightButton)
            EndEditing();
        return;
    }
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    setFocus(Qt::MouseFocusReason);
    m_leftClickPoint = p;
    m_lastMouse = p;
    m_lButtonDown = true;
    m_leftClickDown = GetCellFromPt(p, true);
    const CCellID pressed = m_leftClickDown;
    if (!IsValid(pressed))
        return;
    m_dragRow = pressed.row;

    if (pressed == CCellID(0, 0) && m_fixedRows == 1 && m_fixedCols == 1 && !m_selection.IsEmpty()) {
        ResetSelectedRange();
        return;
    }
    if (shift) {
        if (!IsValid(m_selectionStart))
            m_selectionStart = m_focus;
    } else {
        m_selectionStart = pressed;
    }
    EndEditing();
    QPoint origin;
    GetCellOrigin(pressed.row, pressed.col, origin);
    if (CGridCellBase* cell = GetCell(pressed.row, pressed.col))
        cell->OnClickDown(p - origin);
    if (m_owner)
        m_owner->ColumnClick(pressed.col);

    RECT text;
    if (pressed == m_focus && !ctrl && GetTextRect(pressed.row, pressed.col, text) && p.x() >= text.left &&
        p.x() <= text.right && p.y() >= text.top && p.y() <= text.bottom && IsCellEditable(pressed.row, pressed.col)) {
        m_mouseMode = MOUSE_PREPARE_EDIT;
        return;
    }
    if (IsCellSelected(pressed.row, pressed.col)) {
        SetFocusCell(pressed.row, pressed.col);
        if (ctrl) {
            if (m_listMode)
                SetSelectedRange(CCellRange(pressed.row, 0, pressed.row, m_cols - 1), false, false);
            else
                SetSelectedRange(CCellRange(pressed.row, pressed.col, pressed.row, pressed.col), false, false);
            return;
        }
        if (m_dragAndDrop)
            m_mouseMode = MOUSE_PREPARE_DRAG;
    } else if (m_mouseMode != MOUSE_OVER_COL_DIVIDE && m_mouseMode != MOUSE_OVER_ROW_DIVIDE) {
        if (pressed.row < m_fixedRows || pressed.col < m_fixedCols)
            SetFocusCell(-1, -1);
        else
            SetFocusCell(pressed.row, pressed.col);
    }

    if (m_mouseMode == MOUSE_NOTHING) {
        if (m_allowColumnResize && mouseOverColumnResizeArea(p)) {
            viewport()->setCursor(Qt::SizeHorCursor);
            m_mouseMode = MOUSE_OVER_COL_DIVIDE;
        } else if (m_allowRowResize && mouseOverRowResizeArea(p)) {
            viewport()->setCursor(Qt::SizeVerCursor);
            m_mouseMode = MOUSE_OVER_ROW_DIVIDE;
        }
    }
    if (m_mouseMode == MOUSE_OVER_COL_DIVIDE || m_mouseMode == MOUSE_OVER_ROW_DIVIDE) {
        const bool column = m_mouseMode == MOUSE_OVER_COL_DIVIDE;
        m_mouseMode = column ? MOUSE_SIZING_COL : MOUSE_SIZING_ROW;
        const int start = column ? origin.x() : origin.y();
        const int at = column ? p.x() : p.y();
        int index = column ? pressed.col : pressed.row;
        if (std::abs(at - start) < m_resizeRange && index > 0) {
            // The divider at the left (top) edge sizes the previous column (row).
            const int prev = column ? nextVisibleCol(index, -1) : nextVisibleRow(index, -1);
            index = prev >= 0 ? prev : index - 1;
        }
        m_sizeIndex = index;
        QPoint o;
        GetCellOrigin(column ? std::max(pressed.row, 0) : index, column ? index : std::max(pressed.col, 0), o);
        const int edge = column ? o.x() : o.y();
        const int span = column ? viewport()->width() - GetFixedColumnWidth()
                                : viewport()->height() - GetFixedRowHeight();
        m_sizeClipLo = edge + 1;
        m_sizeClipHi = edge + span + 1;
        m_dividerPos = std::clamp(at, m_sizeClipLo, m_sizeClipHi);
        drawDivider();
        return;
    }
    if (m_mouseMode != MOUSE_PREPARE_DRAG) {
        if (m_owner)
            m_owner->ItemChanging(pressed.row, pressed.col);
        m_prevSelection.Clear();
        if (ctrl)
            m_prevSelection = m_selection;
        if (pressed.row < m_fixedRows) {
            OnFixedRowClick(pressed);
        } else if (pressed.col < m_fixedCols) {
            OnFixedColumnClick(pressed);
            m_autoScroll.start(m_autoScrollInterval);
        } else {
            m_mouseMode = m_listMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            OnSelecting(pressed);
            m_autoScroll.start(m_autoScrollInterval);
        }
    }
}

void CGridCtrl::OnFixedRowClick(CCellID cell)
{
    if (m_sortOnClick) {
        CWaitCursor wait;
        const bool ascending = !(cell.col == m_sortColumn && m_sortAscending);
        SortByColumn(cell.col, ascending);
        repaintAll();
    } else if (m_fixedRowSelection) {
        m_mouseMode = cell.col < m_fixedCols ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(CCellID cell)
{
    if (m_fixedColumnSelection) {
        m_mouseMode = cell.row < m_fixedRows ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
        OnSelecting(cell);
    }
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* e)
{
    QPoint p = e->position().toPoint();
    m_lastMouse = p;
    if (!m_lButtonDown || !(e->buttons() & Qt::LeftButton)) {
        if (m_titleTip->isVisible() && !m_titleTip->HoverRect().contains(p))
            m_titleTip->Hide();
        if (m_allowColumnResize && mouseOverColumnResizeArea(p)) {
            viewport()->setCursor(Qt::SizeHorCursor);
            m_mouseMode = MOUSE_OVER_COL_DIVIDE;
        } else if (m_allowRowResize && mouseOverRowResizeArea(p)) {
            viewport()->setCursor(Qt::SizeVerCursor);
            m_mouseMode = MOUSE_OVER_ROW_DIVIDE;
        } else {
            viewport()->setCursor(Qt::ArrowCursor);
            m_mouseMode = MOUSE_NOTHING;
            if (m_titleTips && !m_titleTip->isVisible()) {
                m_tipPoint = p;
                m_tipTimer.start();
            }
        }
        return;
    }
    switch (m_mouseMode) {
    case MOUSE_SELECT_ALL:
    case MOUSE_SELECT_COL:
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS: {
        const CCellID cell = GetCellFromPt(p, true);
        if (IsValid(cell) && cell != m_focus) {
            OnSelecting(cell);
            SetFocusCell(std::max(cell.row, m_fixedRows), std::max(cell.col, m_fixedCols));
        }
        break;
    }
    case MOUSE_SIZING_COL:
    case MOUSE_SIZING_ROW: {
        // The pointer cannot be confined: the tracked point is.
        const int at = std::clamp(m_mouseMode == MOUSE_SIZING_COL ? p.x() : p.y(), m_sizeClipLo, m_sizeClipHi);
        if (m_dividerPos && *m_dividerPos != at) {
            drawDivider();
            m_dividerPos = at;
            drawDivider();
        }
        break;
    }
    case MOUSE_PREPARE_EDIT:
    case MOUSE_PREPARE_DRAG:
        m_mouseMode = MOUSE_PREPARE_DRAG;
        startDrag();
        break;
    default:
        break;
    }
}

void CGridCtrl::postRelease()
{
    PostCall(this, [this] { emit cellReleased(); });
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::RightButton) {
        EndEditing();
        const CCellID cell = GetCellFromPt(p, true);
        if (!IsValid(cell)) {
            if (m_owner)
                m_owner->RightClick(-1, -1);
            return;
        }
        SetFocusCell(std::max(cell.row, m_fixedRows), std::max(cell.col, m_fixedCols));
        QPoint origin;
        GetCellOrigin(cell.row, cell.col, origin);
        if (CGridCellBase* c = GetCell(cell.row, cell.col))
            c->OnRClick(p - origin);
        if (m_owner)
            m_owner->RightClick(cell.row, cell.col);
        return;
    }
    if (e->button() != Qt::LeftButton)
        return;
    m_lButtonDown = false;
    m_autoScroll.stop();
    const CCellID pressed = m_leftClickDown;
    QPoint origin;
    GetCellOrigin(pressed.row, pressed.col, origin);
    switch (m_mouseMode) {
    case MOUSE_PREPARE_EDIT:
        OnEditCell(pressed.row, pressed.col, p - origin, CEditStart::Click());
        break;
    case MOUSE_PREPARE_DRAG:
        if (CGridCellBase* cell = GetCell(pressed.row, pressed.col))
            cell->OnClick(p - origin);
        if (m_owner) {
            m_owner->Click(pressed.row, pressed.col);
            m_owner->ItemChanging(pressed.row, pressed.col);
        }
        ResetSelectedRange();
        if (m_owner)
            m_owner->ItemChanged(m_focus.row, m_focus.col);
        break;
    case MOUSE_SIZING_COL:
    case MOUSE_SIZING_ROW: {
        const bool column = m_mouseMode == MOUSE_SIZING_COL;
        drawDivider();
        m_dividerPos.reset();
        // The line stayed in the clip range; the size follows the pointer, so
        // a divider dragged past the left (top) edge hides the column (row).
        const int at = column ? p.x() : p.y();
        if (p != m_leftClickPoint && p != QPoint(0, 0)) {
            QPoint o;
            GetCellOrigin(column ? 0 : m_sizeIndex, column ? m_sizeIndex : 0, o);
            const int size = std::max(at - (column ? o.x() : o.y()), m_allowZeroSize ? 0 : 1);
            if (column)
                SetColumnWidth(m_sizeIndex, size);
            else
                SetRowHeight(m_sizeIndex, size);
            ResetScrollBars();
        }
        repaintAll();
        break;
    }
    default:
        if (m_owner)
            m_owner->ItemChanged(m_focus.row, m_focus.col);
        if (CGridCellBase* cell = GetCell(pressed.row, pressed.col))
            cell->OnClick(p - origin);
        if (m_owner)
            m_owner->Click(pressed.row, pressed.col);
        break;
    }
    m_mouseMode = MOUSE_NOTHING;
    viewport()->setCursor(Qt::ArrowCursor);
    if (IsValid(pressed))
        postRelease();
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    const QPoint p = e->position().toPoint();
    const CCellID cell = GetCellFromPt(p, true);
    QPoint origin;
    if (m_mouseMode == MOUSE_OVER_COL_DIVIDE && IsValid(cell)) {
        GetCellOrigin(cell.row, cell.col, origin);
        int col = cell.col;
        if (std::abs(p.x() - origin.x()) < m_resizeRange)
            col = std::max(nextVisibleCol(col, -1), 0);
        AutoSizeColumn(col);
        repaintAll();
    } else if (m_mouseMode == MOUSE_OVER_ROW_DIVIDE && IsValid(cell)) {
        GetCellOrigin(cell.row, cell.col, origin);
        int row = cell.row;
        if (std::abs(p.y() - origin.y()) < m_resizeRange)
            row = std::max(nextVisibleRow(row, -1), 0);
        AutoSizeRow(row);
        repaintAll();
    } else if (IsValid(cell) && cell.row >= m_fixedRows && cell.col >= m_fixedCols) {
        RECT text;
        if (GetTextRect(cell.row, cell.col, text) && p.x() >= text.left && p.x() <= text.right &&
            p.y() >= text.top && p.y() <= text.bottom)
            OnEditCell(cell.row, cell.col, p, CEditStart::Click());
    }
    if (IsValid(cell)) {
        GetCellOrigin(cell.row, cell.col, origin);
        if (CGridCellBase* c = GetCell(cell.row, cell.col))
            c->OnDblClick(p - origin);
        if (m_owner)
            m_owner->DoubleClick(cell.row, cell.col);
    }
}

void CGridCtrl::wheelEvent(QWheelEvent* e)
{
    EndEditing();
    m_titleTip->Hide();
    const int delta = e->angleDelta().y();
    if (m_wheelLines == -1) {
        m_wheelRemainder += delta;
        const int pages = m_wheelRemainder / 120;
        m_wheelRemainder -= pages * 120;
        if (pages)
            pageScroll(true, -pages);
    } else {
        // Fine-grained wheels send parts of a notch; the remainder is kept.
        m_wheelRemainder += delta * std::max(m_wheelLines, 0);
        const int lines = m_wheelRemainder / 120;
        m_wheelRemainder -= lines * 120;
        if (lines)
            lineScroll(true, -lines);
    }
    e->accept();
}

void CGridCtrl::autoScrollTick()
{
    if (!m_lButtonDown) {
        m_autoScroll.stop();
        return;
    }
    const QPoint p = m_lastMouse;
    const QSize client = viewport()->size();
    if (p.y() >= client.height()) {
        handleKey(Qt::Key_Down, Qt::NoModifier);
        OnSelecting(GetCellFromPt(QPoint(std::clamp(p.x(), 0, client.width() - 1), client.height() - 1)));
    } else if (p.y() < GetFixedRowHeight()) {
        handleKey(Qt::Key_Up, Qt::NoModifier);
        OnSelecting(GetCellFromPt(QPoint(std::clamp(p.x(), 0, client.width() - 1), GetFixedRowHeight() + 1)));
    } else if (p.x() >= client.width()) {
        handleKey(Qt::Key_Right, Qt::NoModifier);
        OnSelecting(GetCellFromPt(QPoint(client.width() - 1, p.y())));
    } else if (p.x() < GetFixedColumnWidth() && GetTopLeftNonFixedCell().col != 1) {
        handleKey(Qt::Key_Left, Qt::NoModifier);
        OnSelecting(GetCellFromPt(QPoint(GetFixedColumnWidth() + 1, p.y())));
    }
}

void CGridCtrl::offerTitleTip(QPoint p)
{
    if (!m_titleTips || m_editor || m_lButtonDown)
        return;
    const CCellID cell = GetCellFromPt(p, true);
    RECT r;
    if (!IsValid(cell) || !GetCellRect(cell.row, cell.col, r))
        return;
    const CGridCellBase* c = GetCell(cell.row, cell.col);
    if (!c || c->GetText().empty())
        return;
    const LOGFONTA* font = c->GetFont();
    const QString text = modeltext::ToEditor(c->GetTipText(), CodePage());
    const QRect rect(r.left, r.top, int(r.Width()) + 1, int(r.Height()) + 1);
    m_titleTip->Show(rect, text, c->GetMargin(), rect, gdifont::ToQFont(font ? *font : GetGridFont()),
                     Ui().SystemColor(SystemColour::InfoText), Ui().SystemColor(SystemColour::InfoBackground));
}

bool CGridCtrl::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::Leave)
        m_tipTimer.stop();
    return QAbstractScrollArea::viewportEvent(e);
}
