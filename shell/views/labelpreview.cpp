#include "shell/views/labelpreview.h"

#include "content/tables/drawcontext.h"
#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "document/project/sheetlayout.h"
#include "platform/commandids.h"
#include "platform/units.h"
#include "shell/application/contextmenus.h"
#include "shell/frame/ribbonbar.h"
#include "shell/printdriver.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPrinter>
#include <QResizeEvent>

#include <algorithm>
#include <array>

namespace preview {

namespace {

constexpr const char* kNoLabelText = "Preview: No label selected";
// What the header and footer outlines add to their position.
constexpr int kAreaLeft = 16;
constexpr int kAreaTop = 8;

struct ZoomCommand {
    int id;
    int percent;
};
constexpr std::array<ZoomCommand, 6> kZoomCommands{{{cmd::kZoom50, 50},
                                                    {cmd::kZoom75, 75},
                                                    {cmd::kZoom100, 100},
                                                    {cmd::kZoom200, 200},
                                                    {cmd::kZoom300, 300},
                                                    {cmd::kZoom400, 400}}};

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

PageSize PageSizeOf(const CLabel* label)
{
    const SheetSize paper = CSheetLayout::PaperSizeOf(label);
    return PageSize{paper.width, paper.height};
}

int ScaleFor(const PageSize& page, int zoom, int w, int h, int dpi, int* percent)
{
    if (dpi <= 0)
        dpi = 96;
    int64_t pct = 100;
    if (page.width > 0 && page.height > 0) {
        // 64 bits: zoom x height x 254 passes 2^31 in tall windows at high zoom.
        const int64_t usableW = std::max(w - 16, 1);
        const int64_t usableH = std::max(h - 8, 1);
        const int64_t byHeight = int64_t(zoom) * usableH * 254 / page.height;
        const int64_t byWidth = int64_t(zoom) * usableW * 254 / page.width;
        const int64_t value = std::min(byHeight, byWidth);
        pct = (value * 100 + dpi / 2) / dpi;
    }
    // A page far larger than the window still draws at 1 %.
    pct = std::clamp<int64_t>(pct, 1, INT32_MAX / 1000);
    if (percent)
        *percent = int(pct);
    return units::clamp32((int64_t(dpi) * pct + 50) / 100);
}

int32_t ToPixels(int64_t um, int scale)
{
    return units::UmToPxWide(um, scale);
}

} // namespace preview

using namespace preview;

CLabelPreview::CLabelPreview(CVorteplanSoftLabelDoc* document, Links links, QWidget* parent)
    : CBackBufferView(parent), m_document(document), m_links(std::move(links))
{
    setFocusPolicy(Qt::StrongFocus);
    registerCommands();
}

CLabelPreview::~CLabelPreview() = default;

void CLabelPreview::registerCommands()
{
    OnCommand(cmd::kZoomBox, [this] {
        if (m_links.ribbon)
            OnZoomText(m_links.ribbon->GetEditText(cmd::kZoomBox));
    }, [this](CCmdUI& ui) {
        if (hasFocus() || viewport()->hasFocus())
            ui.SetText(QStringLiteral("%1 %").arg(m_zoom));
    });
    for (const ZoomCommand& z : kZoomCommands)
        OnCommand(z.id, [this, z] { SetZoom(z.percent); },
                  [this, z](CCmdUI& ui) { ui.SetCheck(m_zoom == z.percent ? 1 : 0); });
    OnCommand(cmd::kShowTable, [this] {
        if (m_links.forwardToParent)
            m_links.forwardToParent(cmd::kShowTable);
    });
}

void CLabelPreview::Invalidate()
{
    RedrawScene();
}

void CLabelPreview::SetZoom(int percent)
{
    m_zoom = percent;
    updateScrollSizes();
}

bool CLabelPreview::OnZoomText(const QString& text)
{
    // "%d": optional blanks and sign, then digits; the rest is ignored.
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == u'-' || t[end] == u'+'))
        ++end;
    const int digitsFrom = end;
    while (end < t.size() && t[end].isDigit() && end - digitsFrom < 10)
        ++end;
    if (end == digitsFrom)
        return false;
    bool ok = false;
    const qlonglong value = t.left(end).toLongLong(&ok);
    if (!ok || value < kMinZoomText || value > kMaxZoomText)
        return false;
    SetZoom(int(value));
    return true;
}

void CLabelPreview::updateScrollSizes()
{
    const QSize client = viewport()->size();
    const auto scaled = [this](int v) { return int(std::min<int64_t>(int64_t(v) * m_zoom / 100, INT32_MAX / 2)); };
    SetContentSize(QSize(scaled(client.width()), scaled(client.height())));
}

void CLabelPreview::resizeEvent(QResizeEvent* event)
{
    CBackBufferView::resizeEvent(event);
    updateScrollSizes();
}

void CLabelPreview::focusInEvent(QFocusEvent* event)
{
    CBackBufferView::focusInEvent(event);
    if (m_links.activate)
        m_links.activate(this);
}

void CLabelPreview::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_links.menus)
        m_links.menus->ShowPopupMenu(QStringLiteral("Preview"), event->globalPos(), this);
}

void CLabelPreview::mousePressEvent(QMouseEvent* event)
{
    // The splitter handle above takes drags of the bar; a press in the view
    // only makes it active.
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void CLabelPreview::PaintScene(CDC& dc)
{
    const QSize size = viewport()->size();
    dc.FillSolidRect(RECT{0, 0, BackBuffer().width(), BackBuffer().height()}, kBackground);
    m_drawnLabels = 0;
    m_drawnNumbers.clear();
    if (!m_document)
        return;
    paintSheet(dc, size.width(), size.height());
}

void CLabelPreview::paintSheet(CDC& dc, int width, int height)
{
    CVorteplanSoftLabelDoc& doc = *m_document;
    CTemplate& tpl = doc.GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    const QPoint scroll = ScrollPosition();
    if (!label) {
        CDCStateScope state(dc);
        dc.SetBkMode(TRANSPARENT);
        RECT r{20 - scroll.x(), 20 - scroll.y(), 400 - scroll.x(), 400 - scroll.y()};
        dc.DrawText(kNoLabelText, r, DT_LEFT | DT_TOP | DT_WORDBREAK);
        return;
    }

    const CSheetLayout layout(*label, tpl.IsSortVertical() ? SheetOrder::Down : SheetOrder::Across);
    const PageSize page = PageSizeOf(label);
    int percent = 100;
    const int scale = ScaleFor(page, m_zoom, width, height, LogPixelsY(), &percent);
    m_scale = scale;
    const int ox = -scroll.x();
    const int oy = -scroll.y();
    {
        CDCStateScope state(dc);
        dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
        dc.SelectBrush(CBrush::Solid(RGB(255, 255, 255)));
        const int left = units::clampAdd(kPageLeft, ox);
        const int top = units::clampAdd(kPageTop, oy);
        dc.Rectangle(left, top, units::clampAdd(left, int64_t(ToPixels(page.width, scale)) + 1),
                     units::clampAdd(top, int64_t(ToPixels(page.height, scale)) + 1));
    }

    if (layout.IsEmpty())
        return;
    const bool marking = label->IsModuleMarking();
    // A marker strip takes one label number per module.
    const int step = marking ? std::max(1, tpl.GetJob().GetFirstRow().GetModuleCount()) : 1;
    const int64_t row = doc.GetCurrentTableRow();
    const int64_t first = layout.SheetFirstNumber(row, step);

    AreaDrawRequest request;
    request.zoom = percent;
    request.flags = kDrawPreview;
    // Barcodes laid out as the application's printer lays them out.
    const QPrinter& printer = CPrintDriver::ApplicationPrinter();
    request.resolutionX = printer.logicalDpiX();
    request.resolutionY = printer.logicalDpiY();
    request.labelNumber = units::clamp32(first);
    for (int area = 1; area <= 2; ++area) {
        if (!layout.HasPart(area))
            continue;
        const SheetPoint at = layout.PartOrigin(area);
        const int x = units::clampAdd(int64_t(ToPixels(at.x, scale)) + kAreaLeft, ox);
        const int y = units::clampAdd(int64_t(ToPixels(at.y, scale)) + kAreaTop, oy);
        label->DrawPart(area, dc, percent, x, y);
        request.originX = x;
        request.originY = y;
        if (!doc.DrawArea(area, dc, request))
            return;
    }

    // The sheet is laid out as the print run lays it out: blocks down the
    // page, positions in the template's print order. Only the positions in
    // and near the window are visited.
    const int64_t rows = layout.RowCount();
    const int64_t columns = layout.ColumnCount();
    const bool columnByColumn = layout.Order() == SheetOrder::Down;
    const SheetSize labelSize = layout.LabelSize();
    const int64_t labelW = ToPixels(labelSize.width, scale) + 1;
    const int64_t labelH = ToPixels(labelSize.height, scale) + 1;
    // Objects may stand out of their label a little; positions this close
    // to the window are drawn too.
    const int64_t reachX = std::max(labelW, labelH);
    const int64_t reachY = reachX;
    const int64_t currentNumber = row + 1;

    auto xOf = [&](int64_t c) { return int64_t(ToPixels(layout.ColumnLeft(c), scale)) + kLabelLeft + ox; };
    const auto [c0, c1] = visibleRange(columns, xOf, labelW + reachX, -reachX, int64_t(width) + reachX);
    int64_t drawn = 0;
    for (int b = 0; b < layout.BlockCount(); ++b) {
        auto yOf = [&](int64_t r) { return int64_t(ToPixels(layout.RowTop(b, r), scale)) + kLabelTop + oy; };
        const auto [r0, r1] = visibleRange(rows, yOf, labelH + reachY, -reachY, int64_t(height) + reachY);
        const int64_t outer0 = columnByColumn ? c0 : r0, outer1 = columnByColumn ? c1 : r1;
        const int64_t inner0 = columnByColumn ? r0 : c0, inner1 = columnByColumn ? r1 : c1;
        for (int64_t i = outer0; i <= outer1; ++i) {
            for (int64_t j = inner0; j <= inner1; ++j) {
                const int64_t r = columnByColumn ? j : i;
                const int64_t c = columnByColumn ? i : j;
                if (drawn == preview::kMaxDrawnPositions)
                    return;
                ++drawn;
                const int64_t number = layout.NumberAt(first, SheetPosition{b, int(r), int(c)}, step);
                const int x = units::clamp32(xOf(c));
                const int y = units::clamp32(yOf(r));
                {
                    CDCStateScope state(dc);
                    if (!marking && number == currentNumber)
                        dc.SelectBrush(CBrush::Solid(kCurrentLabel));
                    label->DrawPart(0, dc, percent, x, y);
                }
                ++m_drawnLabels;
                m_drawnNumbers.push_back(units::clamp32(number));
                if (marking && currentNumber >= number && currentNumber - number < step)
                    doc.DrawMarkerSelection(dc, scale, y, int(currentNumber - number));
                if (number > 0) {
                    request.labelNumber = units::clamp32(number);
                    request.originX = x;
                    request.originY = y;
                    if (!doc.DrawArea(0, dc, request))
                        return;
                }
                if (marking && tpl.GetJob().HasMarkerBorders()) {
                    CDCStateScope state(dc);
                    dc.SelectPen(
                        CPen{PS_SOLID, std::max(ToPixels(CSheetLayout::kMarkerBorderWidth, scale), 1), RGB(0, 0, 0)});
                    const int bottom = units::clampAdd(y, ToPixels(layout.MarkerBorderLength(), scale));
                    for (const int64_t end : CSheetLayout::MarkerBorders(tpl.GetJob().GetFirstRow())) {
                        const int lx = units::clampAdd(x, ToPixels(end, scale));
                        dc.MoveTo(lx, y);
                        dc.LineTo(lx, bottom);
                    }
                }
            }
        }
    }
}
