#include "content/objects/marker.h"

#include <algorithm>
#include <cmath>

CMarker::CMarker(int x, int y, int penStyle)
    : m_p1{x, y}, m_p2{x, y}, m_centre{x, y}, m_pen{penStyle, 1, RGB(0, 0, 0)}
{
}

void CMarker::Draw(CDC& dc)
{
    m_savedRop = dc.SetROP2(R2_NOTXORPEN);
    m_savedPen = dc.SelectPen(m_pen);
    DrawShape(dc);
    m_visible = !m_visible;
    dc.SelectPen(m_savedPen);
    dc.SetROP2(m_savedRop);
}

void CMarker::Erase(CDC& dc)
{
    if (m_visible)
        Draw(dc);
}

void CMarker::TrackTo(CDC& dc, int x, int y, bool symmetric)
{
    if (m_visible)
        Draw(dc);
    else
        m_centre = POINT{int((int64_t(x) + m_p1.x) / 2), int((int64_t(y) + m_p1.y) / 2)};
    m_p2 = POINT{x, y};
    if (symmetric) {
        const int64_t mx = 2 * int64_t(m_centre.x) - x;
        const int64_t my = 2 * int64_t(m_centre.y) - y;
        m_p1.x = int(std::clamp<int64_t>(mx, 0, INT32_MAX));
        m_p1.y = int(std::clamp<int64_t>(my, 0, INT32_MAX));
    }
    Draw(dc);
}

void CMarker::BeginTrackMove(int x, int y)
{
    m_moveOrigin = POINT{x, y};
    m_moveStart1 = m_p1;
    m_moveStart2 = m_p2;
}

void CMarker::TrackMove(CDC& dc, int x, int y)
{
    if (m_visible)
        Draw(dc);
    const int64_t dx = int64_t(x) - m_moveOrigin.x, dy = int64_t(y) - m_moveOrigin.y;
    auto add = [](int v, int64_t d) { return int(std::clamp<int64_t>(v + d, INT32_MIN, INT32_MAX)); };
    m_p1 = POINT{add(m_moveStart1.x, dx), add(m_moveStart1.y, dy)};
    m_p2 = POINT{add(m_moveStart2.x, dx), add(m_moveStart2.y, dy)};
    Draw(dc);
}

void CMarkerRect::GetRect(int& left, int& top, int& right, int& bottom) const
{
    left = std::min(m_p1.x, m_p2.x);
    top = std::min(m_p1.y, m_p2.y);
    right = std::max(m_p1.x, m_p2.x);
    bottom = std::max(m_p1.y, m_p2.y);
}

int CMarkerRect::GetSize() const
{
    const int64_t w = std::llabs(int64_t(m_p2.x) - m_p1.x);
    const int64_t h = std::llabs(int64_t(m_p2.y) - m_p1.y);
    return int(std::min<int64_t>(std::min(w, h), INT32_MAX));
}

void CMarkerRect::DrawShape(CDC& dc)
{
    const POINT pts[5] = {{m_p1.x, m_p1.y}, {m_p1.x, m_p2.y}, {m_p2.x, m_p2.y}, {m_p2.x, m_p1.y}, {m_p1.x, m_p1.y}};
    dc.Polyline(pts, 5);
}

void CMarkerEllipse::DrawShape(CDC& dc)
{
    dc.Arc(m_p1.x, m_p1.y, m_p2.x, m_p2.y, m_p1.x, m_p1.y, m_p1.x, m_p1.y);
}

void CMarkerTriangle::DrawShape(CDC& dc)
{
    int l, t, r, b;
    GetRect(l, t, r, b);
    const int mx = int((int64_t(l) + r) / 2), my = int((int64_t(t) + b) / 2);
    POINT pts[4];
    switch (m_rotation) {
    case 900: pts[0] = {r, b}; pts[1] = {r, t}; pts[2] = {l, my}; break;
    case 1800: pts[0] = {l, t}; pts[1] = {r, t}; pts[2] = {mx, b}; break;
    case 2700: pts[0] = {l, t}; pts[1] = {l, b}; pts[2] = {r, my}; break;
    default: pts[0] = {r, b}; pts[1] = {l, b}; pts[2] = {mx, t}; break;
    }
    pts[3] = pts[0];
    dc.Polyline(pts, 4);
}

void CMarkerLine::GetRect(int& left, int& top, int& right, int& bottom) const
{
    left = m_p1.x;
    top = m_p1.y;
    right = m_p2.x;
    bottom = m_p2.y;
}

int CMarkerLine::GetSize() const
{
    const float dx = float(m_p2.x) - float(m_p1.x);
    const float dy = float(m_p2.y) - float(m_p1.y);
    return int(std::sqrt(dx * dx + dy * dy));
}

void CMarkerLine::DrawShape(CDC& dc)
{
    dc.MoveTo(m_p1.x, m_p1.y);
    dc.LineTo(m_p2.x, m_p2.y);
}
