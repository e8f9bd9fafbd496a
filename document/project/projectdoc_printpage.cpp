// The print run of the project document, page by page: the header and
// footer, one label per sheet position, the rows of the range, repeats and
// sets, marker borders, label borders and cut lines.
#include "document/project/projectdoc.h"

#include "platform/units.h"

#include <algorithm>

namespace {

// (dpi x um + 12700) / 25400 in 64 bits, clamped to 32.
int32_t toDevice(int dpi, int64_t um)
{
    return units::clamp32((int64_t(dpi) * um + 12700) / 25400);
}

} // namespace

void CVorteplanSoftLabelDoc::PrintPage(CDC& dc, CPrintInfo& info)
{
    const CTemplate& tpl = GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    auto endRun = [&] {
        info.maxPage = CPrintInfo::kEndAfterPage;
        info.continuePrinting = false;
    };
    if (!label || m_run.endOfRun || m_run.aborted) {
        endRun();
        return;
    }
    AreaDrawRequest request;
    request.labelNumber = m_run.currentRow;
    request.flags = kDrawPrinting;
    request.resolutionX = m_run.dpiX;
    request.resolutionY = m_run.dpiY;
    for (int area = 1; area <= 2; ++area) {
        if (area == 1 ? !label->HasHeader() : !label->HasFooter())
            continue;
        if (!DrawHeaderFooterArea(m_run.dpiX, area, dc, request)) {
            m_run.aborted = true;
            endRun();
            return;
        }
    }

    m_run.newSetStarted = false;
    const bool vertical = tpl.IsSortVertical();
    const int columns = std::max(label->GetColumns(), 1);
    const int rows = label->GetRows();
    const POINT resolution{m_run.dpiX, m_run.dpiY};
    int placed = 0;
    for (int b = 0; b < label->GetBlockCount(); ++b) {
        // First and last printed position of the block, as (row, column).
        int firstRow = -1, firstColumn = -1, lastRow = -1, lastColumn = -1;
        const int outer = vertical ? columns : rows;
        const int inner = vertical ? rows : columns;
        for (int i = 0; i < outer; ++i) {
            for (int j = 0; j < inner; ++j) {
                const int r = vertical ? j : i;
                const int c = vertical ? i : j;
                if (m_run.skipCounter < m_run.firstLabel) {
                    ++m_run.skipCounter;
                    continue;
                }
                if (firstRow < 0) {
                    firstRow = r;
                    firstColumn = c;
                }
                lastRow = r;
                lastColumn = c;
                ++placed;
                if (!PrintLabel(resolution, dc, b, r, c, info)) {
                    if (!m_run.aborted)
                        drawCutLines(dc, b, firstRow, firstColumn, lastRow, lastColumn);
                    if (m_run.aborted || !m_run.newSetStarted) {
                        info.maxPage = CPrintInfo::kEndAfterPage;
                        if (m_run.aborted || !vertical)
                            info.continuePrinting = false;
                    }
                    return;
                }
            }
        }
        // Every block of a full page gets its cut lines.
        if (firstRow >= 0)
            drawCutLines(dc, b, firstRow, firstColumn, lastRow, lastColumn);
    }
    // A page on which no label could be placed would repeat for ever.
    if (placed == 0) {
        m_run.endOfRun = true;
        endRun();
    }
}

int CVorteplanSoftLabelDoc::repeatCount() const
{
    const int repeat = GetCurrentTemplate().GetRepeat();
    if (repeat > 0)
        return repeat;
    if (repeat < 0 && repeat >= -26) {
        // A whole number; an empty cell, or anything below 1, prints the
        // row once.
        const int32_t count = printoptions::ParseFirstLabel(GetTableCellText(m_run.currentRow - 1, -repeat - 1));
        return std::max(count, 1);
    }
    return 1;
}

bool CVorteplanSoftLabelDoc::PrintLabel(const POINT& resolution, CDC& dc, int block, int row, int column,
                                        CPrintInfo& info)
{
    (void)info;
    CTemplate& tpl = GetCurrentTemplate();
    const CLabel& label = *tpl.GetLabel();
    const int64_t rowPitch = label.GetRowPitch();
    const int64_t blockHeight = int64_t(label.GetRows()) * rowPitch + label.GetBlockSpace() + label.GetTop(0);
    const int32_t x = units::clampAdd(
        toDevice(resolution.x, int64_t(column) * label.GetColumnPitch() + label.GetLeft(0) + tpl.GetLeftCompensation()),
        -int64_t(m_run.printingOffset.x));
    const int32_t y = units::clampAdd(toDevice(resolution.y, int64_t(row) * rowPitch + int64_t(block) * blockHeight +
                                                                 tpl.GetTopCompensation() + label.GetTop(0)),
                                      -int64_t(m_run.printingOffset.y));

    AreaDrawRequest request;
    request.zoom = 100;
    request.originX = x;
    request.originY = y;
    request.labelNumber = m_run.currentRow;
    request.flags = kDrawPrinting;
    request.resolutionX = resolution.x;
    request.resolutionY = resolution.y;
    request.selection = m_run.selection ? m_printSelection : nullptr;
    request.rangeOnly = m_run.rangeOnly;
    request.rangeFirst = m_run.lowestLabel;
    request.rangeLast = m_run.highestLabel;
    if (!DrawArea(0, dc, request)) {
        m_run.aborted = true;
        return false;
    }
    ++m_run.labelsPrinted;

    if (printsModuleMarking() && tpl.GetJob().HasMarkerBorders())
        drawMarkerBorders(dc, POINT{x, y});

    if (tpl.IsPrintLabelBorders()) {
        const POINT at{units::clampAdd(x, m_run.printingOffset.x), units::clampAdd(y, m_run.printingOffset.y)};
        const bool columnsTouch = label.IsColumnPitchEqualWidth();
        const bool rowsTouch = label.IsRowPitchEqualHeight();
        const int shape = label.GetShape(0);
        if (shape == kShapeEllipse || (!columnsTouch && !rowsTouch))
            DrawPrintedLabelOutline(at, dc, m_run.printingOffset);
        else if (shape == kShapeRounded && columnsTouch && rowsTouch)
            DrawPrintedLabelCorners(at, dc, m_run.printingOffset);
    }

    m_run.drawRow = m_run.reverse ? m_run.rangeStart : m_run.currentRow;

    if (++m_run.repeatCounter < repeatCount())
        return true;
    m_run.repeatCounter = 0;
    if (NextRow(m_run.selection, m_run.currentRow, m_run.rangeEnd))
        return true;
    ++m_run.setsDone;
    if (m_run.setsDone > tpl.GetSets()) {
        m_run.endOfRun = true;
        return false;
    }
    m_run.currentRow = m_run.rangeStart;
    if (tpl.IsPageBreakOnNewSet()) {
        m_run.newSetStarted = true;
        return false;
    }
    return true;
}

bool CVorteplanSoftLabelDoc::NextRow(bool selection, int& row, int rangeEnd) const
{
    if (m_run.reverse)
        return PreviousRow(selection, row, rangeEnd);
    const bool marking = printsModuleMarking();
    if (selection) {
        if (!m_printSelection)
            return false;
        const int count = GetTableRowCount();
        if (marking) {
            int last = -1;
            for (int r = count; r > 0 && last < 0; --r)
                if (m_printSelection->IsRowSelected(r - 1))
                    last = r;
            row += marksPerStrip();
            if (row > last)
                row = -1;
            return row > 0;
        }
        int next = -1;
        for (int r = std::max(row, 0) + 1; r <= count && next < 0; ++r)
            if (m_printSelection->IsRowSelected(r - 1))
                next = r;
        row = next;
        return row > 0;
    }
    row += marking ? marksPerStrip() : 1;
    return row <= rangeEnd;
}

bool CVorteplanSoftLabelDoc::PreviousRow(bool selection, int& row, int rangeEnd) const
{
    const bool marking = printsModuleMarking();
    if (selection) {
        if (!m_printSelection)
            return false;
        const int count = GetTableRowCount();
        if (marking) {
            int first = -1;
            for (int r = 1; r <= count && first < 0; ++r)
                if (m_printSelection->IsRowSelected(r - 1))
                    first = r;
            row -= marksPerStrip();
            if (first < 0 || row < first)
                row = -1;
            return row >= 1;
        }
        int previous = -1;
        for (int r = std::min(row, count + 1) - 1; r >= 1 && previous < 0; --r)
            if (m_printSelection->IsRowSelected(r - 1))
                previous = r;
        row = previous;
        return row >= 1;
    }
    row -= marking ? marksPerStrip() : 1;
    return row >= rangeEnd;
}

// A line at the end of every module of the strip (the last one only when
// the modules are set apart), across the strip width.
void CVorteplanSoftLabelDoc::drawMarkerBorders(CDC& dc, POINT at)
{
    const CTemplate& tpl = GetCurrentTemplate();
    const CModuleMarkingRow& strip = tpl.GetJob().GetFirstRow();
    const int dpiX = m_run.dpiX;
    const int dpiY = m_run.dpiY;
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, std::max(toDevice(dpiX, 250), 1), RGB(0, 0, 0)});
    const int count = strip.GetModuleCount();
    const int32_t height = toDevice(dpiY, tpl.GetLabel()->GetStripWidth());
    for (int i = 0; i < count; ++i) {
        if (i == count - 1 && strip.GetGap() <= 999)
            break;
        const int64_t end = int64_t(strip.GetModulePosition(i)) + strip.GetModuleLength(i);
        const int32_t x = units::clampAdd(at.x, toDevice(dpiX, end));
        dc.MoveTo(x, at.y);
        dc.LineTo(x, units::clampAdd(at.y, height));
    }
}

// The cut lines between touching labels of one block, around the printed
// positions from (firstRow, firstColumn) to (lastRow, lastColumn). In the
// across order the printed positions form runs along the rows; sorted
// vertically they run down the columns, and rows and columns change roles.
void CVorteplanSoftLabelDoc::drawCutLines(CDC& dc, int block, int firstRow, int firstColumn, int lastRow,
                                          int lastColumn)
{
    const CTemplate& tpl = GetCurrentTemplate();
    const CLabel& label = *tpl.GetLabel();
    if (!tpl.IsPrintLabelBorders() || !label.IsColumnPitchEqualWidth() || !label.IsRowPitchEqualHeight() ||
        label.GetShape(0) == kShapeEllipse)
        return;
    const int dpiX = m_run.dpiX;
    const int dpiY = m_run.dpiY;
    const POINT offset = m_run.printingOffset;
    const int64_t blockTop = int64_t(block) * (int64_t(label.GetRows()) * label.GetRowPitch() + label.GetBlockSpace() +
                                               label.GetTop(0));
    // Edge g of the columns (left edge of column g) and of the rows.
    auto columnEdge = [&](int g) {
        return units::clampAdd(toDevice(dpiX, int64_t(g) * label.GetColumnPitch() + label.GetLeft(0)), -int64_t(offset.x));
    };
    auto rowEdge = [&](int i) {
        return units::clampAdd(toDevice(dpiY, int64_t(i) * label.GetRowPitch() + blockTop + label.GetTop(0)),
                               -int64_t(offset.y));
    };

    const bool vertical = tpl.IsSortVertical();
    const int columns = std::max(label.GetColumns(), 1);
    const int rows = label.GetRows();
    // Major: the direction of the runs of printed positions; minor: across.
    const int s = vertical ? firstColumn : firstRow;
    const int b = vertical ? firstRow : firstColumn;
    const int e = vertical ? lastColumn : lastRow;
    const int k = vertical ? lastRow : lastColumn;
    const int minorCount = vertical ? rows : columns;
    auto majorEdge = [&](int i) { return vertical ? columnEdge(i) : rowEdge(i); };
    auto minorEdge = [&](int g) { return vertical ? rowEdge(g) : columnEdge(g); };

    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, std::max(toDevice(dpiY, tpl.GetBorderWidth()), 1), COLORREF(tpl.GetBorderColor())});
    int index = 0;
    // A line from (major a, minor p) to (major a, minor q) or the same with
    // the axes given the other way round; back and forth by index.
    auto line = [&](bool alongMinor, int fixed, int from, int to) {
        if (from == to)
            return;
        int x1, y1, x2, y2;
        const bool horizontal = alongMinor != vertical;
        if (horizontal) {
            y1 = y2 = fixed;
            x1 = from;
            x2 = to;
        } else {
            x1 = x2 = fixed;
            y1 = from;
            y2 = to;
        }
        if (index++ % 2 == 1) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        dc.MoveTo(x1, y1);
        dc.LineTo(x2, y2);
    };
    for (int i = s; i <= e + 1; ++i) {
        const int from = minorEdge(i == s || s == e ? b : 0);
        const int to = minorEdge((i == e + 1 || s == e ? k : minorCount - 1) + 1);
        line(true, majorEdge(i), from, to);
    }
    for (int g = 0; g <= minorCount; ++g) {
        const int from = majorEdge(g < b ? s + 1 : s);
        const int to = g <= k + 1 ? majorEdge(e + 1) : majorEdge(e);
        line(false, minorEdge(g), from, to);
    }
}
