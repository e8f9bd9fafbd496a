// The grid: construction, counts, cells, virtual mode, geometry and scroll bars.
#include "tables/grid/gridctrl.h"

#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "tables/grid/gridinplaceedit.h"
#include "tables/grid/titletip.h"
#include "tables/gridowner.h"

#include <QScrollBar>

#include <QStyle>

#include <algorithm>
#include <numeric>

CGridCtrl::CGridCtrl(CGridOwner* owner, QWidget* parent) : QAbstractScrollArea(parent), m_owner(owner)
{
    m_sysWindowText = Ui().SystemColor(SystemColour::WindowText);
    m_sysWindow = Ui().SystemColor(SystemColour::Window);
    m_sysBtnFace = Ui().SystemColor(SystemColour::ButtonFace);
    m_sysBtnShadow = Ui().SystemColor(SystemColour::ButtonShadow);
    m_gridBkColor = m_sysBtnShadow;
    m_cellDefault.SetTextClr(m_sysWindowText);
    m_cellDefault.SetBackClr(m_sysWindow);
    for (CGridDefaultCell* def : {&m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        def->SetTextClr(m_sysWindowText);
        def->SetBackClr(m_sysBtnFace);
    }
    m_wheelLines = Ui().SystemMetric(SystemMetricId::WheelScrollLines);
    m_virtualCell.SetGrid(this);

    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAcceptDrops(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_autoScroll.setInterval(m_autoScrollInterval);
    connect(&m_autoScroll, &QTimer::timeout, this, [this] { autoScrollTick(); });
    m_tipTimer.setParent(this);
    m_tipTimer.setObjectName(QStringLiteral("titleTipTimer"));
    m_tipTimer.setSingleShot(true);
    m_tipTimer.setInterval(400);
    connect(&m_tipTimer, &QTimer::timeout, this, [this] { offerTitleTip(m_tipPoint); });
    m_titleTip = std::make_unique<CTitleTip>(viewport());
}

CGridCtrl::~CGridCtrl()
{
    m_destroying = true;
    if (auto* edit = qobject_cast<CGridInPlaceEdit*>(m_editor)) {
        edit->Abandon();
        delete edit;
    }
    m_titleTip.reset();
}

int CGridCtrl::CodePage() const
{
    return codepage::ForCharset(m_cellDefault.GetFont()->lfCharSet);
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol)
{
    if (fixedRow && fixedCol)
        return &m_cellFixedRowColDef;
    if (fixedRow)
        return &m_cellFixedRowDef;
    if (fixedCol)
        return &m_cellFixedColDef;
    return &m_cellDefault;
}

const CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const
{
    return const_cast<CGridCtrl*>(this)->GetDefaultCell(fixedRow, fixedCol);
}

void CGridCtrl::SetGridFont(const LOGFONTA& font)
{
    const int oldHeight = m_cellDefault.GetHeight();
    for (CGridDefaultCell* def : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef})
        def->SetFont(&font);
    // Rows still of the old font's height take the new one, so rows made
    // before and after the change look alike; rows sized otherwise stay.
    const int newHeight = m_cellDefault.GetHeight();
    if (newHeight != oldHeight) {
        for (int& height : m_rowHeights)
            if (height == oldHeight)
                height = newHeight;
        invalidateTopLeft();
        ResetScrollBars();
    }
    repaintAll();
}

// --- Cells

CGridCellBase* CGridCtrl::CreateCell(int row, int col)
{
    auto* cell = new CGridCell;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    uint32_t state = 0;
    if (col < m_fixedCols)
        state |= GVIS_FIXED | GVIS_FIXEDCOL;
    if (row < m_fixedRows)
        state |= GVIS_FIXED | GVIS_FIXEDROW;
    cell->SetState(state);
    cell->SetFormat(cell->GetDefaultCell()->GetFormat());
    return cell;
}

void CGridCtrl::destroyCell(int row, int col)
{
    SetItemState(row, col, 0);
}

CGridCellBase* CGridCtrl::cellAt(int row, int col) const
{
    if (row < 0 || col < 0 || row >= int(m_cells.size()) || col >= m_cols)
        return nullptr;
    const auto& r = m_cells[size_t(row)];
    const int data = m_colOrder[size_t(col)];
    return data < int(r.size()) ? r[size_t(data)].get() : nullptr;
}

void CGridCtrl::fillVirtualCell(int row, int col) const
{
    const CGridDefaultCell* def = GetDefaultCell(row < m_fixedRows, col < m_fixedCols);
    CGridItem& item = m_virtualItem;
    item.row = row;
    item.col = col;
    item.mask = ~0u;
    item.state = 0;
    item.format = def->GetFormat();
    item.image = def->GetImage();
    item.backClr = def->GetBackClr();
    item.textClr = def->GetTextClr();
    item.data = def->GetData();
    item.font = *def->GetFont();
    item.margin = def->GetMargin();
    item.text.clear();
    if (m_selection.Contains(row, col))
        item.state |= GVIS_SELECTED;
    if (row < m_fixedRows)
        item.state |= GVIS_FIXED | GVIS_FIXEDROW;
    if (col < m_fixedCols)
        item.state |= GVIS_FIXED | GVIS_FIXEDCOL;
    if (CCellID(row, col) == m_focus)
        item.state |= GVIS_FOCUSED;
    if (CCellID(row, col) == m_dropCell)
        item.state |= GVIS_DROPHILITED;
    if (!m_destroying) {
        item.row = m_rowOrder[size_t(row)];
        item.col = m_colOrder[size_t(col)];
        if (m_callback)
            m_callback(item);
        else if (m_owner)
            m_owner->GetDispInfoItem(item);
        item.row = row;
        item.col = col;
    }
    CGridCell& cell = m_virtualCell;
    cell.SetState(item.state);
    cell.SetImage(item.image);
    cell.SetData(item.data);
    cell.SetTextClr(item.textClr);
    cell.SetBackClr(item.backClr);
    cell.SetFont(&item.font);
    cell.SetMargin(item.margin);
    cell.SetText(item.text);
    cell.SetGrid(const_cast<CGridCtrl*>(this));
    // Virtual cells are single-line whatever the owner asks for.
    cell.SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

CGridCellBase* CGridCtrl::GetCell(int row, int col) const
{
    if (!IsValid(row, col))
        return nullptr;
    if (m_virtual) {
        fillVirtualCell(row, col);
        return &m_virtualCell;
    }
    CGridCellBase* cell = cellAt(row, col);
    if (cell) {
        // The selection and the focus cell are kept by the grid.
        uint32_t state = cell->GetState() & ~(GVIS_SELECTED | GVIS_FOCUSED | GVIS_DROPHILITED);
        if (m_selection.Contains(row, col))
            state |= GVIS_SELECTED;
        if (CCellID(row, col) == m_focus)
            state |= GVIS_FOCUSED;
        if (CCellID(row, col) == m_dropCell)
            state |= GVIS_DROPHILITED;
        cell->SetState(state);
    }
    return cell;
}

std::string CGridCtrl::GetItemText(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : std::string();
}

bool CGridCtrl::SetItemText(int row, int col, const std::string& text)
{
    if (m_virtual)
        return false;
    CGridCellBase* cell = GetCell(row, col);
    if (!cell)
        return false;
    cell->SetText(text);
    SetModified(row, col);
    return true;
}

bool CGridCtrl::SetItemState(int row, int col, uint32_t state)
{
    if (!IsValid(row, col))
        return false;
    m_selection.Set(row, col, state & GVIS_SELECTED);
    if (!m_virtual) {
        if (CGridCellBase* cell = cellAt(row, col))
            cell->SetState(state);
    }
    return true;
}

uint32_t CGridCtrl::GetItemState(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

void CGridCtrl::SetModified(int row, int col)
{
    if (col < 0 || col == m_sortColumn) {
        if (m_sortColumn >= 0)
            invalidateCell(0, m_sortColumn);
        m_sortColumn = -1;
    }
    if (!m_virtual && IsValid(row, col)) {
        if (CGridCellBase* cell = cellAt(row, col))
            cell->SetState(cell->GetState() | GVIS_MODIFIED);
    }
    m_modified = true;
}

bool CGridCtrl::IsCellEditable(int row, int col) const
{
    const CGridCellBase* cell = GetCell(row, col);
    return m_editable && cell && !cell->IsReadOnly();
}

void CGridCtrl::SetItemTextChecked(int row, int col, const std::string& text)
{
    if (!IsCellEditable(row, col))
        return;
    if (m_owner && m_owner->BeginLabelEdit(row, col) < 0)
        return;
    const std::string old = GetItemText(row, col);
    if (text == old)
        return;
    SetItemText(row, col, text);
    if (!ValidateEdit(row, col, text) || (m_owner && m_owner->EndLabelEdit(row, col, text) < 0)) {
        SetItemText(row, col, old);
    } else {
        SetModified(row, col);
        RedrawCell(row, col);
    }
}

void CGridCtrl::ClearCells(const CCellRange& range)
{
    if (!range.IsValid())
        return;
    for (int r = range.minRow; r <= range.maxRow && r < m_rows; ++r) {
        if (GetRowHeight(r) == 0)
            continue;
        for (int c = range.minCol; c <= range.maxCol && c < m_cols; ++c)
            if (GetColumnWidth(c) != 0)
                SetItemTextChecked(r, c, std::string());
    }
    repaintAll();
}

// --- Counts

void CGridCtrl::resetColumnOrder()
{
    m_colOrder.resize(size_t(m_cols));
    std::iota(m_colOrder.begin(), m_colOrder.end(), 0);
}

void CGridCtrl::ResetVirtualOrder()
{
    m_rowOrder.resize(size_t(m_rows));
    std::iota(m_rowOrder.begin(), m_rowOrder.end(), 0);
}

bool CGridCtrl::SetRowCount(int n)
{
    n = std::max(n, 0);
    if (n == m_rows)
        return true;
    invalidateTopLeft();
    if (m_fixedRows > n)
        m_fixedRows = n;
    if (m_focus.row >= n)
        SetFocusCell(-1, -1);
    const int old = m_rows;
    if (!m_virtual && n < old)
        m_cells.resize(size_t(n));
    m_rowHeights.resize(size_t(n), m_cellDefault.GetHeight());
    m_rows = n;
    m_selection.Truncate(n, m_cols);
    m_prevSelection.Truncate(n, m_cols);
    if (m_virtual) {
        ResetVirtualOrder();
    } else {
        m_cells.resize(size_t(n));
        for (int r = old; r < n; ++r) {
            auto& row = m_cells[size_t(r)];
            row.resize(size_t(m_cols));
            for (int c = 0; c < m_cols; ++c)
                row[size_t(c)].reset(CreateCell(r, c));
        }
    }
    SetModified(-1, -1);
    ResetScrollBars();
    repaintAll();
    return true;
}

bool CGridCtrl::SetColumnCount(int n)
{
    n = std::max(n, 0);
    if (n == m_cols)
        return true;
    invalidateTopLeft();
    if (m_fixedCols > n)
        m_fixedCols = n;
    if (m_focus.col >= n)
        SetFocusCell(-1, -1);
    const int old = m_cols;
    m_colWidths.resize(size_t(n), m_cellFixedColDef.GetWidth());
    m_cols = n;
    resetColumnOrder();
    m_selection.Truncate(m_rows, n);
    m_prevSelection.Truncate(m_rows, n);
    if (!m_virtual) {
        for (int r = 0; r < int(m_cells.size()); ++r) {
            auto& row = m_cells[size_t(r)];
            row.resize(size_t(n));
            for (int c = old; c < n; ++c)
                row[size_t(c)].reset(CreateCell(r, c));
        }
    }
    SetModified(-1, -1);
    ResetScrollBars();
    repaintAll();
    return true;
}

bool CGridCtrl::SetFixedRowCount(int n)
{
    n = std::max(n, 0);
    if (n == m_fixedRows)
        return true;
    m_prevSelection.Clear();
    SetSelectedRange(CCellRange(), false, true);
    SetFocusCell(-1, -1);
    if (n > m_rows && !SetRowCount(n))
        return false;
    if (!m_virtual) {
        for (int r = std::min(n, m_fixedRows); r < std::max(n, m_fixedRows); ++r)
            for (int c = 0; c < m_cols; ++c) {
                CGridCellBase* cell = cellAt(r, c);
                if (!cell)
                    continue;
                uint32_t s = cell->GetState();
                if (r < n)
                    s |= GVIS_FIXED | GVIS_FIXEDROW;
                else
                    s &= (c < m_fixedCols) ? ~GVIS_FIXEDROW : ~(GVIS_FIXED | GVIS_FIXEDROW);
                cell->SetState(s);
            }
    }
    m_fixedRows = n;
    invalidateTopLeft();
    ResetScrollBars();
    repaintAll();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int n)
{
    n = std::max(n, 0);
    if (n == m_fixedCols)
        return true;
    m_prevSelection.Clear();
    SetSelectedRange(CCellRange(), false, true);
    SetFocusCell(-1, -1);
    if (n > m_cols && !SetColumnCount(n))
        return false;
    if (!m_virtual) {
        for (int r = 0; r < m_rows; ++r)
            for (int c = std::min(n, m_fixedCols); c < std::max(n, m_fixedCols); ++c) {
                CGridCellBase* cell = cellAt(r, c);
                if (!cell)
                    continue;
                uint32_t s = cell->GetState();
                if (c < n)
                    s |= GVIS_FIXED | GVIS_FIXEDCOL;
                else
                    s &= (r < m_fixedRows) ? ~GVIS_FIXEDCOL : ~(GVIS_FIXED | GVIS_FIXEDCOL);
                cell->SetState(s);
            }
    }
    m_fixedCols = n;
    invalidateTopLeft();
    ResetScrollBars();
    repaintAll();
    return true;
}

void CGridCtrl::DeleteAllItems()
{
    m_prevSelection.Clear();
    m_selection.Clear();
    m_focus = CCellID();
    m_colWidths.clear();
    m_rowHeights.clear();
    m_rowOrder.clear();
    m_cells.clear();
    m_colOrder.clear();
    m_rows = m_cols = m_fixedRows = m_fixedCols = 0;
    invalidateTopLeft();
    ResetScrollBars();
    m_sortColumn = -1;
    SetModified(-1, -1);
    repaintAll();
}

void CGridCtrl::SetVirtualMode(bool on)
{
    DeleteAllItems();
    m_virtual = on;
    if (on) {
        m_editable = false;
        m_autoSizeStyle = 1;
        m_fixedRowSelection = false;
        m_fixedColumnSelection = false;
        ResetVirtualOrder();
    }
}

void CGridCtrl::ShiftRowOrder(int row, int delta)
{
    // Data row `row` was inserted (delta > 0) or removed: the entries
    // behind it follow, and the entry of the row itself comes or goes.
    if (!m_virtual)
        return;
    if (delta > 0) {
        for (int& v : m_rowOrder)
            if (v >= row)
                v += delta;
        if (row >= 0 && row <= int(m_rowOrder.size()))
            m_rowOrder.insert(m_rowOrder.begin() + row, row);
    } else {
        const auto it = std::find(m_rowOrder.begin(), m_rowOrder.end(), row);
        if (it != m_rowOrder.end())
            m_rowOrder.erase(it);
        for (int& v : m_rowOrder)
            if (v > row)
                v += delta;
    }
}

void CGridCtrl::SetRedraw(bool allow)
{
    m_allowDraw = allow;
    if (allow) {
        ResetScrollBars();
        repaintAll();
    }
}

// --- Geometry

int CGridCtrl::GetRowHeight(int row) const
{
    return row >= 0 && row < m_rows ? m_rowHeights[size_t(row)] : -1;
}

int CGridCtrl::GetColumnWidth(int col) const
{
    return col >= 0 && col < m_cols ? m_colWidths[size_t(m_colOrder[size_t(col)])] : -1;
}

bool CGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_rows || height < 0)
        return false;
    m_rowHeights[size_t(row)] = height;
    invalidateTopLeft();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_cols || width < 0)
        return false;
    m_colWidths[size_t(m_colOrder[size_t(col)])] = width;
    invalidateTopLeft();
    return true;
}

int CGridCtrl::GetFixedRowHeight() const
{
    int h = 0;
    for (int r = 0; r < m_fixedRows; ++r)
        h += m_rowHeights[size_t(r)];
    return h;
}

int CGridCtrl::GetFixedColumnWidth() const
{
    int w = 0;
    for (int c = 0; c < m_fixedCols; ++c)
        w += GetColumnWidth(c);
    return w;
}

int64_t CGridCtrl::GetVirtualHeight() const
{
    return std::accumulate(m_rowHeights.begin(), m_rowHeights.end(), int64_t(0));
}

int64_t CGridCtrl::GetVirtualWidth() const
{
    return std::accumulate(m_colWidths.begin(), m_colWidths.end(), int64_t(0));
}

QSize CGridCtrl::ContentSize(const QSize& limit, bool scrollBar) const
{
    const int frame = 2 * frameWidth();
    const int bar = scrollBar ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    const int64_t width = GetVirtualWidth() + frame + bar;
    const int64_t height = GetVirtualHeight() + frame;
    return {int(std::min<int64_t>(width, limit.width())), int(std::min<int64_t>(height, limit.height()))};
}

int CGridCtrl::scrollPosV() const
{
    return verticalScrollBar()->value();
}

int CGridCtrl::scrollPosH() const
{
    return horizontalScrollBar()->value();
}

CCellID CGridCtrl::GetTopLeftNonFixedCell(bool forceRecalc) const
{
    if (m_topLeftValid && !forceRecalc)
        return m_topLeft;
    const int v = scrollPosV(), h = scrollPosH();
    int row = m_fixedRows;
    int64_t sum = 0;
    while (sum < v && row < m_rows - 1)
        sum += GetRowHeight(row++);
    int col = m_fixedCols;
    sum = 0;
    while (sum < h && col < m_cols - 1)
        sum += GetColumnWidth(col++);
    m_topLeft = CCellID(row, col);
    m_topLeftValid = true;
    return m_topLeft;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(bool fully) const
{
    // Rows and columns that start inside the client area; fully: that end inside it.
    const CCellID tl = GetTopLeftNonFixedCell();
    const QSize client = viewport()->size();
    int maxRow = tl.row - 1;
    int64_t y = GetFixedRowHeight();
    for (int r = tl.row; r < m_rows && y < client.height(); ++r) {
        const int64_t bottom = y + GetRowHeight(r);
        if (fully && bottom > client.height())
            break;
        maxRow = r;
        y = bottom;
    }
    int maxCol = tl.col - 1;
    int64_t x = GetFixedColumnWidth();
    for (int c = tl.col; c < m_cols && x < client.width(); ++c) {
        const int64_t right = x + GetColumnWidth(c);
        if (fully && right > client.width())
            break;
        maxCol = c;
        x = right;
    }
    return CCellRange(tl.row, tl.col, maxRow, maxCol);
}

bool CGridCtrl::GetCellOrigin(int row, int col, QPoint& origin) const
{
    if (!IsValid(row, col))
        return false;
    const CCellID tl = GetTopLeftNonFixedCell();
    if (col >= m_fixedCols && col < tl.col)
        return false;
    if (row >= m_fixedRows && row < tl.row)
        return false;
    int64_t x = 0, y = 0;
    if (col < m_fixedCols) {
        for (int c = 0; c < col; ++c)
            x += GetColumnWidth(c);
    } else {
        x = GetFixedColumnWidth();
        for (int c = tl.col; c < col; ++c)
            x += GetColumnWidth(c);
    }
    if (row < m_fixedRows) {
        for (int r = 0; r < row; ++r)
            y += GetRowHeight(r);
    } else {
        y = GetFixedRowHeight();
        for (int r = tl.row; r < row && y <= INT32_MAX; ++r)
            y += GetRowHeight(r);
    }
    origin = QPoint(int(std::min<int64_t>(x, INT32_MAX)), int(std::min<int64_t>(y, INT32_MAX)));
    return true;
}

bool CGridCtrl::GetCellRect(int row, int col, RECT& rect) const
{
    QPoint o;
    if (!GetCellOrigin(row, col, o))
        return false;
    rect = RECT{o.x(), o.y(), o.x() + GetColumnWidth(col) - 1, o.y() + GetRowHeight(row) - 1};
    return true;
}

bool CGridCtrl::GetTextRect(int row, int col, RECT& rect) const
{
    const CGridCellBase* cell = GetCell(row, col);
    if (!cell || !GetCellRect(row, col, rect))
        return false;
    return cell->GetTextRect(rect);
}

CCellID CGridCtrl::GetCellFromPt(QPoint point, bool allowFixed) const
{
    const QSize client = viewport()->size();
    if (point.x() < 0 || point.y() < 0 || point.x() >= client.width() || point.y() >= client.height())
        return CCellID();
    const CCellID tl = GetTopLeftNonFixedCell();
    CCellID cell;
    const int fixedW = GetFixedColumnWidth();
    if (point.x() < fixedW) {
        if (allowFixed) {
            int x = 0;
            for (int c = 0; c < m_fixedCols; ++c) {
                x += GetColumnWidth(c);
                if (x > point.x()) {
                    cell.col = c;
                    break;
                }
            }
        }
    } else {
        int64_t x = fixedW;
        for (int c = tl.col; c < m_cols; ++c) {
            x += GetColumnWidth(c);
            if (x > point.x()) {
                cell.col = c;
                break;
            }
        }
    }
    const int fixedH = GetFixedRowHeight();
    if (point.y() < fixedH) {
        if (allowFixed) {
            int y = 0;
            for (int r = 0; r < m_fixedRows; ++r) {
                y += GetRowHeight(r);
                if (y > point.y()) {
                    cell.row = r;
                    break;
                }
            }
        }
    } else {
        int64_t y = fixedH;
        for (int r = tl.row; r < m_rows; ++r) {
            y += GetRowHeight(r);
            if (y > point.y()) {
                cell.row = r;
                break;
            }
        }
    }
    if (cell.row < 0 || cell.col < 0)
        return CCellID();
    return cell;
}

bool CGridCtrl::IsCellVisible(int row, int col) const
{
    if (!IsValid(row, col))
        return false;
    const CCellRange vis = GetVisibleNonFixedCellRange();
    const bool rowOk = row < m_fixedRows || (row >= vis.minRow && row <= vis.maxRow);
    const bool colOk = col < m_fixedCols || (col >= vis.minCol && col <= vis.maxCol);
    return rowOk && colOk;
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!IsValid(row, col))
        return;
    const CCellRange full = GetVisibleNonFixedCellRange(true);
    const CCellID tl = GetTopLeftNonFixedCell();
    QScrollBar* vb = verticalScrollBar();
    QScrollBar* hb = horizontalScrollBar();
    if (row >= m_fixedRows && (row < tl.row || row > full.maxRow)) {
        int64_t before = 0;
        for (int r = m_fixedRows; r < row; ++r)
            before += GetRowHeight(r);
        int64_t pos = before;
        if (row > full.maxRow) {
            // Bring the row's bottom to the bottom of the client area, in whole rows.
            const int64_t avail = viewport()->height() - GetFixedRowHeight();
            int64_t top = before + GetRowHeight(row);
            int r = row;
            pos = before;
            while (r > m_fixedRows && top - (pos - GetRowHeight(r - 1)) <= avail) {
                pos -= GetRowHeight(r - 1);
                --r;
            }
        }
        vb->setValue(int(std::clamp<int64_t>(pos, 0, vb->maximum())));
    }
    if (col >= m_fixedCols && (col < tl.col || col > full.maxCol)) {
        int64_t before = 0;
        for (int c = m_fixedCols; c < col; ++c)
            before += GetColumnWidth(c);
        int64_t pos = before;
        if (col > full.maxCol) {
            const int64_t avail = viewport()->width() - GetFixedColumnWidth();
            int64_t right = before + GetColumnWidth(col);
            int c = col;
            pos = before;
            while (c > m_fixedCols && right - (pos - GetColumnWidth(c - 1)) <= avail) {
                pos -= GetColumnWidth(c - 1);
                --c;
            }
        }
        hb->setValue(int(std::clamp<int64_t>(pos, 0, hb->maximum())));
    }
    invalidateTopLeft();
}

void CGridCtrl::ResetScrollBars()
{
    if (!m_allowDraw)
        return;
    const QRect cr = contentsRect();
    const QSize client = cr.size();
    if (client.isEmpty())
        return;
    invalidateTopLeft();
    int64_t width = client.width() - GetFixedColumnWidth();
    int64_t height = client.height() - GetFixedRowHeight();
    QScrollBar* vb = verticalScrollBar();
    QScrollBar* hb = horizontalScrollBar();
    if (width <= 0 || height <= 0) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        vb->setRange(0, 0);
        hb->setRange(0, 0);
        return;
    }
    const int64_t virtH = GetVirtualHeight() - GetFixedRowHeight();
    const int64_t virtW = GetVirtualWidth() - GetFixedColumnWidth();
    const int extent = Ui().SystemMetric(SystemMetricId::ScrollBarExtent);
    const bool needV = height < virtH;
    if (needV)
        width -= extent;
    const bool needH = width < virtW;
    if (needH)
        height -= extent;
    const auto clampInt = [](int64_t v) { return int(std::clamp<int64_t>(v, 0, INT32_MAX)); };
    setVerticalScrollBarPolicy(needV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(needH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    vb->setRange(0, needV ? clampInt(virtH - std::max<int64_t>(height, 1)) : 0);
    vb->setPageStep(clampInt(std::max<int64_t>(height, 1)));
    hb->setRange(0, needH ? clampInt(virtW - std::max<int64_t>(width, 1)) : 0);
    hb->setPageStep(clampInt(std::max<int64_t>(width, 1)));
    vb->setSingleStep(m_cellDefault.GetHeight());
    hb->setSingleStep(m_cellDefault.GetWidth());
    invalidateTopLeft();
}

bool CGridCtrl::AutoSizeColumn(int col, int style, bool reset)
{
    if (col < 0 || col >= m_cols)
        return false;
    if (style == 0)
        style = m_autoSizeStyle;
    const int from = (style & 1) ? 0 : m_fixedRows;
    const int to = (style & 2) ? m_rows - 1 : m_fixedRows - 1;
    if (m_virtual && m_owner)
        m_owner->OdCacheHint(from, col, to, col);
    int width = 0;
    for (int r = from; r <= to; ++r)
        if (const CGridCellBase* cell = GetCell(r, col))
            width = std::max(width, int(cell->GetCellExtent(nullptr).cx));
    if (m_virtual && m_owner)
        m_owner->OdCacheHint(-1, -1, -1, -1);
    SetColumnWidth(col, width);
    if (reset)
        ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row)
{
    if (row < 0 || row >= m_rows)
        return false;
    if (m_virtual && m_owner)
        m_owner->OdCacheHint(row, 0, row, m_cols);
    int height = 0;
    for (int c = 0; c < m_cols; ++c)
        if (const CGridCellBase* cell = GetCell(row, c))
            height = std::max(height, int(cell->GetCellExtent(nullptr).cy));
    if (m_virtual && m_owner)
        m_owner->OdCacheHint(-1, -1, -1, -1);
    SetRowHeight(row, height);
    ResetScrollBars();
    return true;
}

void CGridCtrl::AutoSizeColumns()
{
    for (int c = 0; c < m_cols; ++c)
        if (GetColumnWidth(c) > 0)
            AutoSizeColumn(c, 0, false);
    ResetScrollBars();
    repaintAll();
}
