#include "shell/design/designview.h"

#include "content/objects/collection.h"
#include "content/tables/drawcontext.h"
#include "document/label/label.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/uiservices.h"
#include "platform/units.h"
#include "shell/application/contextmenus.h"
#include "shell/design/designlength.h"
#include "shell/feedbackdc.h"
#include "shell/frame/ribbonbar.h"
#include "shell/inplaceedit.h"

#include <QContextMenuEvent>
#include <QLocale>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>
#include <limits>

namespace {

// Largest scroll size: a scroll bar holds an int, and the device context
// keeps its viewport origin within 2^30.
constexpr int64_t kMaxScrollExtent = int64_t(1) << 30;
constexpr int kFirstDrawProvisionalSize = 100;

int measureOfSystemLocale()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? designlength::kUS
                                                                             : designlength::kMetric;
}

} // namespace

Vorteplan_SoftLabelDesignView::Vorteplan_SoftLabelDesignView(CVorteplanSoftLabelDoc* document, DesignViewLinks links,
                                                             QWidget* parent)
    : CBackBufferView(parent), m_pDocument(document), m_links(links), m_nMeasure(measureOfSystemLocale())
{
    setFocusPolicy(Qt::StrongFocus);
    m_dragTimer.setParent(this);
    m_dragTimer.setObjectName(QStringLiteral("dragTimer"));
    m_dragTimer.setSingleShot(true);
    m_dragTimer.setInterval(kDragDelayMs);
    connect(&m_dragTimer, &QTimer::timeout, this, [this] { onDragTimer(); });
    setScrollSizes(QSize(kFirstDrawProvisionalSize, kFirstDrawProvisionalSize));
    m_lastScroll = ScrollPosition();
    if (m_links.ribbon)
        connect(m_links.ribbon, &CRibbonBar::activeCategoryChanged, this, [this] { UpdateModuleMarkingMode(); });
    if (m_pDocument)
        m_pDocument->AddView(this);
    registerCommands();
    m_bModuleMarkingMode = IsModuleMarkingMode();
}

Vorteplan_SoftLabelDesignView::~Vorteplan_SoftLabelDesignView()
{
    m_dragTimer.stop();
    releaseClipboardCollection();
    delete m_pInPlaceEdit.data();
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void Vorteplan_SoftLabelDesignView::registerCommands()
{
    OnCommand(cmd::kZoomBox, [this] {
        if (m_links.ribbon)
            OnZoomText(m_links.ribbon->GetEditText(cmd::kZoomBox));
    }, [this](CCmdUI& ui) {
        ui.Enable(m_pDocument != nullptr);
        if (hasFocus())
            ui.SetText(QStringLiteral("%1 %").arg(m_nZoom));
    });
    registerMarkingCommands();
    registerEditCommands();
    registerFormatCommands();
    registerClipboardCommands();
    registerLabelCommands();
    registerPageCommands();
    registerLabelInfoCommands();
    registerModuleMarkingCommands();
    registerPrintCommands();
}

bool Vorteplan_SoftLabelDesignView::IsEditable() const
{
    return m_pDocument && !m_pDocument->GetCurrentTemplate().IsLocked();
}

CGraphCollection* Vorteplan_SoftLabelDesignView::area() const
{
    return m_pDocument ? m_pDocument->GetCurrentTemplate().GetArea(m_nArea) : nullptr;
}

void Vorteplan_SoftLabelDesignView::SetArea(int areaIndex)
{
    m_nArea = areaIndex;
    UpdateScrollSizes();
}

void Vorteplan_SoftLabelDesignView::SetShowFieldCodes(bool on)
{
    m_bShowFieldCodes = on;
    RedrawScene();
}

void Vorteplan_SoftLabelDesignView::SetSelectModules(bool on)
{
    m_bSelectModules = on;
    RedrawScene();
}

// --- device contexts and coordinates -------------------------------------------------------

void Vorteplan_SoftLabelDesignView::prepare(CDC& dc) const
{
    const QPoint scroll = ScrollPosition();
    dc.SetViewportOrg(-scroll.x(), -scroll.y());
}

POINT Vorteplan_SoftLabelDesignView::toView(QPoint client) const
{
    const QPoint scroll = ScrollPosition();
    return POINT{units::clampAdd(client.x(), scroll.x()), units::clampAdd(client.y(), scroll.y())};
}

void Vorteplan_SoftLabelDesignView::touchAll(CFeedbackDC& fb) const
{
    fb.Touch(RECT{0, 0, viewport()->width(), viewport()->height()});
}

void Vorteplan_SoftLabelDesignView::touchMarker(CFeedbackDC& fb, const CMarker& marker) const
{
    int l = 0, t = 0, r = 0, b = 0;
    marker.GetRect(l, t, r, b);
    const QPoint s = ScrollPosition();
    fb.Touch(RECT{std::min(l, r) - s.x() - 1, std::min(t, b) - s.y() - 1, std::max(l, r) - s.x() + 2,
                  std::max(t, b) - s.y() + 2});
}

// --- drawing --------------------------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::PaintScene(CDC& dc)
{
    CBackBufferView::PaintScene(dc);
    if (!m_pDocument)
        return;
    CVorteplanSoftLabelDoc& doc = *m_pDocument;
    const CTemplate& tpl = doc.GetCurrentTemplate();
    // The first drawing of each area takes the zoom the template stored
    // for that area.
    if (m_nArea >= 0 && m_nArea < kTemplateAreas && !(m_zoomTakenAreas & (1u << m_nArea))) {
        m_zoomTakenAreas |= 1u << m_nArea;
        const int stored = tpl.GetZoom(m_nArea);
        if (stored >= kTemplateMinZoom) {
            m_nZoom = stored;
            emit zoomed(m_nZoom);
            // The scroll sizes follow once this paint is done.
            QMetaObject::invokeMethod(this, [this] { UpdateScrollSizes(); }, Qt::QueuedConnection);
        }
    }
    prepare(dc);
    doc.DrawLabelBackground(m_nZoom, dc, m_nArea);
    if (m_bModuleMarkingMode)
        doc.DrawCurrentMarker(dc, m_nZoom, hasFocus(), m_bSelectModules);

    const CLabel* label = tpl.GetLabel();
    const bool markingLabel = doc.IsModuleMarking();
    int record = doc.GetTable(doc.GetCurrentTableIndex()) ? doc.GetCurrentTableRow() + 1 : -1;
    if (markingLabel)
        record = doc.LocateMarker(record);

    AreaDrawRequest request;
    request.zoom = m_nZoom;
    request.borders = true;
    request.labelNumber = record;
    request.flags = markingLabel ? kDrawDesign | kDrawLabelNumbers : kDrawDesign;
    // Barcodes are laid out (and checked for fit) at the resolution of the
    // printer they print on: module and gap widths round to its pixels, so
    // the bars on the screen are as long as on paper.
    const QPrinter& target = printer();
    request.resolutionX = target.logicalDpiX();
    request.resolutionY = target.logicalDpiY();
    request.placeholder = m_bShowFieldCodes;
    doc.DrawArea(m_nArea, dc, request);

    if (tpl.IsFieldContours() && !IsModuleSelection())
        doc.DrawAreaObjects(m_nArea, dc, m_nZoom);
    tpl.GetHelpLines().Draw(dc, m_nArea, m_nZoom, label);

    // A rubber band in progress goes back on top, so that its next XOR
    // erase finds it.
    if (m_nMouseMode == MouseRubberBand && m_pRubberBand && m_pRubberBand->IsVisible())
        m_pRubberBand->Draw(dc);
}

// --- zoom and scrolling ---------------------------------------------------------------------

int Vorteplan_SoftLabelDesignView::ScrollExtent(int64_t um, int zoom, int logPixels)
{
    const int64_t ppi = (int64_t(logPixels) * zoom + 50) / 100;
    const int64_t px = ppi * std::max<int64_t>(um, 0) / 25400;
    return int(std::clamp<int64_t>(px, 0, kMaxScrollExtent));
}

void Vorteplan_SoftLabelDesignView::UpdateScrollSizes()
{
    if (!m_pDocument)
        return;
    const QSize extent(ScrollExtent(m_pDocument->GetDesignWidth(m_nArea), m_nZoom, LogPixelsX()),
                       ScrollExtent(m_pDocument->GetDesignHeight(m_nArea), m_nZoom, LogPixelsY()));
    setScrollSizes(extent);
}

void Vorteplan_SoftLabelDesignView::setScrollSizes(QSize extent)
{
    SetContentSize(extent);
    // The scroll view's default steps: a page is a tenth of the extent, a
    // line a tenth of a page.
    const QSize page(extent.width() / 10, extent.height() / 10);
    SetScrollSteps(page, QSize(page.width() / 10, page.height() / 10));
}

void Vorteplan_SoftLabelDesignView::scrollContentsBy(int dx, int dy)
{
    CBackBufferView::scrollContentsBy(dx, dy);
    const QPoint now = ScrollPosition();
    const QPoint delta = now - m_lastScroll;
    m_lastScroll = now;
    emit scrolled(delta.x(), delta.y());
}

void Vorteplan_SoftLabelDesignView::SetZoom(int percent)
{
    EndInPlaceEdit();
    m_nZoom = percent;
    if (m_pDocument)
        m_pDocument->SetZoomRate(m_nArea, percent);
    RedrawScene();
    emit zoomed(m_nZoom);
    UpdateScrollSizes();
}

bool Vorteplan_SoftLabelDesignView::OnZoomText(const QString& text)
{
    // "%d": optional white space, an optional sign and digits; whatever
    // follows is ignored.
    const QString trimmed = text.trimmed();
    int end = 0;
    if (end < trimmed.size() && (trimmed[end] == u'+' || trimmed[end] == u'-'))
        ++end;
    const int digitsFrom = end;
    while (end < trimmed.size() && trimmed[end].isDigit() && trimmed[end].unicode() < 128)
        ++end;
    if (end == digitsFrom)
        return false;
    bool ok = false;
    const int value = trimmed.left(end).toInt(&ok);
    if (!ok || value < kMinZoomText || value > kMaxZoomText)
        return false;
    SetZoom(value);
    return true;
}

// --- lengths --------------------------------------------------------------------------------

std::optional<int32_t> Vorteplan_SoftLabelDesignView::ParseLength(std::string_view text) const
{
    return designlength::ParseLength(text, m_nMeasure);
}

std::optional<int32_t> Vorteplan_SoftLabelDesignView::ParsePercent(std::string_view text)
{
    return designlength::ParsePercent(text);
}

std::string Vorteplan_SoftLabelDesignView::FormatLength(int32_t um) const
{
    return designlength::FormatLength(um, m_nMeasure);
}

// --- module marking -------------------------------------------------------------------------

bool Vorteplan_SoftLabelDesignView::IsModuleMarkingMode() const
{
    return m_links.ribbon && m_links.ribbon->GetActiveCategory() == kModuleMarkingCategory;
}

void Vorteplan_SoftLabelDesignView::UpdateModuleMarkingMode()
{
    const bool on = IsModuleMarkingMode();
    if (on == m_bModuleMarkingMode)
        return;
    m_bModuleMarkingMode = on;
    RedrawScene();
}

// --- focus and context menu -----------------------------------------------------------------

void Vorteplan_SoftLabelDesignView::focusInEvent(QFocusEvent* event)
{
    CBackBufferView::focusInEvent(event);
    if (m_bModuleMarkingMode)
        RedrawScene();
}

void Vorteplan_SoftLabelDesignView::focusOutEvent(QFocusEvent* event)
{
    CBackBufferView::focusOutEvent(event);
    if (m_bModuleMarkingMode)
        RedrawScene();
}

void Vorteplan_SoftLabelDesignView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_links.menus)
        m_links.menus->ShowPopupMenu(QStringLiteral("Design"), event->globalPos(), this);
    event->accept();
}
