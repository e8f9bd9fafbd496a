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

void CGraphLine::DeviceEnds(Resolution res, POINT& start, POINT& end) const
{
    using units::UmToPx;
    start = POINT{UmToPx(m_x, res.x), UmToPx(m_y, res.y)};
    end = POINT{UmToPx(m_x2, res.x), UmToPx(m_y2, res.y)};
}

RECT CGraphLine::CalcDeviceRect(CDC& dc, int zoom, int offsetX, int offsetY) const
{
    POINT a, b;
    DeviceEnds(ComputeResolution(dc, zoom), a, b);
    const RECT box = RECT{a.x, a.y, b.x, b.y}.Normalized();
    return RECT{clamp32(int64_t(box.left) + offsetX), clamp32(int64_t(box.top) + offsetY),
                clamp32(int64_t(box.right) + offsetX), clamp32(int64_t(box.bottom) + offsetY)};
}

bool CGraphLine::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    const int level = dc.SaveDC();
    const Resolution res = ComputeResolution(dc, args.zoom);
    POINT a, b;
    DeviceEnds(res, a, b);
    const int pen = std::max(units::UmToPx(m_penWidth, res.x), 0);
    dc.SelectPen(CPen{PS_SOLID, pen, m_color});
    dc.MoveTo(clamp32(int64_t(args.offsetX) + a.x), clamp32(int64_t(args.offsetY) + a.y));
    dc.LineTo(clamp32(int64_t(args.offsetX) + b.x), clamp32(int64_t(args.offsetY) + b.y));
    dc.RestoreDC(level);
    return true;
}

bool CGraphLine::PtInObject(CDC& dc, int zoom, int x, int y) const
{
    POINT a, b;
    DeviceEnds(ComputeResolution(dc, zoom), a, b);
    const int64_t x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y;
    if (x1 == x2) {
        if (y1 == y2)
            return false;
        return std::llabs(x - x1) <= 2 && between(y, y1, y2);
    }
    const int64_t lineY = y1 + int64_t(__int128(y2 - y1) * (x - x1) / (x2 - x1));
    return std::llabs(y - lineY) <= 2 && between(x, x1, x2);
}

int CGraphLine::HandleAt(POINT start, POINT end, int x, int y)
{
    if (nearPoint(start, x, y))
        return kHandleLineStart;
    if (nearPoint(end, x, y))
        return kHandleLineEnd;
    return kHandleNone;
}

int CGraphLine::HitTestHandle(CDC& dc, int zoom, int x, int y) const
{
    POINT a, b;
    DeviceEnds(ComputeResolution(dc, zoom), a, b);
    return HandleAt(a, b, x, y);
}

bool CGraphLine::IsOnHandle(CDC& dc, int zoom, int x, int y) const
{
    if (!m_selected)
        return false;
    return HitTestHandle(dc, zoom, x, y) != kHandleNone;
}

bool CGraphLine::IsInsideRect(CDC& dc, int zoom, const RECT& rect) const
{
    const RECT b = CalcDeviceRect(dc, zoom, 0, 0);
    return b.left >= rect.left && b.right <= rect.right && b.top >= rect.top && b.bottom <= rect.bottom;
}

void CGraphLine::DrawHandles(CDC& dc, int zoom) const
{
    POINT a, b;
    DeviceEnds(ComputeResolution(dc, zoom), a, b);
    for (const POINT& h : {a, b})
        dc.InvertRect(RECT{clamp32(int64_t(h.x) - kHandleTolerance), clamp32(int64_t(h.y) - kHandleTolerance),
                           clamp32(int64_t(h.x) + kHandleTolerance + 1), clamp32(int64_t(h.y) + kHandleTolerance + 1)});
}

std::unique_ptr<CMarker> CGraphLine::CreateMarker(int x, int y, int penStyle) const
{
    return std::make_unique<CMarkerLine>(x, y, penStyle);
}

void CGraphLine::BeginCreate(ObjectTracking& t, CDC& dc, int zoom, int x, int y) const
{
    t.res = ComputeCreateResolution(dc, zoom);
    if (t.marker)
        t.marker->Erase(dc);
    t.marker = CreateMarker(x, y, PS_SOLID);
    t.marker->TrackTo(dc, x, y);
}

void CGraphLine::BeginMove(ObjectTracking& t, CDC& dc, int zoom, int x, int y) const
{
    t.res = ComputeResolution(dc, zoom);
    POINT a, b;
    DeviceEnds(t.res, a, b);
    t.box = RECT{a.x, a.y, b.x, b.y};
    t.start = POINT{x, y};
    if (!t.marker) {
        t.marker = CreateMarker(a.x, a.y, PS_DOT);
        t.marker->TrackTo(dc, b.x, b.y);
    }
    t.marker->BeginTrackMove(x, y);
}

void CGraphLine::EndMove(ObjectTracking& t, CDC& dc, int x, int y)
{
    if (!t.marker)
        return;
    DestroyMarker(t, dc);
    const int32_t dx = t.res.x > 0 ? units::PxToUm(clamp32(int64_t(x) - t.start.x), t.res.x) : 0;
    const int32_t dy = t.res.y > 0 ? units::PxToUm(clamp32(int64_t(y) - t.start.y), t.res.y) : 0;
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

void CGraphLine::BeginResize(ObjectTracking& t, CDC& dc, int zoom, int x, int y) const
{
    t.res = ComputeResolution(dc, zoom);
    POINT a, b;
    DeviceEnds(t.res, a, b);
    t.box = RECT{a.x, a.y, b.x, b.y};
    POINT anchor, moving;
    if (nearPoint(a, x, y)) {
        anchor = b;
        moving = a;
    } else if (nearPoint(b, x, y)) {
        anchor = a;
        moving = b;
    } else {
        return;
    }
    if (t.marker)
        t.marker->Erase(dc);
    t.marker = CreateMarker(anchor.x, anchor.y, PS_DOT);
    t.marker->TrackTo(dc, moving.x, moving.y);
}

void CGraphLine::EndResize(ObjectTracking& t, CDC& dc)
{
    if (!t.marker)
        return;
    int ax, ay, mx, my;
    t.marker->GetRect(ax, ay, mx, my);
    DestroyMarker(t, dc);
    if (t.res.x > 0) {
        m_x = units::PxToUm(ax, t.res.x);
        m_x2 = units::PxToUm(mx, t.res.x);
    }
    if (t.res.y > 0) {
        m_y = units::PxToUm(ay, t.res.y);
        m_y2 = units::PxToUm(my, t.res.y);
    }
}
