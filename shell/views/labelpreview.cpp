#include "shell/views/labelpreview.h"

#include "content/tables/drawcontext.h"
#include "document/label/label.h"
#include "document/print/sheetpainter.h"
#include "document/project/projectdoc.h"
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

} // namespace

int ScaleFor(const SheetSize& page, int zoom, int w, int h, int dpi, int* percent)
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

    const CSheetLayout layout(*label, FillOrderOf(tpl));
    const SheetSize page = layout.PaperSize();
    int percent = 100;
    const int scale = ScaleFor(page, m_zoom, width, height, LogPixelsY(), &percent);
    m_scale = scale;
    {
        CDCStateScope state(dc);
        dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
        dc.SelectBrush(CBrush::Solid(RGB(255, 255, 255)));
        const int left = kPageLeft - scroll.x();
        const int top = kPageTop - scroll.y();
        dc.Rectangle(left, top, units::clampAdd(left, int64_t(ToPixels(page.width, scale)) + 1),
                     units::clampAdd(top, int64_t(ToPixels(page.height, scale)) + 1));
    }
    if (layout.IsEmpty())
        return;

    // The sheet that holds the current row, as it is printed: every place
    // of the paper at `scale` pixels per inch from the window's corner.
    const int step = label->IsModuleMarking() ? doc.MarksPerStrip() : 1;
    const int64_t first = layout.SheetFirstNumber(doc.GetCurrentTableRow(), step);
    SheetPaintOptions options;
    options.area.flags = kDrawPreview;
    // Barcodes laid out as the application's printer lays them out.
    const QPrinter& printer = CPrintDriver::ApplicationPrinter();
    options.area.resolutionX = printer.logicalDpiX();
    options.area.resolutionY = printer.logicalDpiY();
    options.outlines = true;
    options.currentLabel = int64_t(doc.GetCurrentTableRow()) + 1;
    const POINT origin{kPageLeft - scroll.x(), kPageTop - scroll.y()};
    CSheetPainter painter(doc, layout, SheetMapping::Screen(scale, percent, origin), options);
    if (!painter.PaintHeaderFooter(dc, first))
        return;
    CSheetPainter::Walk walk;
    walk.window = RECT{0, 0, width, height};
    walk.maxPositions = kMaxDrawnPositions;
    painter.PaintLabels(dc, walk, [&](const SheetPosition& p) {
        const int64_t number = layout.NumberAt(first, p, step);
        ++m_drawnLabels;
        m_drawnNumbers.push_back(units::clamp32(number));
        return painter.PaintLabel(dc, p, number) ? CSheetPainter::Step::Next : CSheetPainter::Step::Failed;
    });
}
