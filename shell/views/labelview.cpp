#include "shell/views/labelview.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "shell/application/contextmenus.h"
#include "shell/frame/commandrouter.h"
#include "shell/rulerhorwnd.h"
#include "shell/rulerverwnd.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

// Connects `signal` of `sender` to `slot` when the sender has that signal.
void connectByName(QObject* sender, const char* signature, const char* signal, QObject* receiver, const char* slot)
{
    if (sender->metaObject()->indexOfSignal(QMetaObject::normalizedSignature(signature).constData()) >= 0)
        QObject::connect(sender, signal, receiver, slot);
}

} // namespace

CVorteplanSoftLabelView::CVorteplanSoftLabelView(const CProjectViewContext& context, QWidget* parent)
    : QWidget(parent), m_context(context)
{
    m_pDesignView = m_context.createCanvas ? m_context.createCanvas(this) : nullptr;
    if (!m_pDesignView) {
        auto* frame = new QFrame(this);
        frame->setFocusPolicy(Qt::StrongFocus);
        m_pDesignView = frame;
    }
    m_pDesignView->setParent(this);
    m_pDesignView->setGeometry(kRulerSize, kRulerSize, 600 - kRulerSize, 200 - kRulerSize);
    m_wndRulerHor = new CRulerHorWnd(this);
    m_wndRulerHor->setGeometry(kRulerSize, 0, 600 - kRulerSize, kRulerSize);
    m_wndRulerVer = new CRulerVerWnd(this);
    m_wndRulerVer->setGeometry(0, kRulerSize, kRulerSize, 200 - kRulerSize);
    setFocusProxy(m_pDesignView);
    // The canvas becomes the window's active view as it takes the focus.
    m_pDesignView->installEventFilter(this);
    if (auto* target = dynamic_cast<CCmdTarget*>(m_pDesignView))
        target->OnCommand(cmd::kShowRulers, [this] { ToggleRulers(); },
                          [this](CCmdUI& ui) { ui.SetCheck(m_bShowRulers ? 1 : 0); });

    connectByName(m_pDesignView, "mouseMovedOnCanvas(QPoint,Qt::KeyboardModifiers)",
                  SIGNAL(mouseMovedOnCanvas(QPoint, Qt::KeyboardModifiers)), this, SLOT(OnDesignMouseMove(QPoint)));
    connectByName(m_pDesignView, "scrolled(int,int)", SIGNAL(scrolled(int, int)), this,
                  SLOT(OnDesignScrolled(int, int)));
    connectByName(m_pDesignView, "zoomed(int)", SIGNAL(zoomed(int)), this, SLOT(OnDesignZoomed(int)));
}

CVorteplanSoftLabelView::~CVorteplanSoftLabelView() = default;

void CVorteplanSoftLabelView::ToggleRulers()
{
    m_bShowRulers = !m_bShowRulers;
    m_wndRulerHor->setVisible(m_bShowRulers);
    m_wndRulerVer->setVisible(m_bShowRulers);
    layoutChildren();
}

void CVorteplanSoftLabelView::layoutChildren()
{
    const int cx = width();
    const int cy = height();
    if (m_bShowRulers) {
        m_pDesignView->setGeometry(kRulerSize, kRulerSize, std::max(cx - kRulerSize, 0), std::max(cy - kRulerSize, 0));
        m_wndRulerHor->setGeometry(kRulerSize, 0, std::max(cx - kRulerSize, 0), kRulerSize);
        m_wndRulerVer->setGeometry(0, kRulerSize, kRulerSize, std::max(cy - kRulerSize, 0));
    } else {
        m_pDesignView->setGeometry(0, 0, cx, cy);
    }
}

void CVorteplanSoftLabelView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void CVorteplanSoftLabelView::OnDesignMouseMove(QPoint clientPoint)
{
    m_wndRulerHor->SetMarkerPosition(clientPoint.x());
    m_wndRulerVer->SetMarkerPosition(clientPoint.y());
}

void CVorteplanSoftLabelView::OnDesignScrolled(int dx, int dy)
{
    m_wndRulerHor->SetScrollOffset(m_wndRulerHor->GetScrollOffset() + dx);
    m_wndRulerVer->SetScrollOffset(m_wndRulerVer->GetScrollOffset() + dy);
}

void CVorteplanSoftLabelView::OnDesignZoomed(int percent)
{
    m_wndRulerHor->SetZoom(percent);
    m_wndRulerVer->SetZoom(percent);
    QPoint scroll;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(m_pDesignView))
        scroll = {area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()};
    m_wndRulerHor->SetScrollOffset(scroll.x());
    m_wndRulerVer->SetScrollOffset(scroll.y());
}

bool CVorteplanSoftLabelView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pDesignView && event->type() == QEvent::FocusIn && m_context.activate)
        if (auto* target = dynamic_cast<CCmdTarget*>(m_pDesignView))
            m_context.activate(target);
    return QWidget::eventFilter(watched, event);
}

void CVorteplanSoftLabelView::activateDesignView()
{
    if (m_context.activate)
        if (auto* target = dynamic_cast<CCmdTarget*>(m_pDesignView))
            m_context.activate(target);
    m_pDesignView->setFocus(Qt::MouseFocusReason);
}

void CVorteplanSoftLabelView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton || p.x() >= kRulerSize || p.y() >= kRulerSize) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (CVorteplanSoftLabelDoc* doc = m_context.document) {
        const int area = m_context.canvasArea ? m_context.canvasArea(m_pDesignView) : 0;
        doc->SelectAll(area);
        doc->InvalidateDesignViews();
    }
    activateDesignView();
}

void CVorteplanSoftLabelView::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    activateDesignView();
}

void CVorteplanSoftLabelView::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_context.menus)
        m_context.menus->ShowPopupMenu(QStringLiteral("Edit"), event->globalPos(), this);
}

void CVorteplanSoftLabelView::keyPressEvent(QKeyEvent* event)
{
    // Typed characters that reach the label view itself are swallowed.
    event->accept();
}
