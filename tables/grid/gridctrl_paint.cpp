// The grid: painting, focus, palette and scrolling events.
#include "platform/dc.h"
#include "platform/uiservices.h"
#include "tables/grid/gridctrl.h"
#include "tables/grid/titletip.h"
#include "tables/gridowner.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

bool intersects(const RECT& cell, const RECT& clip)
{
    // `cell` inclusive, `clip` exclusive.
    return cell.left < clip.right && cell.right >= clip.left && cell.top < clip.bottom && cell.bottom >= clip.top;
}

} // namespace

void CGridCtrl::paintEvent(QPaintEvent* e)
{
    QPainter painter(viewport());
    CDC dc(&painter, 96, 96, viewport()->width(), viewport()->height());
    const QRect r = e->rect();
    OnDraw(dc, RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    if (m_dividerPos) {
        // The sizing line, inverted over what lies below.
        const bool column = m_mouseMode == MOUSE_SIZING_COL;
        const RECT line = column ? RECT{*m_dividerPos, 0, *m_dividerPos + 2, viewport()->height()}
                                 : RECT{0, *m_dividerPos, viewport()->width(), *m_dividerPos + 2};
        dc.InvertRect(line);
    }
}

void CGridCtrl::OnDraw(CDC& dc, const RECT& clip)
{
    if (!m_allowDraw || clip.IsEmpty())
        return;
    const QSize client = viewport()->size();
    const int fixedW = GetFixedColumnWidth();
    const int fixedH = GetFixedRowHeight();
    const CCellRange vis = GetVisibleNonFixedCellRange();

    // The visible cells' extent.
    int64_t right = fixedW, bottom = fixedH;
    for (int c = vis.minCol; c <= vis.maxCol; ++c)
        right += GetColumnWidth(c);
    for (int r = vis.minRow; r <= vis.maxRow; ++r)
        bottom += GetRowHeight(r);
    const int32_t cellsRight = int32_t(std::min<int64_t>(right, client.width()));
    const int32_t cellsBottom = int32_t(std::min<int64_t>(bottom, client.height()));

    dc.FillSolidRect(RECT{0, 0, client.width(), client.height()}, m_gridBkColor);
    dc.FillSolidRect(RECT{0, 0, fixedW, fixedH}, m_cellFixedRowColDef.GetBackClr());
    dc.FillSolidRect(RECT{0, fixedH, fixedW, cellsBottom}, m_cellFixedColDef.GetBackClr());
    dc.FillSolidRect(RECT{fixedW, 0, cellsRight, fixedH}, m_cellFixedRowDef.GetBackClr());
    dc.FillSolidRect(RECT{fixedW, fixedH, cellsRight, cellsBottom}, m_cellDefault.GetBackClr());

    if (m_virtual && m_owner)
        m_owner->OdCacheHint(vis.minRow, vis.minCol, vis.maxRow, vis.maxCol);

    const auto drawCell = [&](int row, int col, int x, int y) {
        const int w = GetColumnWidth(col), h = GetRowHeight(row);
        if (w <= 0 || h <= 0)
            return;
        const RECT rect{x, y, x + w - 1, y + h - 1};
        if (!intersects(rect, clip))
            return;
        if (CGridCellBase* cell = GetCell(row, col))
            cell->Draw(dc, row, col, rect, m_hasFocus, true);
    };
    // Corner cells, fixed columns, fixed rows, then the rest row by row.
    int y = 0;
    for (int row = 0; row < m_fixedRows; ++row) {
        int x = 0;
        for (int col = 0; col < m_fixedCols; ++col) {
            drawCell(row, col, x, y);
            x += GetColumnWidth(col);
        }
        y += GetRowHeight(row);
    }
    y = fixedH;
    for (int row = vis.minRow; row <= vis.maxRow; ++row) {
        int x = 0;
        for (int col = 0; col < m_fixedCols; ++col) {
            drawCell(row, col, x, y);
            x += GetColumnWidth(col);
        }
        y += GetRowHeight(row);
    }
    y = 0;
    for (int row = 0; row < m_fixedRows; ++row) {
        int x = fixedW;
        for (int col = vis.minCol; col <= vis.maxCol; ++col) {
            drawCell(row, col, x, y);
            x += GetColumnWidth(col);
        }
        y += GetRowHeight(row);
    }
    y = fixedH;
    for (int row = vis.minRow; row <= vis.maxRow; ++row) {
        const int h = GetRowHeight(row);
        if (y + h > clip.top && y < clip.bottom) {
            int x = fixedW;
            for (int col = vis.minCol; col <= vis.maxCol; ++col) {
                drawCell(row, col, x, y);
                x += GetColumnWidth(col);
            }
        }
        y += h;
    }

    if (m_gridLines & GVL_VERT) {
        int x = fixedW;
        for (int col = vis.minCol; col <= vis.maxCol; ++col) {
            const int w = GetColumnWidth(col);
            if (w > 0) {
                x += w;
                dc.FillSolidRect(RECT{x - 1, fixedH, x, cellsBottom}, m_gridLineColor);
            }
        }
    }
    if (m_gridLines & GVL_HORZ) {
        int yy = fixedH;
        for (int row = vis.minRow; row <= vis.maxRow; ++row) {
            const int h = GetRowHeight(row);
            if (h > 0) {
                yy += h;
                dc.FillSolidRect(RECT{fixedW, yy - 1, cellsRight, yy}, m_gridLineColor);
            }
        }
    }
    if (m_virtual && m_owner)
        m_owner->OdCacheHint(-1, -1, -1, -1);
}

bool CGridCtrl::RedrawCell(int row, int col)
{
    if (!m_allowDraw || !IsCellVisible(row, col))
        return false;
    invalidateCell(row, col);
    return true;
}

void CGridCtrl::drawDivider()
{
    if (!m_dividerPos)
        return;
    if (m_mouseMode == MOUSE_SIZING_COL)
        viewport()->update(QRect(*m_dividerPos, 0, 2, viewport()->height()));
    else
        viewport()->update(QRect(0, *m_dividerPos, viewport()->width(), 2));
}

void CGridCtrl::applySystemColours()
{
    const COLORREF windowText = Ui().SystemColor(SystemColour::WindowText);
    const COLORREF window = Ui().SystemColor(SystemColour::Window);
    const COLORREF btnFace = Ui().SystemColor(SystemColour::ButtonFace);
    const COLORREF btnShadow = Ui().SystemColor(SystemColour::ButtonShadow);
    for (CGridDefaultCell* def : {&m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef, &m_cellFixedRowColDef}) {
        if (def->GetTextClr() == m_sysWindowText)
            def->SetTextClr(windowText);
        if (def->GetBackClr() == m_sysWindow)
            def->SetBackClr(window);
        else if (def->GetBackClr() == m_sysBtnFace)
            def->SetBackClr(btnFace);
    }
    if (m_gridBkColor == m_sysBtnShadow)
        m_gridBkColor = btnShadow;
    m_sysWindowText = windowText;
    m_sysWindow = window;
    m_sysBtnFace = btnFace;
    m_sysBtnShadow = btnShadow;
    repaintAll();
}

void CGridCtrl::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::ApplicationPaletteChange)
        applySystemColours();
    QAbstractScrollArea::changeEvent(e);
}

void CGridCtrl::focusInEvent(QFocusEvent* e)
{
    m_hasFocus = true;
    repaintAll();
    QAbstractScrollArea::focusInEvent(e);
}

void CGridCtrl::focusOutEvent(QFocusEvent* e)
{
    m_hasFocus = false;
    repaintAll();
    QAbstractScrollArea::focusOutEvent(e);
}

void CGridCtrl::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    EndEditing();
    ResetScrollBars();
}

void CGridCtrl::scrollContentsBy(int, int)
{
    EndEditing();
    m_titleTip->Hide();
    invalidateTopLeft();
    repaintAll();
}
