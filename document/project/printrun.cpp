// The print run of the project document, page by page: the row range,
// the header and footer, one label per sheet position in the order of the
// sheet layout, the rows of the range, repeats and sets, marker borders,
// label borders and cut lines.
#include "document/project/printrun.h"

#include "document/project/projectdoc.h"
#include "document/project/sheetlayout.h"
#include "platform/units.h"

#include <algorithm>

namespace {

constexpr const char* kNoSelectedRows = "No table rows are selected: there is nothing to print.";

SheetOrder orderOf(const CTemplate& tpl)
{
    return tpl.IsSortVertical() ? SheetOrder::Down : SheetOrder::Across;
}

} // namespace

// --- start of the job ------------------------------------------------------------------------

bool CPrintRun::Begin(CDC& dc, CPrintInfo& info, const CRowSelection* selection, POINT printingOffset)
{
    const bool reverse = info.options.reverse != 0;
    m_state = PrintRunState{};
    m_state.reverse = reverse;
    const int perSheet = std::max(1, m_doc.GetLabelsPerSheet());
    m_state.firstLabel = std::clamp(info.options.firstLabel, 1, perSheet);
    m_state.dpiX = dc.GetDeviceCaps(LOGPIXELSX);
    m_state.dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    m_state.printingOffset = printingOffset;
    m_state.selection = info.range == PrintRange::Selection;
    m_state.rangeOnly = info.range == PrintRange::Labels;
    m_selection = selection;

    if (m_state.selection && (m_state.reverse || m_doc.UsesTableData())) {
        bool any = false;
        if (selection)
            for (int r = 0, n = m_doc.GetTableRowCount(); r < n && !any; ++r)
                any = selection->IsRowSelected(r);
        if (!any) {
            ShowUserMessage(kNoSelectedRows, {}, MessageIcon::Information);
            info.maxPage = CPrintInfo::kEndAfterPage;
            info.continuePrinting = false;
            return false;
        }
    }
    setUpRowRange(info);
    info.toPage = CPrintInfo::kOpenEnd;
    info.maxPage = CPrintInfo::kOpenEnd;
    info.continuePrinting = true;
    return true;
}

void CPrintRun::setUpRowRange(const CPrintInfo& info)
{
    const bool table = m_doc.UsesTableData();
    const bool marking = m_doc.PrintsModuleMarking();
    const int n = m_doc.MarksPerStrip();
    auto strip = [&](int r) { return marking ? ((r - 1) / n) * n + 1 : r; };
    const int rows = m_doc.PrintRowCount();
    const int perSheet = m_doc.GetLabelsPerSheet();
    const int from = info.fromPage;
    const int to = info.toPage;
    PrintRunState& s = m_state;

    s.firstSelected = s.lastSelected = -1;
    if (s.selection && m_selection) {
        for (int r = 0, c = m_doc.GetTableRowCount(); r < c && s.firstSelected < 0; ++r)
            if (m_selection->IsRowSelected(r))
                s.firstSelected = r + 1;
        for (int r = m_doc.GetTableRowCount(); r > 0 && s.lastSelected < 0; --r)
            if (m_selection->IsRowSelected(r - 1))
                s.lastSelected = r;
    }

    switch (info.range) {
    case PrintRange::All:
        if (table) {
            s.rangeStart = s.reverse ? strip(rows) : 1;
            s.rangeEnd = s.reverse ? 1 : rows;
            s.lowestLabel = 1;
            s.highestLabel = rows;
        } else {
            s.rangeStart = s.reverse ? perSheet : 1;
            s.rangeEnd = s.reverse ? 1 : perSheet;
            s.lowestLabel = 1;
            s.highestLabel = perSheet;
        }
        s.currentRow = s.rangeStart;
        break;
    case PrintRange::Labels:
        if (s.reverse) {
            // Counting down from the larger end to the smaller, whichever
            // way round the dialog gave them.
            const int hi = std::max(from, to);
            const int lo = std::min(from, to);
            s.rangeStart = table ? strip(hi) : hi;
            s.rangeEnd = lo;
            s.lowestLabel = lo;
            s.highestLabel = hi;
            s.currentRow = s.rangeStart;
        } else if (table) {
            s.rangeStart = strip(from);
            s.rangeEnd = to;
            s.lowestLabel = std::min(from, to);
            s.highestLabel = to;
            s.currentRow = s.rangeStart;
        } else {
            s.rangeStart = from;
            s.currentRow = to;
            s.rangeEnd = to;
            s.lowestLabel = std::min(from, to);
            s.highestLabel = to;
        }
        break;
    case PrintRange::Selection:
        if (!table && !s.reverse) {
            s.rangeStart = 1;
            s.rangeEnd = perSheet;
        } else {
            const int first = s.reverse ? s.lastSelected : s.firstSelected;
            s.rangeStart = table ? strip(first) : first;
            s.rangeEnd = -1;
        }
        s.lowestLabel = 1;
        s.highestLabel = std::max(rows, perSheet);
        s.currentRow = s.rangeStart;
        break;
    }
    s.drawRow = s.currentRow;
}

// --- pages and labels ------------------------------------------------------------------------

void CPrintRun::PrintPage(CDC& dc, CPrintInfo& info)
{
    const CTemplate& tpl = m_doc.GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    auto endRun = [&] {
        info.maxPage = CPrintInfo::kEndAfterPage;
        info.continuePrinting = false;
    };
    if (!label || m_state.endOfRun || m_state.aborted) {
        endRun();
        return;
    }
    const CSheetLayout layout(*label, orderOf(tpl));
    // A sheet without positions would give pages without labels for ever.
    if (layout.IsEmpty()) {
        m_state.endOfRun = true;
        endRun();
        return;
    }
    AreaDrawRequest request;
    request.labelNumber = m_state.currentRow;
    request.flags = kDrawPrinting;
    request.resolutionX = m_state.dpiX;
    request.resolutionY = m_state.dpiY;
    for (int area = 1; area <= 2; ++area) {
        if (!layout.HasPart(area))
            continue;
        if (!m_doc.DrawHeaderFooterArea(m_state.dpiX, area, dc, request)) {
            m_state.aborted = true;
            endRun();
            return;
        }
    }

    m_state.newSetStarted = false;
    // The first label leaves the positions before it empty, on the first
    // page alone.
    int64_t index = 0;
    if (m_state.skipCounter < m_state.firstLabel) {
        index = layout.FirstIndex(m_state.firstLabel);
        m_state.skipCounter = m_state.firstLabel;
    }
    const POINT resolution{m_state.dpiX, m_state.dpiY};
    // First and last printed position of the current block.
    SheetPosition first, last;
    int block = -1;
    for (const int64_t perSheet = layout.PositionsPerSheet(); index < perSheet; ++index) {
        const SheetPosition p = layout.PositionAt(index);
        if (p.block != block) {
            // Every block the page has filled gets its cut lines.
            if (block >= 0)
                drawCutLines(dc, layout, block, first, last);
            block = p.block;
            first = p;
        }
        last = p;
        if (!PrintLabel(resolution, dc, p.block, p.row, p.column, info)) {
            if (!m_state.aborted)
                drawCutLines(dc, layout, block, first, last);
            if (m_state.aborted || !m_state.newSetStarted) {
                info.maxPage = CPrintInfo::kEndAfterPage;
                if (m_state.aborted || layout.Order() == SheetOrder::Across)
                    info.continuePrinting = false;
            }
            return;
        }
    }
    if (block >= 0)
        drawCutLines(dc, layout, block, first, last);
}

int CPrintRun::repeatCount() const
{
    const int repeat = m_doc.GetCurrentTemplate().GetRepeat();
    if (repeat > 0)
        return repeat;
    if (repeat < 0 && repeat >= -26) {
        // A whole number; an empty cell, or anything below 1, prints the
        // row once.
        const int32_t count =
            printoptions::ParseFirstLabel(m_doc.GetTableCellText(m_state.currentRow - 1, -repeat - 1));
        return std::max(count, 1);
    }
    return 1;
}

bool CPrintRun::PrintLabel(const POINT& resolution, CDC& dc, int block, int row, int column, CPrintInfo& info)
{
    (void)info;
    CTemplate& tpl = m_doc.GetCurrentTemplate();
    const CSheetLayout layout(*tpl.GetLabel(), orderOf(tpl));
    const SheetPoint at =
        layout.Origin(SheetPosition{block, row, column}, tpl.GetLeftCompensation(), tpl.GetTopCompensation());
    const int32_t x = units::clampAdd(units::UmToPxWide(at.x, resolution.x), -int64_t(m_state.printingOffset.x));
    const int32_t y = units::clampAdd(units::UmToPxWide(at.y, resolution.y), -int64_t(m_state.printingOffset.y));

    AreaDrawRequest request;
    request.zoom = 100;
    request.originX = x;
    request.originY = y;
    request.labelNumber = m_state.currentRow;
    request.flags = kDrawPrinting;
    request.resolutionX = resolution.x;
    request.resolutionY = resolution.y;
    request.selection = m_state.selection ? m_selection : nullptr;
    request.rangeOnly = m_state.rangeOnly;
    request.rangeFirst = m_state.lowestLabel;
    request.rangeLast = m_state.highestLabel;
    if (!m_doc.DrawArea(0, dc, request)) {
        m_state.aborted = true;
        return false;
    }
    ++m_state.labelsPrinted;

    if (m_doc.PrintsModuleMarking() && tpl.GetJob().HasMarkerBorders())
        drawMarkerBorders(dc, layout, POINT{x, y});

    if (tpl.IsPrintLabelBorders()) {
        const POINT position{units::clampAdd(x, m_state.printingOffset.x), units::clampAdd(y, m_state.printingOffset.y)};
        switch (layout.BordersOfLabel()) {
        case LabelBorders::Outline: m_doc.DrawPrintedLabelOutline(position, dc, m_state.printingOffset); break;
        case LabelBorders::Corners: m_doc.DrawPrintedLabelCorners(position, dc, m_state.printingOffset); break;
        case LabelBorders::None: break;
        }
    }

    m_state.drawRow = m_state.reverse ? m_state.rangeStart : m_state.currentRow;

    if (++m_state.repeatCounter < repeatCount())
        return true;
    m_state.repeatCounter = 0;
    if (NextRow(m_state.selection, m_state.currentRow, m_state.rangeEnd))
        return true;
    return nextSet();
}

bool CPrintRun::nextSet()
{
    const CTemplate& tpl = m_doc.GetCurrentTemplate();
    ++m_state.setsDone;
    if (m_state.setsDone > tpl.GetSets()) {
        m_state.endOfRun = true;
        return false;
    }
    m_state.currentRow = m_state.rangeStart;
    if (tpl.IsPageBreakOnNewSet()) {
        m_state.newSetStarted = true;
        return false;
    }
    return true;
}

// --- rows of the range -----------------------------------------------------------------------

bool CPrintRun::NextRow(bool selection, int& row, int rangeEnd) const
{
    if (m_state.reverse)
        return PreviousRow(selection, row, rangeEnd);
    const bool marking = m_doc.PrintsModuleMarking();
    if (selection) {
        if (!m_selection)
            return false;
        const int count = m_doc.GetTableRowCount();
        if (marking) {
            row += m_doc.MarksPerStrip();
            if (row > m_state.lastSelected)
                row = -1;
            return row > 0;
        }
        int next = -1;
        for (int r = std::max(row, 0) + 1; r <= count && next < 0; ++r)
            if (m_selection->IsRowSelected(r - 1))
                next = r;
        row = next;
        return row > 0;
    }
    row += marking ? m_doc.MarksPerStrip() : 1;
    return row <= rangeEnd;
}

bool CPrintRun::PreviousRow(bool selection, int& row, int rangeEnd) const
{
    const bool marking = m_doc.PrintsModuleMarking();
    if (selection) {
        if (!m_selection)
            return false;
        const int count = m_doc.GetTableRowCount();
        if (marking) {
            // A strip is printed while it holds a selected row: it ends at
            // or after the first one, as the forward run starts with it.
            const int marks = m_doc.MarksPerStrip();
            row -= marks;
            if (m_state.firstSelected < 0 || row + marks - 1 < m_state.firstSelected)
                row = -1;
            return row >= 1;
        }
        int previous = -1;
        for (int r = std::min(row, count + 1) - 1; r >= 1 && previous < 0; --r)
            if (m_selection->IsRowSelected(r - 1))
                previous = r;
        row = previous;
        return row >= 1;
    }
    row -= marking ? m_doc.MarksPerStrip() : 1;
    return row >= rangeEnd;
}

// --- marker borders and cut lines -------------------------------------------------------------

void CPrintRun::drawMarkerBorders(CDC& dc, const CSheetLayout& layout, POINT at)
{
    const CModuleMarkingRow& strip = m_doc.GetCurrentTemplate().GetJob().GetFirstRow();
    const int dpiX = m_state.dpiX;
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, std::max(units::UmToPx(CSheetLayout::kMarkerBorderWidth, dpiX), 1), RGB(0, 0, 0)});
    const int32_t bottom = units::clampAdd(at.y, units::UmToPxWide(layout.MarkerBorderLength(), m_state.dpiY));
    for (const int64_t end : CSheetLayout::MarkerBorders(strip)) {
        const int32_t x = units::clampAdd(at.x, units::UmToPxWide(end, dpiX));
        dc.MoveTo(x, at.y);
        dc.LineTo(x, bottom);
    }
}

void CPrintRun::drawCutLines(CDC& dc, const CSheetLayout& layout, int block, const SheetPosition& first,
                             const SheetPosition& last)
{
    const CTemplate& tpl = m_doc.GetCurrentTemplate();
    if (!tpl.IsPrintLabelBorders())
        return;
    const std::vector<SheetLine> lines = layout.CutLines(block, first, last);
    if (lines.empty())
        return;
    // Margins and pitches only: the compensation moves the labels, not the
    // cuts.
    const POINT offset = m_state.printingOffset;
    auto device = [&](const SheetPoint& p) {
        return POINT{units::clampAdd(units::UmToPxWide(p.x, m_state.dpiX), -int64_t(offset.x)),
                     units::clampAdd(units::UmToPxWide(p.y, m_state.dpiY), -int64_t(offset.y))};
    };
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, std::max(units::UmToPx(tpl.GetBorderWidth(), m_state.dpiY), 1),
                      COLORREF(tpl.GetBorderColor())});
    for (const SheetLine& line : lines) {
        const POINT from = device(line.from);
        const POINT to = device(line.to);
        dc.MoveTo(from.x, from.y);
        dc.LineTo(to.x, to.y);
    }
}
