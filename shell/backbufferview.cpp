#include "shell/backbufferview.h"

#include "platform/uiservices.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

CBackBufferView::CBackBufferView(QWidget* parent) : QAbstractScrollArea(parent)
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
}

int CBackBufferView::LogPixelsX() const
{
    return viewport()->logicalDpiX();
}

int CBackBufferView::LogPixelsY() const
{
    return viewport()->logicalDpiY();
}

QPoint CBackBufferView::ScrollPosition() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CBackBufferView::SetContentSize(QSize size)
{
    m_contentSize = size.expandedTo(QSize(0, 0));
    updateScrollBars();
    RedrawScene();
}

void CBackBufferView::updateScrollBars()
{
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_contentSize.width() - view.width()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_contentSize.height() - view.height()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
}

void CBackBufferView::ensureBufferSize()
{
    const QSize size = viewport()->size().expandedTo(QSize(1, 1));
    if (m_buffer.size() != size)
        m_buffer = QImage(size, QImage::Format_RGB32);
}

void CBackBufferView::RedrawScene()
{
    // A hidden view (a template tab not shown) draws when it is shown:
    // many open tabs must not all redraw on every change.
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    ensureBufferSize();
    {
        CDC dc(&m_buffer, LogPixelsX(), LogPixelsY());
        PaintScene(dc);
    }
    viewport()->update();
}

void CBackBufferView::Flush(const QRect& rect)
{
    const QRect visible = rect.intersected(m_buffer.rect());
    if (!visible.isEmpty())
        viewport()->update(visible);
}

void CBackBufferView::PaintScene(CDC& dc)
{
    dc.FillSolidRect(RECT{0, 0, m_buffer.width(), m_buffer.height()}, Ui().SystemColor(SystemColour::Window));
}

void CBackBufferView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    for (const QRect& r : event->region())
        painter.drawImage(r.topLeft(), m_buffer, r);
}

void CBackBufferView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_stale)
        RedrawScene();
}

void CBackBufferView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    RedrawScene();
}

void CBackBufferView::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    RedrawScene();
}

void CBackBufferView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        SystemColoursChanged();
        RedrawScene();
    }
}
