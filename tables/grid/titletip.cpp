#include "tables/grid/titletip.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>

namespace {

QColor toQColor(COLORREF c)
{
    return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}

} // namespace

CTitleTip::CTitleTip(QWidget* grid)
    : QWidget(grid, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput), m_grid(grid)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

bool CTitleTip::Show(const QRect& titleRect, const QString& text, int xOffset, const QRect& hoverRect,
                     const QFont& font, COLORREF textClr, COLORREF backClr)
{
    // Nothing over a program that is not the one the user works in.
    if (titleRect.isEmpty() || isVisible() || !QGuiApplication::focusWindow())
        return false;
    const QString shown = QLatin1Char(' ') + text + QLatin1Char(' ');
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(shown);
    if (titleRect.left() + xOffset + width + xOffset <= titleRect.right() + 1 - xOffset)
        return false; // it fits
    m_hoverRect = hoverRect.isEmpty() ? titleRect : hoverRect;
    m_text = shown;
    setFont(font);
    m_textColor = textClr == CLR_DEFAULT ? palette().color(QPalette::ToolTipText) : toQColor(textClr);
    m_backColor = backClr == CLR_DEFAULT ? palette().color(QPalette::ToolTipBase) : toQColor(backClr);
    const QPoint global = m_grid->mapToGlobal(titleRect.topLeft());
    setGeometry(global.x(), global.y(), width, titleRect.height());
    show();
    raise();
    watch(true);
    return true;
}

void CTitleTip::Hide()
{
    watch(false);
    if (isVisible())
        hide();
}

void CTitleTip::watch(bool on)
{
    if (on == m_watching)
        return;
    m_watching = on;
    if (on) {
        qApp->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, &CTitleTip::Hide);
        connect(qApp, &QGuiApplication::focusWindowChanged, this, &CTitleTip::Hide);
        connect(qApp, &QGuiApplication::applicationStateChanged, this, &CTitleTip::Hide);
    } else {
        qApp->removeEventFilter(this);
        disconnect(qApp, nullptr, this, nullptr);
    }
}

void CTitleTip::mousePressEvent(QMouseEvent* e)
{
    handOn(e);
}

void CTitleTip::mouseDoubleClickEvent(QMouseEvent* e)
{
    handOn(e);
}

void CTitleTip::mouseReleaseEvent(QMouseEvent* e)
{
    handOn(e);
}

// A window system that lets clicks through never calls this; one that gives
// them to the tip has them handed on to the widget under the mouse (the grid
// when nothing else is there), the release to where the press went.
void CTitleTip::handOn(QMouseEvent* e)
{
    Hide();
    const QPoint global = e->globalPosition().toPoint();
    QWidget* target = m_pressedBelow;
    if (e->type() != QEvent::MouseButtonRelease || !target)
        target = below(global);
    m_pressedBelow = e->type() == QEvent::MouseButtonRelease ? nullptr : target;
    QMouseEvent moved(e->type(), target->mapFromGlobal(e->globalPosition()), e->globalPosition(), e->button(),
                      e->buttons(), e->modifiers(), e->pointingDevice());
    QApplication::sendEvent(target, &moved);
    e->accept();
}

// The wheel scrolls what lies below the tip, as if the tip were not there.
void CTitleTip::wheelEvent(QWheelEvent* e)
{
    Hide();
    QWidget* target = below(e->globalPosition().toPoint());
    QWheelEvent moved(target->mapFromGlobal(e->globalPosition()), e->globalPosition(), e->pixelDelta(),
                      e->angleDelta(), e->buttons(), e->modifiers(), e->phase(), e->inverted(), e->source(),
                      e->pointingDevice());
    QApplication::sendEvent(target, &moved);
    e->accept();
}

QWidget* CTitleTip::below(QPoint global) const
{
    QWidget* target = QApplication::widgetAt(global);
    return target && target != this ? target : m_grid;
}

bool CTitleTip::outsideHoverRect(QPoint global) const
{
    return !m_hoverRect.contains(m_grid->mapFromGlobal(global));
}

bool CTitleTip::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseMove:
        // Moves are seen by whatever widget is under the mouse, in this
        // window or another one.
        if (outsideHoverRect(static_cast<QMouseEvent*>(e)->globalPosition().toPoint()))
            Hide();
        break;
    case QEvent::Enter:
    case QEvent::Leave:
        // The mouse crossed into or out of some widget or window: a jump
        // out of the window sends no move. The tip's own showing may send
        // such a crossing while the mouse stays put, so where the mouse is
        // decides.
        if (outsideHoverRect(QCursor::pos()))
            Hide();
        break;
    case QEvent::Hide:
        // The grid went out of sight with its tab or project.
        if (watched == m_grid)
            Hide();
        break;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
        // The event itself goes on to its receiver: a click on the tip
        // reaches the cell below it.
        Hide();
        break;
    default:
        break;
    }
    return false;
}

void CTitleTip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_backColor);
    p.setPen(m_textColor);
    p.setFont(font());
    p.drawText(QRect(0, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}
