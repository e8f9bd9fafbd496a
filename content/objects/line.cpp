#include "content/objects/line.h"

#include "platform/units.h"

#include <cstdlib>

using units::clamp32;

namespace {

bool nearPoint(POINT p, int x, int y)
{
    return std::llabs(int64_t(x) - p.x) <= kHandleTolerance && std::llabs(int64_t(y) - p.y) <= kHandleTolerance;
}

bool between(int64_t v, int64_t a, int64_t b)
{
    return a <= b ? (a <= v && v <= b) : (b <= v && v <= a);
}

} // namespace

void CGraphLine::SetEnds(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    m_x = x1;
    m_y = y1;
    m_x2 = x2;
    m_y2 = y2;
}

int32_t CGraphLine::GetWidth() const
{
    return clamp32(int64_t(GetRight()) - GetLeft());
}

int32_t CGraphLine::GetHeight() const
{
    return clamp32(int64_t(GetBottom()) - GetTop());
}

void CGraphLine::SetLeft(int32_t v)
{
    const int64_t d = int64_t(v) - GetLeft();
    m_x = clamp32(m_x + d);
    m_x2 = clamp32(m_x2 + d);
}

void CGraphLine::SetTop(int32_t v)
{
    const int64_t d = int64_t(v) - GetTop();
    m_y = clamp32(m_y + d);
    m_y2 = clamp32(m_y2 + d);
}

void CGraphLine::SetWidth(int32_t v)
{
    if (m_x2 < m_x)
        m_x = clamp32(int64_t(m_x2) + v);
    else
        m_x2 = clamp32(int64_t(m_x) + v);
}

void CGraphLine::SetHeight(int32_t v)
{
    if (m_y2 < m_y)
        m_y = clamp32(int64_t(m_y2) + v);
    else
        m_y2 = clamp32(int64_t(m_y) + v);
}

bool CGraphLine::SetCenter(int axis, int32_t v)
{
    if (axis != 1 && axis != 2)
        return false;
    int32_t& a = axis == 1 ? m_x : m_y;
    int32_t& b = axis == 1 ? m_x2 : m_y2;
    const int64_t d = int64_t(b) - a;
    a = clamp32(v - d / 2);
    b = clamp32(a + d);
    return true;
}

int32_t CGraphLine::GetCenter(int axis) const
{
    if (axis == 1)
        return int32_t((int64_t(m_x) + m_x2) / 2);
    if (axis == 2)
        return int32_t((int64_t(m_y) + m_y2) / 2);
    return 0;
}

void CGraphLine::GetCenterPoint(int32_t& x, int32_t& y) const
{
    x = GetCenter(1);
    y = GetCenter(2);
}

std::unique_ptr<CGraphObject> CGraphLine::Clone() const
{
    return std::make_unique<CGraphLine>(*this);
}

bool CGraphLine::Load(RecordReader& reader)
{
    m_x = reader.i32();
    m_y = reader.i32();
    m_x2 = reader.i32();
    m_y2 = reader.i32();
    m_penWidth = reader.i32();
    m_color = reader.u32();
    m_selected = false;
    m_marker.reset();
    return reader.ok();
}

void CGraphLine::Save(RecordWriter& writer) const
{
    writer.i32(m_x);
    writer.i32(m_y);
    writer.i32(m_x2);
    writer.i32(m_y2);
    writer.i32(m_penWidth);
    writer.u32(m_color);
}

void CGraphLine::CalcDeviceRect(CDC& dc, int zoom, int /*offsetX*/, int /*offsetY*/)
{
    ComputeResolution(dc, zoom);
    using units::UmToPx;
    m_device1 = POINT{UmToPx(m_x, m_ppiX), UmToPx(m_y, m_ppiY)};
    m_device2 = POINT{UmToPx(m_x2, m_ppiX), UmToPx(m_y2, m_ppiY)};
}

bool CGraphLine::Draw(const DrawArgs& args)
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    const int level = dc.SaveDC();
    CalcDeviceRect(dc, args.zoom, args.offsetX, args.offsetY);
    const int pen = std::max(units::UmToPx(m_penWidth, m_ppiX), 0);
    dc.SelectPen(CPen{PS_SOLID, pen, m_color});
    dc.MoveTo(clamp32(int64_t(args.offsetX) + m_device1.x), clamp32(int64_t(args.offsetY) + m_device1.y));
    dc.LineTo(clamp32(int64_t(args.offsetX) + m_device2.x), clamp32(int64_t(args.offsetY) + m_device2.y));
    dc.RestoreDC(level);
    return true;
}

bool CGraphLine::PtInObject(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    const int64_t x1 = m_device1.x, y1 = m_device1.y, x2 = m_device2.x, y2 = m_device2.y;
    if (x1 == x2) {
        if (y1 == y2)
            return false;
        return std::llabs(x - x1) <= 2 && between(y, y1, y2);
    }
    const int64_t lineY = y1 + int64_t(__int128(y2 - y1) * (x - x1) / (x2 - x1));
    return std::llabs(y - lineY) <= 2 && between(x, x1, x2);
}

int CGraphLine::HandleAt(int x, int y) const
{
    if (nearPoint(m_device1, x, y))
        return kHandleLineStart;
    if (nearPoint(m_device2, x, y))
        return kHandleLineEnd;
    return kHandleNone;
}

int CGraphLine::HitTestHandle(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    return HandleAt(x, y);
}

bool CGraphLine::IsOnHandle(CDC& dc, int zoom, int x, int y)
{
    if (!m_selected)
        return false;
    return HitTestHandle(dc, zoom, x, y) != kHandleNone;
}

bool CGraphLine::IsInsideRect(CDC& dc, int zoom, const RECT& rect)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    const RECT b = RECT{m_device1.x, m_device1.y, m_device2.x, m_device2.y}.Normalized();
    return b.left >= rect.left && b.right <= rect.right && b.top >= rect.top && b.bottom <= rect.bottom;
}

void CGraphLine::DrawHandles(CDC& dc)
{
    for (const POINT& h : {m_device1, m_device2})
        dc.InvertRect(RECT{clamp32(int64_t(h.x) - kHandleTolerance), clamp32(int64_t(h.y) - kHandleTolerance),
                           clamp32(int64_t(h.x) + kHandleTolerance + 1), clamp32(int64_t(h.y) + kHandleTolerance + 1)});
}

std::unique_ptr<CMarker> CGraphLine::CreateMarker(int x, int y, int penStyle) const
{
    return std::make_unique<CMarkerLine>(x, y, penStyle);
}

void CGraphLine::BeginCreate(CDC& dc, int zoom, int x, int y)
{
    ComputeCreateResolution(dc, zoom);
    if (m_marker)
        m_marker->Erase(dc);
    m_marker = CreateMarker(x, y, PS_SOLID);
    m_marker->TrackTo(dc, x, y);
}

void CGraphLine::BeginMove(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    m_trackStart = POINT{x, y};
    if (!m_marker) {
        m_marker = CreateMarker(m_device1.x, m_device1.y, PS_DOT);
        m_marker->TrackTo(dc, m_device2.x, m_device2.y);
    }
    m_marker->BeginTrackMove(x, y);
}

void CGraphLine::EndMove(CDC& dc, int x, int y)
{
    if (!m_marker)
        return;
    DestroyMarker(dc);
    const int32_t dx = m_ppiX > 0 ? units::PxToUm(clamp32(int64_t(x) - m_trackStart.x), m_ppiX) : 0;
    const int32_t dy = m_ppiY > 0 ? units::PxToUm(clamp32(int64_t(y) - m_trackStart.y), m_ppiY) : 0;
    Offset(dx, dy);
}

void CGraphLine::Offset(int32_t dx, int32_t dy)
{
    m_x = clamp32(int64_t(m_x) + dx);
    m_y = clamp32(int64_t(m_y) + dy);
    m_x2 = clamp32(int64_t(m_x2) + dx);
    m_y2 = clamp32(int64_t(m_y2) + dy);
}

void CGraphLine::Rotate90(int32_t cx, int32_t cy, int direction)
{
    if (direction != 1 && direction != -1)
        return;
    auto turn = [&](int32_t& x, int32_t& y) {
        const int64_t ox = x, oy = y;
        if (direction == 1) {
            x = clamp32(cx + (oy - cy));
            y = clamp32(cy + (cx - ox));
        } else {
            x = clamp32(cx - (oy - cy));
            y = clamp32(cy + (ox - cx));
        }
    };
    turn(m_x, m_y);
    turn(m_x2, m_y2);
}

void CGraphLine::BeginResize(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    POINT anchor, moving;
    if (nearPoint(m_device1, x, y)) {
        anchor = m_device2;
        moving = m_device1;
    } else if (nearPoint(m_device2, x, y)) {
        anchor = m_device1;
        moving = m_device2;
    } else {
        return;
    }
    if (m_marker)
        m_marker->Erase(dc);
    m_marker = CreateMarker(anchor.x, anchor.y, PS_DOT);
    m_marker->TrackTo(dc, moving.x, moving.y);
}

void CGraphLine::EndResize(CDC& dc)
{
    if (!m_marker)
        return;
    int ax, ay, mx, my;
    m_marker->GetRect(ax, ay, mx, my);
    DestroyMarker(dc);
    if (m_ppiX > 0) {
        m_x = units::PxToUm(ax, m_ppiX);
        m_x2 = units::PxToUm(mx, m_ppiX);
    }
    if (m_ppiY > 0) {
        m_y = units::PxToUm(ay, m_ppiY);
        m_y2 = units::PxToUm(my, m_ppiY);
    }
}
