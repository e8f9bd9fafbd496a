#include "shell/rulerwnd.h"

#include "platform/font.h"

#include <QFontDatabase>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <string>

namespace {

int toInt(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// The user-interface font of the platform, as the ruler numbers use it.
LOGFONTA messageFont(const CDC& dc)
{
    return gdifont::FromQFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont),
                              dc.GetDeviceCaps(LOGPIXELSY));
}

} // namespace

CRulerWnd::CRulerWnd(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CRulerWnd::SetMarkerPosition(int position)
{
    if (m_stale || m_image.isNull() || m_image.size() != size()) {
        // Not on the screen yet: the next paint draws it.
        m_markerPosition = position;
        return;
    }
    CDC dc(&m_image, logicalDpiX(), logicalDpiY());
    if (m_markerDrawn)
        DrawMarker(dc);
    m_markerPosition = position;
    DrawMarker(dc);
    update();
}

void CRulerWnd::SetScrollOffset(int offset)
{
    if (offset != m_scrollOffset) {
        m_scrollOffset = offset;
        invalidate();
    }
}

void CRulerWnd::SetZoom(int percent)
{
    if (percent != m_zoom) {
        m_zoom = percent;
        invalidate();
    }
}

void CRulerWnd::SetUnit(int unit)
{
    if (unit != m_unit) {
        m_unit = unit;
        invalidate();
    }
}

void CRulerWnd::invalidate()
{
    m_stale = true;
    update();
}

int CRulerWnd::GetPixelsPerInch(const CDC& dc) const
{
    return toInt(int64_t(dc.GetDeviceCaps(LOGPIXELSX)) * m_zoom / 100);
}

bool CRulerWnd::withinRuler(int64_t position) const
{
    return position <= width() || position <= height();
}

void CRulerWnd::Render(CDC& dc)
{
    {
        CDCStateScope scope(dc);
        dc.FillSolidRect(RECT{0, 0, width(), height()}, kBackground);
        dc.SetBkColor(kBackground);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetROP2(R2_COPYPEN);
        dc.SelectPen(CPen{});
        dc.SelectFont(messageFont(dc));
        dc.SetTextAlign(TA_LEFT | TA_TOP);

        const int64_t s = GetPixelsPerInch(dc);
        const int64_t o = m_scrollOffset;
        for (int64_t n = 0; n <= kLastMajorMark; ++n) {
            if (m_unit == Inch) {
                const int64_t major = n * s - o;
                DrawMajorTick(dc, toInt(major), std::to_string(n));
                if (!withinRuler(major))
                    break;
                bool goOn = true;
                for (int64_t i = 0; i < 16 && goOn; ++i) {
                    if (i % 2 == 1 && m_zoom <= 99)
                        continue;
                    const int64_t p = s * (16 * n + i) / 16 - o;
                    const int length = i == 8 ? 12 : (i == 4 || i == 12) ? 9 : 6;
                    DrawTick(dc, toInt(p), length);
                    goOn = withinRuler(p);
                }
                if (!goOn)
                    break;
            } else {
                // Centimetres; at small zooms only the even ones.
                if (m_zoom <= 49 && n % 2 != 0)
                    continue;
                const int64_t major = n * s * 10000 / 25400 - o;
                DrawMajorTick(dc, toInt(major), std::to_string(n));
                if (!withinRuler(major))
                    break;
                const int64_t step = m_zoom >= 200 ? 1 : 2;
                bool goOn = true;
                for (int64_t k = 0; k < 10 && goOn; k += step) {
                    const int64_t p = s * (10 * n + k) * 1000 / 25400 - o;
                    DrawMinorTick(dc, toInt(p));
                    goOn = withinRuler(p);
                }
                if (!goOn)
                    break;
            }
        }
    }
    m_markerDrawn = false;
    DrawMarker(dc);
}

void CRulerWnd::DrawMarker(CDC& dc)
{
    CDCStateScope scope(dc);
    dc.SetROP2(R2_NOTXORPEN);
    dc.SelectPen(CPen{PS_SOLID, 1, kMarkerColour});
    DrawMarkerLine(dc);
    m_markerDrawn = !m_markerDrawn;
}

void CRulerWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_stale = true;
}

void CRulerWnd::paintEvent(QPaintEvent* /*event*/)
{
    if (m_stale || m_image.size() != size()) {
        m_image = QImage();
        m_markerDrawn = false;
        if (width() > 0 && height() > 0) {
            m_image = QImage(size(), QImage::Format_RGB32);
            CDC dc(&m_image, logicalDpiX(), logicalDpiY());
            Render(dc);
        }
        m_stale = false;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}
