#include "content/objects/graphobject.h"

#include "platform/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using units::clamp32;

void DrawBoxOutline(CDC& dc, const RECT& b)
{
    dc.MoveTo(b.left, b.top);
    dc.LineTo(b.right, b.top);
    dc.LineTo(b.right, b.bottom);
    dc.LineTo(b.left, b.bottom);
    dc.LineTo(b.left, b.top);
}

CGraphObject::CGraphObject(const CGraphObject& other)
    : m_x(other.m_x), m_y(other.m_y), m_penWidth(other.m_penWidth), m_selected(other.m_selected)
{
}

CGraphObject::~CGraphObject() = default;

int CGraphObject::GetTrackingSize(const ObjectTracking& tracking) const
{
    return tracking.marker ? tracking.marker->GetSize() : 0;
}

Resolution CGraphObject::ComputeResolution(CDC& dc, int zoom)
{
    return {units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX)), units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY))};
}

Resolution CGraphObject::ComputeCreateResolution(CDC& dc, int zoom)
{
    return {units::ZoomedPpiTruncated(zoom, dc.GetDeviceCaps(LOGPIXELSX)),
            units::ZoomedPpiTruncated(zoom, dc.GetDeviceCaps(LOGPIXELSY))};
}

void CGraphObject::DestroyMarker(ObjectTracking& tracking, CDC& dc)
{
    if (tracking.marker) {
        tracking.marker->Erase(dc);
        tracking.marker.reset();
    }
}

void CGraphObject::BeginCreate(ObjectTracking& tracking, CDC& dc, int zoom, int /*x*/, int /*y*/) const
{
    tracking.res = ComputeCreateResolution(dc, zoom);
}

bool CGraphObject::Load(RecordReader& reader)
{
    m_x = reader.i32();
    m_y = reader.i32();
    m_selected = false;
    return reader.ok();
}

void CGraphObject::Save(RecordWriter& writer) const
{
    writer.i32(m_x);
    writer.i32(m_y);
}

void CGraphObject::BeginMove(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const
{
    tracking.res = ComputeResolution(dc, zoom);
    tracking.start = POINT{x, y};
}

void CGraphObject::TrackMove(ObjectTracking& tracking, CDC& dc, int x, int y) const
{
    if (tracking.marker)
        tracking.marker->TrackMove(dc, x, y);
}

void CGraphObject::EndMove(ObjectTracking& tracking, CDC& dc, int /*x*/, int /*y*/)
{
    DestroyMarker(tracking, dc);
}

void CGraphObject::CancelTracking(ObjectTracking& tracking, CDC& dc) const
{
    DestroyMarker(tracking, dc);
}

void CGraphObject::Offset(int32_t dx, int32_t dy)
{
    m_x = clamp32(int64_t(m_x) + dx);
    m_y = clamp32(int64_t(m_y) + dy);
}

void CGraphObject::BeginResize(ObjectTracking& tracking, CDC& dc, int zoom, int /*x*/, int /*y*/) const
{
    tracking.res = ComputeResolution(dc, zoom);
}

void CGraphObject::TrackResize(ObjectTracking& tracking, CDC& dc, int x, int y, int flags) const
{
    if (tracking.marker)
        tracking.marker->TrackTo(dc, x, y, (flags & MK_CONTROL) != 0);
}

void CGraphObject::EndResize(ObjectTracking& tracking, CDC& dc)
{
    DestroyMarker(tracking, dc);
}

void CGraphObject::DrawHandlesIfSelected(CDC& dc, int zoom) const
{
    if (m_selected)
        DrawHandles(dc, zoom);
}

RECT CGraphObject::CalcDeviceRect(CDC& dc, int zoom, int offsetX, int offsetY) const
{
    const Resolution res = ComputeResolution(dc, zoom);
    using units::UmToPx;
    return RECT{clamp32(int64_t(offsetX) + UmToPx(GetLeft(), res.x)), clamp32(int64_t(offsetY) + UmToPx(GetTop(), res.y)),
                clamp32(int64_t(offsetX) + UmToPx(GetRight(), res.x)),
                clamp32(int64_t(offsetY) + UmToPx(GetBottom(), res.y))};
}

// ---------------------------------------------------------------------------

bool CGraph2Dim::SetCenter(int axis, int32_t v)
{
    if (axis == 1) {
        m_x = clamp32(int64_t(v) - m_width / 2);
        return true;
    }
    if (axis == 2) {
        m_y = clamp32(int64_t(v) - m_height / 2);
        return true;
    }
    return false;
}

int32_t CGraph2Dim::GetCenter(int axis) const
{
    if (axis == 1)
        return clamp32(int64_t(m_x) + m_width / 2);
    if (axis == 2)
        return clamp32(int64_t(m_y) + m_height / 2);
    return 0;
}

void CGraph2Dim::GetCenterPoint(int32_t& x, int32_t& y) const
{
    x = GetCenter(1);
    y = GetCenter(2);
}

int32_t CGraph2Dim::GetRight() const { return clamp32(int64_t(m_x) + m_width); }
int32_t CGraph2Dim::GetBottom() const { return clamp32(int64_t(m_y) + m_height); }
void CGraph2Dim::SetRight(int32_t v) { m_x = clamp32(int64_t(v) - m_width); }
void CGraph2Dim::SetBottom(int32_t v) { m_y = clamp32(int64_t(v) - m_height); }

RECT CGraph2Dim::DeviceBox(Resolution res, int offsetX, int offsetY) const
{
    // The virtual edges: a group's box is the box around its children.
    using units::UmToPx;
    return RECT{clamp32(int64_t(offsetX) + UmToPx(GetLeft(), res.x)), clamp32(int64_t(offsetY) + UmToPx(GetTop(), res.y)),
                clamp32(int64_t(offsetX) + UmToPx(GetRight(), res.x)),
                clamp32(int64_t(offsetY) + UmToPx(GetBottom(), res.y))};
}

RECT CGraph2Dim::CalcDeviceRect(CDC& dc, int zoom, int offsetX, int offsetY) const
{
    return DeviceBox(ComputeResolution(dc, zoom), offsetX, offsetY);
}

bool CGraph2Dim::PtInObject(CDC& dc, int zoom, int x, int y) const
{
    const RECT r = CalcDeviceRect(dc, zoom, 0, 0);
    return r.left < x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool CGraph2Dim::IsInsideRect(CDC& dc, int zoom, const RECT& rect) const
{
    const RECT r = CalcDeviceRect(dc, zoom, 0, 0);
    return r.left >= rect.left && r.right <= rect.right && r.top >= rect.top && r.bottom <= rect.bottom;
}

POINT CGraph2Dim::HandlePoint(const RECT& r, int code)
{
    const int mx = int((int64_t(r.left) + r.right) / 2);
    const int my = int((int64_t(r.top) + r.bottom) / 2);
    switch (code) {
    case kHandleTopLeft: return {r.left, r.top};
    case kHandleTop: return {mx, r.top};
    case kHandleTopRight: return {r.right, r.top};
    case kHandleRight: return {r.right, my};
    case kHandleBottomRight: return {r.right, r.bottom};
    case kHandleBottom: return {mx, r.bottom};
    case kHandleBottomLeft: return {r.left, r.bottom};
    case kHandleLeft: return {r.left, my};
    default: return {0, 0};
    }
}

static bool nearPoint(POINT h, int x, int y)
{
    return std::llabs(int64_t(x) - h.x) <= kHandleTolerance && std::llabs(int64_t(y) - h.y) <= kHandleTolerance;
}

int CGraph2Dim::HandleAt(const RECT& box, int x, int y)
{
    for (int code = kHandleTopLeft; code <= kHandleLeft; ++code)
        if (nearPoint(HandlePoint(box, code), x, y))
            return code;
    return kHandleNone;
}

int CGraph2Dim::HitTestHandle(CDC& dc, int zoom, int x, int y) const
{
    return HandleAt(CalcDeviceRect(dc, zoom, 0, 0), x, y);
}

bool CGraph2Dim::IsOnHandle(CDC& dc, int zoom, int x, int y) const
{
    if (!m_selected)
        return false;
    return HitTestHandle(dc, zoom, x, y) != kHandleNone;
}

void CGraph2Dim::DrawHandles(CDC& dc, int zoom) const
{
    const RECT box = CalcDeviceRect(dc, zoom, 0, 0);
    for (int code = kHandleTopLeft; code <= kHandleLeft; ++code) {
        const POINT h = HandlePoint(box, code);
        dc.InvertRect(RECT{h.x - kHandleTolerance, h.y - kHandleTolerance, h.x + kHandleTolerance + 1,
                           h.y + kHandleTolerance + 1});
    }
}

std::unique_ptr<CMarker> CGraph2Dim::CreateMarker(int x, int y, int penStyle) const
{
    return std::make_unique<CMarkerRect>(x, y, penStyle);
}

void CGraph2Dim::BeginCreate(ObjectTracking& t, CDC& dc, int zoom, int x, int y) const
{
    t.res = ComputeCreateResolution(dc, zoom);
    if (t.marker)
        t.marker->Erase(dc);
    t.marker = CreateMarker(x, y, PS_SOLID);
    t.marker->TrackTo(dc, x, y);
    t.anchor = POINT{x, y};
    t.resizeMode = kResizeBoth;
}

void CGraph2Dim::BeginMove(ObjectTracking& t, CDC& dc, int zoom, int x, int y) const
{
    t.res = ComputeResolution(dc, zoom);
    t.box = DeviceBox(t.res, 0, 0);
    t.start = POINT{x, y};
    if (!t.marker) {
        t.marker = CreateMarker(t.box.left, t.box.top, PS_DOT);
        t.marker->TrackTo(dc, t.box.right, t.box.bottom);
    }
    t.marker->BeginTrackMove(x, y);
}

void CGraph2Dim::EndMove(ObjectTracking& t, CDC& dc, int x, int y)
{
    if (!t.marker)
        return;
    DestroyMarker(t, dc);
    if (t.res.x > 0)
        m_x = clamp32(int64_t(m_x) + units::PxToUm(clamp32(int64_t(x) - t.start.x), t.res.x));
    if (t.res.y > 0)
        m_y = clamp32(int64_t(m_y) + units::PxToUm(clamp32(int64_t(y) - t.start.y), t.res.y));
}

void CGraph2Dim::BeginResize(ObjectTracking& t, CDC& dc, int zoom, int x, int y) const
{
    t.res = ComputeResolution(dc, zoom);
    t.box = DeviceBox(t.res, 0, 0);
    t.resizeMode = kResizeBoth;
    const RECT& r = t.box;
    const POINT tl{r.left, r.top}, tr{r.right, r.top}, br{r.right, r.bottom}, bl{r.left, r.bottom};
    // Handles in the order they are tried, with their anchor, moving corner
    // and mode. Without a handle under the point the bottom-right one is used.
    struct Choice { int handle; POINT anchor; POINT moving; int32_t mode; };
    const Choice choices[] = {
        {kHandleTopLeft, br, tl, kResizeBoth},
        {kHandleTopRight, bl, tr, kResizeBoth},
        {kHandleBottomRight, tl, br, kResizeBoth},
        {kHandleBottomLeft, tr, bl, kResizeBoth},
        {kHandleTop, bl, tr, kResizeHeight},
        {kHandleRight, tl, br, kResizeWidth},
        {kHandleBottom, tl, br, kResizeHeight},
        {kHandleLeft, tr, bl, kResizeWidth},
    };
    const Choice* chosen = &choices[2];
    for (const Choice& c : choices)
        if (nearPoint(HandlePoint(r, c.handle), x, y)) {
            chosen = &c;
            break;
        }
    t.anchor = chosen->anchor;
    t.resizeMode = chosen->mode;
    if (t.marker)
        t.marker->Erase(dc);
    t.marker = CreateMarker(t.anchor.x, t.anchor.y, PS_DOT);
    t.marker->TrackTo(dc, chosen->moving.x, chosen->moving.y);
}

void CGraph2Dim::TrackResize(ObjectTracking& t, CDC& dc, int x, int y, int flags) const
{
    if (!t.marker)
        return;
    int64_t px = x, py = y;
    if (t.resizeMode == kResizeBoth && (flags & MK_SHIFT)) {
        const int64_t a = GetAspectPercent();
        if (py < t.anchor.y)
            py = t.anchor.y - a * std::llabs(int64_t(t.anchor.x) - px) / 100;
        else
            py = t.anchor.y + a * std::llabs(px - t.anchor.x) / 100;
    } else if (t.resizeMode == kResizeWidth) {
        py = t.box.bottom;
    } else if (t.resizeMode == kResizeHeight) {
        px = t.box.right;
    }
    t.marker->TrackTo(dc, clamp32(px), clamp32(py), (flags & MK_CONTROL) != 0);
}

void CGraph2Dim::EndResize(ObjectTracking& t, CDC& dc)
{
    if (!t.marker)
        return;
    int l, tp, r, b;
    t.marker->GetRect(l, tp, r, b);
    DestroyMarker(t, dc);
    if (t.res.x > 0) {
        m_x = units::PxToUm(l, t.res.x);
        m_width = units::PxToUm(clamp32(int64_t(r) - l), t.res.x);
    }
    if (t.res.y > 0) {
        m_y = units::PxToUm(tp, t.res.y);
        m_height = units::PxToUm(clamp32(int64_t(b) - tp), t.res.y);
    }
}

int CGraph2Dim::GetAspectPercent() const
{
    if (m_width == 0 || m_height == 0)
        return 100;
    return clamp32(int64_t(m_height) * 100 / m_width);
}

void CGraph2Dim::Rotate90(int32_t cx, int32_t cy, int direction)
{
    const int64_t x = m_x, y = m_y, w = m_width, h = m_height;
    int64_t nx, ny;
    if (direction == 1) {
        nx = cx + (y - cy);
        ny = cy + (cx - x - 2 * (w / 2));
    } else if (direction == -1) {
        nx = cx + (cy - y - 2 * (h / 2));
        ny = cy + (x - cx);
    } else {
        return;
    }
    m_x = clamp32(nx);
    m_y = clamp32(ny);
    m_width = int32_t(h);
    m_height = int32_t(w);
}

void CGraph2Dim::ScaleHorizontally(int32_t from, int32_t to, int32_t delta)
{
    const int64_t band = int64_t(to) - from;
    if (band == 0)
        return;
    const double factor = double(band + delta) / double(band);
    const double nx = double(from) + (double(m_x) - double(from)) * factor;
    const double nw = double(m_width) * factor;
    auto round32 = [](double v) {
        if (!std::isfinite(v))
            return int32_t(0);
        return clamp32(std::llround(std::clamp(v, -9.0e18, 9.0e18)));
    };
    m_x = round32(nx);
    m_width = round32(nw);
}
