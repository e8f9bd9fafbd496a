#include "document/print/sheetpainter.h"

#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/units.h"

#include <algorithm>

namespace {

// The indices 0..n-1 whose place pos(i) .. pos(i) + extent meets lo..hi,
// for places that grow (or shrink) steadily with i: found by bisection, so
// a huge count costs nothing. Empty: first > last.
template <typename Pos>
std::pair<int64_t, int64_t> visibleRange(int64_t n, Pos pos, int64_t extent, int64_t lo, int64_t hi)
{
    if (n <= 0)
        return {0, -1};
    const bool growing = pos(n - 1) >= pos(0);
    // First index for which `pred` holds, for a predicate that turns true
    // once and stays true; n when it never does.
    auto firstTrue = [n](auto pred) {
        int64_t a = 0, b = n;
        while (a < b) {
            const int64_t m = a + (b - a) / 2;
            if (pred(m))
                b = m;
            else
                a = m + 1;
        }
        return a;
    };
    if (growing) {
        const int64_t first = firstTrue([&](int64_t i) { return pos(i) + extent >= lo; });
        const int64_t last = firstTrue([&](int64_t i) { return pos(i) > hi; }) - 1;
        return {first, last};
    }
    const int64_t first = firstTrue([&](int64_t i) { return pos(i) <= hi; });
    const int64_t last = firstTrue([&](int64_t i) { return pos(i) + extent < lo; }) - 1;
    return {first, last};
}

} // namespace

// --- the mapping ----------------------------------------------------------------------------

SheetMapping SheetMapping::Printer(int dpiX, int dpiY, POINT printingOffset, SheetPoint compensation)
{
    SheetMapping m;
    m.compensation = compensation;
    m.resolutionX = dpiX;
    m.resolutionY = dpiY;
    m.origin = POINT{units::clamp32(-int64_t(printingOffset.x)), units::clamp32(-int64_t(printingOffset.y))};
    return m;
}

SheetMapping SheetMapping::Screen(int scale, int zoom, POINT origin)
{
    SheetMapping m;
    m.resolutionX = scale;
    m.resolutionY = scale;
    m.origin = origin;
    m.zoom = zoom;
    return m;
}

int32_t SheetMapping::X(int64_t um) const
{
    return units::clampAdd(units::UmToPxWide(SheetAdd(um, compensation.x), resolutionX), origin.x);
}

int32_t SheetMapping::Y(int64_t um) const
{
    return units::clampAdd(units::UmToPxWide(SheetAdd(um, compensation.y), resolutionY), origin.y);
}

int32_t SheetMapping::Width(int64_t um) const
{
    return units::UmToPxWide(um, resolutionX);
}

int32_t SheetMapping::Height(int64_t um) const
{
    return units::UmToPxWide(um, resolutionY);
}

// --- the painter ----------------------------------------------------------------------------

CSheetPainter::CSheetPainter(CVorteplanSoftLabelDoc& doc, const CSheetLayout& layout, const SheetMapping& mapping,
                             const SheetPaintOptions& options)
    : m_doc(doc), m_tpl(doc.GetCurrentTemplate()), m_layout(layout), m_label(layout.Label()), m_mapping(mapping),
      m_options(options)
{
}

bool CSheetPainter::PaintHeaderFooter(CDC& dc, int64_t labelNumber)
{
    for (int area = 1; area <= 2; ++area)
        if (m_layout.HasPart(area) && !DrawHeaderFooterArea(dc, area, labelNumber))
            return false;
    return true;
}

bool CSheetPainter::DrawHeaderFooterArea(CDC& dc, int area, int64_t labelNumber)
{
    const POINT at = m_mapping.ToDevice(m_layout.PartOrigin(area));
    if (m_options.outlines)
        m_label.DrawPart(area, dc, m_mapping.zoom, at.x, at.y);
    AreaDrawRequest request = m_options.area;
    request.zoom = m_mapping.zoom;
    request.originX = at.x;
    request.originY = at.y;
    request.labelNumber = units::clamp32(labelNumber);
    // Header and footer are printed once a page, whatever rows are chosen.
    request.selection = nullptr;
    request.rangeOnly = false;
    return m_doc.DrawArea(area, dc, request);
}

bool CSheetPainter::PaintLabel(CDC& dc, const SheetPosition& p, int64_t number)
{
    const POINT at = m_mapping.ToDevice(m_layout.Origin(p));
    const bool marking = m_label.IsModuleMarking();
    if (m_options.outlines) {
        {
            CDCStateScope state(dc);
            if (!marking && number == m_options.currentLabel)
                dc.SelectBrush(CBrush::Solid(kCurrentLabelColor));
            m_label.DrawPart(0, dc, m_mapping.zoom, at.x, at.y);
        }
        // A strip takes one label number per module.
        const int64_t current = m_options.currentLabel;
        if (marking && current >= number && current - number < m_doc.MarksPerStrip())
            m_doc.DrawMarkerSelection(dc, m_mapping.resolutionY, at.y, int(current - number));
    }
    AreaDrawRequest request = m_options.area;
    request.zoom = m_mapping.zoom;
    request.originX = at.x;
    request.originY = at.y;
    request.labelNumber = units::clamp32(number);
    if (!m_doc.DrawArea(0, dc, request))
        return false;
    if (marking && m_tpl.GetJob().HasMarkerBorders())
        drawMarkerBorders(dc, at);
    if (m_tpl.IsPrintLabelBorders()) {
        switch (m_layout.BordersOfLabel()) {
        case LabelBorders::Outline: DrawPrintedLabelOutline(dc, at); break;
        case LabelBorders::Corners: DrawPrintedLabelCorners(dc, at); break;
        case LabelBorders::None: break;
        }
    }
    return true;
}

CSheetPainter::Nearby CSheetPainter::nearby() const
{
    const SheetSize size = m_layout.LabelSize();
    Nearby n;
    n.width = int64_t(m_mapping.Width(size.width)) + 1;
    n.height = int64_t(m_mapping.Height(size.height)) + 1;
    // Objects may stand out of their label a little; positions this close
    // to the window are painted too.
    n.reach = std::max(n.width, n.height);
    return n;
}

CSheetPainter::Range CSheetPainter::visibleColumns(const std::optional<RECT>& window) const
{
    if (!window)
        return {0, m_layout.ColumnCount() - 1};
    const Nearby n = nearby();
    auto xOf = [&](int64_t c) { return int64_t(m_mapping.X(m_layout.ColumnLeft(c))); };
    const auto [first, last] = visibleRange(m_layout.ColumnCount(), xOf, n.width + n.reach,
                                            int64_t(window->left) - n.reach, int64_t(window->right) + n.reach);
    return {first, last};
}

CSheetPainter::Range CSheetPainter::visibleRows(int block, const std::optional<RECT>& window) const
{
    if (!window)
        return {0, m_layout.RowCount() - 1};
    const Nearby n = nearby();
    auto yOf = [&](int64_t r) { return int64_t(m_mapping.Y(m_layout.RowTop(block, r))); };
    const auto [first, last] = visibleRange(m_layout.RowCount(), yOf, n.height + n.reach,
                                            int64_t(window->top) - n.reach, int64_t(window->bottom) + n.reach);
    return {first, last};
}

CSheetPainter::WalkEnd CSheetPainter::PaintLabels(CDC& dc, const Walk& walk, const Visit& visit)
{
    if (m_layout.IsEmpty() || walk.firstIndex >= m_layout.PositionsPerSheet())
        return WalkEnd::Done;
    const SheetPosition start = m_layout.PositionAt(walk.firstIndex);
    const bool down = m_layout.Order() == SheetOrder::Down;
    // Runs follow one another along the outer direction; a run goes along
    // the inner one.
    const int64_t startOuter = down ? start.column : start.row;
    const int64_t startInner = down ? start.row : start.column;
    const Range columns = visibleColumns(walk.window);
    int64_t visited = 0;
    for (int b = start.block; b < m_layout.BlockCount(); ++b) {
        const Range rows = visibleRows(b, walk.window);
        const SheetSpan span{rows.first, rows.last, columns.first, columns.last};
        const Range outer = down ? columns : rows;
        const Range inner = down ? rows : columns;
        std::optional<SheetPosition> first;
        SheetPosition last;
        auto closeBlock = [&] {
            if (first)
                drawCutLines(dc, b, *first, last, span);
        };
        const bool startBlock = b == start.block;
        for (int64_t o = startBlock ? std::max(outer.first, startOuter) : outer.first; o <= outer.last; ++o) {
            const int64_t i0 = startBlock && o == startOuter ? std::max(inner.first, startInner) : inner.first;
            for (int64_t i = i0; i <= inner.last; ++i) {
                if (visited == walk.maxPositions) {
                    closeBlock();
                    return WalkEnd::Stopped;
                }
                ++visited;
                const SheetPosition p = down ? SheetPosition{b, int(i), int(o)} : SheetPosition{b, int(o), int(i)};
                const Step step = visit(p);
                if (step == Step::Failed)
                    return WalkEnd::Failed;
                if (!first)
                    first = p;
                last = p;
                if (step == Step::Last) {
                    closeBlock();
                    return WalkEnd::Stopped;
                }
            }
        }
        closeBlock();
    }
    return WalkEnd::Done;
}

// --- borders, cut lines and marker borders -----------------------------------------------

namespace {

// The pen of label borders and cut lines: the template's width, taken with
// the vertical resolution, at least a pixel.
CPen borderPen(const CTemplate& tpl, const SheetMapping& mapping)
{
    return CPen{PS_SOLID, std::max(units::UmToPx(tpl.GetBorderWidth(), mapping.resolutionY), 1),
                COLORREF(tpl.GetBorderColor())};
}

// The printed label's box in device pixels and its corner ellipse.
struct PrintedBox {
    int left, top, right, bottom, cornerX, cornerY;
};

PrintedBox printedBox(const SheetMapping& mapping, const SheetSize& size, int32_t radius, POINT at)
{
    PrintedBox b;
    b.left = at.x;
    b.top = at.y;
    b.right = units::clampAdd(b.left, mapping.Width(size.width));
    b.bottom = units::clampAdd(b.top, mapping.Height(size.height));
    b.cornerX = mapping.Width(2 * int64_t(radius));
    b.cornerY = mapping.Height(2 * int64_t(radius));
    return b;
}

} // namespace

void CSheetPainter::DrawPrintedLabelOutline(CDC& dc, POINT at) const
{
    CDCStateScope state(dc);
    dc.SelectPen(borderPen(m_tpl, m_mapping));
    dc.SelectBrush(CBrush::Hollow());
    const PrintedBox b = printedBox(m_mapping, m_layout.LabelSize(), m_label.GetRadius(), at);
    switch (m_label.GetShape(0)) {
    case kShapeRounded: dc.RoundRect(b.left, b.top, b.right, b.bottom, b.cornerX, b.cornerY); break;
    case kShapeEllipse: dc.Ellipse(b.left, b.top, b.right, b.bottom); break;
    default: dc.Rectangle(b.left, b.top, units::clampAdd(b.right, 1), units::clampAdd(b.bottom, 1)); break;
    }
}

void CSheetPainter::DrawPrintedLabelCorners(CDC& dc, POINT at) const
{
    CDCStateScope state(dc);
    dc.SelectPen(borderPen(m_tpl, m_mapping));
    const PrintedBox b = printedBox(m_mapping, m_layout.LabelSize(), m_label.GetRadius(), at);
    // A corner radius read from a label file may be of any size: every sum
    // is taken in 64 bits and clamped.
    auto to = [](int64_t a, int64_t d) { return units::clampAdd(a, d); };
    const int rx = b.cornerX / 2;
    const int ry = b.cornerY / 2;
    // Each arc runs counter-clockwise through its corner of the rounded box.
    dc.Arc(b.left, b.top, to(b.left, b.cornerX), to(b.top, b.cornerY), to(b.left, rx), b.top, b.left, to(b.top, ry));
    dc.Arc(to(b.right, -int64_t(b.cornerX)), b.top, b.right, to(b.top, b.cornerY), b.right, to(b.top, ry),
           to(b.right, -int64_t(rx)), b.top);
    dc.Arc(b.left, to(b.bottom, -int64_t(b.cornerY)), to(b.left, b.cornerX), b.bottom, b.left,
           to(b.bottom, -int64_t(ry)), to(b.left, rx), b.bottom);
    dc.Arc(to(b.right, -int64_t(b.cornerX)), to(b.bottom, -int64_t(b.cornerY)), b.right, b.bottom,
           to(b.right, -int64_t(rx)), b.bottom, b.right, to(b.bottom, -int64_t(ry)));
}

void CSheetPainter::drawMarkerBorders(CDC& dc, POINT at) const
{
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, std::max(m_mapping.Width(CSheetLayout::kMarkerBorderWidth), 1), RGB(0, 0, 0)});
    const int32_t bottom = units::clampAdd(at.y, m_mapping.Height(m_layout.MarkerBorderLength()));
    for (const int64_t end : CSheetLayout::MarkerBorders(m_tpl.GetJob().GetFirstRow())) {
        const int32_t x = units::clampAdd(at.x, m_mapping.Width(end));
        dc.MoveTo(x, at.y);
        dc.LineTo(x, bottom);
    }
}

void CSheetPainter::drawCutLines(CDC& dc, int block, const SheetPosition& first, const SheetPosition& last,
                                 const SheetSpan& span) const
{
    if (!m_tpl.IsPrintLabelBorders())
        return;
    const std::vector<SheetLine> lines = m_layout.CutLines(block, first, last, span);
    if (lines.empty())
        return;
    CDCStateScope state(dc);
    dc.SelectPen(borderPen(m_tpl, m_mapping));
    for (const SheetLine& line : lines) {
        const POINT from = m_mapping.ToDevice(line.from);
        const POINT to = m_mapping.ToDevice(line.to);
        dc.MoveTo(from.x, from.y);
        dc.LineTo(to.x, to.y);
    }
}
