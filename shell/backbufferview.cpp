#include "shell/backbufferview.h"

#include "platform/uiservices.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

CBackBufferView::CBackBufferView(QWidget* parent) : QAbstractScrollArea(parent)
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) { pageByOwnStep(bar, action); });
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

void CBackBufferView::SetScrollSteps(QSize page, QSize line)
{
    m_page = page.expandedTo(QSize(1, 1));
    m_line = line.expandedTo(QSize(1, 1));
    horizontalScrollBar()->setSingleStep(m_line.width());
    verticalScrollBar()->setSingleStep(m_line.height());
}

void CBackBufferView::pageByOwnStep(QScrollBar* bar, int action)
{
    // The bar's own page step is the viewport (it sizes the thumb); a
    // trough click moves by the view's page instead. The value has not
    // moved yet when the action is announced.
    if (m_page.isEmpty())
        return;
    const int page = bar->orientation() == Qt::Horizontal ? m_page.width() : m_page.height();
    if (action == QAbstractSlider::SliderPageStepAdd)
        bar->setSliderPosition(int(std::min<int64_t>(int64_t(bar->value()) + page, bar->maximum())));
    else if (action == QAbstractSlider::SliderPageStepSub)
        bar->setSliderPosition(int(std::max<int64_t>(int64_t(bar->value()) - page, bar->minimum())));
}

void CBackBufferView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    if (m_line.isEmpty() || angle.isNull()) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const bool horizontal = std::abs(angle.x()) > std::abs(angle.y());
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    const int64_t delta = horizontal ? angle.x() : angle.y();
    const int64_t line = horizontal ? m_line.width() : m_line.height();
    const int64_t page = horizontal ? m_page.width() : m_page.height();
    const int64_t lines = std::max(0, Ui().SystemMetric(SystemMetricId::WheelScrollLines));
    // A notch is 120 eighths of a degree; parts of one add up.
    int64_t& rest = m_wheelRest[horizontal ? 0 : 1];
    if ((rest < 0) != (delta < 0))
        rest = 0;
    rest += delta * lines * line;
    const int64_t pixels = rest / 120;
    rest -= pixels * 120;
    const int64_t step = std::clamp(pixels, -page, page);
    bar->setValue(int(std::clamp<int64_t>(bar->value() - step, bar->minimum(), bar->maximum())));
    event->accept();
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
