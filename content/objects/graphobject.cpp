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
    : m_x(other.m_x), m_y(other.m_y), m_penWidth(other.m_penWidth), m_selected(other.m_selected),
      m_trackStart(other.m_trackStart), m_ppiX(other.m_ppiX), m_ppiY(other.m_ppiY)
{
    // A copy never shares or copies a tracking outline.
}

CGraphObject::~CGraphObject() = default;

int CGraphObject::GetTrackingSize() const
{
    return m_marker ? m_marker->GetSize() : 0;
}

void CGraphObject::ComputeResolution(CDC& dc, int zoom)
{
    m_ppiX = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    m_ppiY = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
}

void CGraphObject::ComputeCreateResolution(CDC& dc, int zoom)
{
    m_ppiX = units::ZoomedPpiTruncated(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    m_ppiY = units::ZoomedPpiTruncated(zoom, dc.GetDeviceCaps(LOGPIXELSY));
}

void CGraphObject::DestroyMarker(CDC& dc)
{
    if (m_marker) {
        m_marker->Erase(dc);
        m_marker.reset();
    }
}

void CGraphObject::BeginCreate(CDC& dc, int zoom, int /*x*/, int /*y*/)
{
    ComputeCreateResolution(dc, zoom);
}

bool CGraphObject::Load(RecordReader& reader)
{
    m_x = reader.i32();
    m_y = reader.i32();
    m_selected = false;
    m_marker.reset();
    return reader.ok();
}

void CGraphObject::Save(RecordWriter& writer) const
{
    writer.i32(m_x);
    writer.i32(m_y);
}

void CGraphObject::BeginMove(CDC& dc, int zoom, int x, int y)
{
    ComputeResolution(dc, zoom);
    m_trackStart = POINT{x, y};
}

void CGraphObject::TrackMove(CDC& dc, int x, int y)
{
    if (m_marker)
        m_marker->TrackMove(dc, x, y);
}

void CGraphObject::EndMove(CDC& dc, int /*x*/, int /*y*/)
{
    DestroyMarker(dc);
}

void CGraphObject::CancelTracking(CDC& dc)
{
    DestroyMarker(dc);
}

void CGraphObject::Offset(int32_t dx, int32_t dy)
{
    m_x = clamp32(int64_t(m_x) + dx);
    m_y = clamp32(int64_t(m_y) + dy);
}

void CGraphObject::BeginResize(CDC& dc, int zoom, int /*x*/, int /*y*/)
{
    ComputeResolution(dc, zoom);
}

void CGraphObject::TrackResize(CDC& dc, int x, int y, int flags)
{
    if (m_marker)
        m_marker->TrackTo(dc, x, y, (flags & MK_CONTROL) != 0);
}

void CGraphObject::EndResize(CDC& dc)
{
    DestroyMarker(dc);
}

void CGraphObject::DrawHandlesIfSelected(CDC& dc)
{
    if (m_selected)
        DrawHandles(dc);
}

void CGraphObject::CalcDeviceRect(CDC& dc, int zoom, int /*offsetX*/, int /*offsetY*/)
{
    ComputeResolution(dc, zoom);
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

void CGraph2Dim::CalcDeviceRect(CDC& dc, int zoom, int offsetX, int offsetY)
{
    ComputeResolution(dc, zoom);
    using units::UmToPx;
    m_deviceRect.left = clamp32(int64_t(offsetX) + UmToPx(m_x, m_ppiX));
    m_deviceRect.top = clamp32(int64_t(offsetY) + UmToPx(m_y, m_ppiY));
    m_deviceRect.right = clamp32(int64_t(offsetX) + UmToPx(GetRight(), m_ppiX));
    m_deviceRect.bottom = clamp32(int64_t(offsetY) + UmToPx(GetBottom(), m_ppiY));
}

bool CGraph2Dim::PtInObject(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    const RECT& r = m_deviceRect;
    return r.left < x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool CGraph2Dim::IsInsideRect(CDC& dc, int zoom, const RECT& rect)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    const RECT& r = m_deviceRect;
    return r.left >= rect.left && r.right <= rect.right && r.top >= rect.top && r.bottom <= rect.bottom;
}

POINT CGraph2Dim::HandlePoint(int code) const
{
    const RECT& r = m_deviceRect;
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

int CGraph2Dim::HandleAt(int x, int y) const
{
    for (int code = kHandleTopLeft; code <= kHandleLeft; ++code)
        if (nearPoint(HandlePoint(code), x, y))
            return code;
    return kHandleNone;
}

int CGraph2Dim::HitTestHandle(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    return HandleAt(x, y);
}

bool CGraph2Dim::IsOnHandle(CDC& dc, int zoom, int x, int y)
{
    if (!m_selected)
        return false;
    return HitTestHandle(dc, zoom, x, y) != kHandleNone;
}

void CGraph2Dim::DrawHandles(CDC& dc)
{
    for (int code = kHandleTopLeft; code <= kHandleLeft; ++code) {
        const POINT h = HandlePoint(code);
        dc.InvertRect(RECT{h.x - kHandleTolerance, h.y - kHandleTolerance, h.x + kHandleTolerance + 1,
                           h.y + kHandleTolerance + 1});
    }
}

std::unique_ptr<CMarker> CGraph2Dim::CreateMarker(int x, int y, int penStyle) const
{
    return std::make_unique<CMarkerRect>(x, y, penStyle);
}

void CGraph2Dim::BeginCreate(CDC& dc, int zoom, int x, int y)
{
    ComputeCreateResolution(dc, zoom);
    if (m_marker)
        m_marker->Erase(dc);
    m_marker = CreateMarker(x, y, PS_SOLID);
    m_marker->TrackTo(dc, x, y);
    m_anchor = POINT{x, y};
    m_resizeMode = kResizeBoth;
}

void CGraph2Dim::BeginMove(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    m_trackStart = POINT{x, y};
    if (!m_marker) {
        m_marker = CreateMarker(m_deviceRect.left, m_deviceRect.top, PS_DOT);
        m_marker->TrackTo(dc, m_deviceRect.right, m_deviceRect.bottom);
    }
    m_marker->BeginTrackMove(x, y);
}

void CGraph2Dim::EndMove(CDC& dc, int x, int y)
{
    if (!m_marker)
        return;
    DestroyMarker(dc);
    if (m_ppiX > 0)
        m_x = clamp32(int64_t(m_x) + units::PxToUm(clamp32(int64_t(x) - m_trackStart.x), m_ppiX));
    if (m_ppiY > 0)
        m_y = clamp32(int64_t(m_y) + units::PxToUm(clamp32(int64_t(y) - m_trackStart.y), m_ppiY));
}

void CGraph2Dim::BeginResize(CDC& dc, int zoom, int x, int y)
{
    CalcDeviceRect(dc, zoom, 0, 0);
    m_resizeMode = kResizeBoth;
    const RECT& r = m_deviceRect;
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
        if (nearPoint(HandlePoint(c.handle), x, y)) {
            chosen = &c;
            break;
        }
    m_anchor = chosen->anchor;
    m_resizeMode = chosen->mode;
    if (m_marker)
        m_marker->Erase(dc);
    m_marker = CreateMarker(m_anchor.x, m_anchor.y, PS_DOT);
    m_marker->TrackTo(dc, chosen->moving.x, chosen->moving.y);
}

void CGraph2Dim::TrackResize(CDC& dc, int x, int y, int flags)
{
    if (!m_marker)
        return;
    int64_t px = x, py = y;
    if (m_resizeMode == kResizeBoth && (flags & MK_SHIFT)) {
        const int64_t a = GetAspectPercent();
        if (py < m_anchor.y)
            py = m_anchor.y - a * std::llabs(int64_t(m_anchor.x) - px) / 100;
        else
            py = m_anchor.y + a * std::llabs(px - m_anchor.x) / 100;
    } else if (m_resizeMode == kResizeWidth) {
        py = m_deviceRect.bottom;
    } else if (m_resizeMode == kResizeHeight) {
        px = m_deviceRect.right;
    }
    m_marker->TrackTo(dc, clamp32(px), clamp32(py), (flags & MK_CONTROL) != 0);
}

void CGraph2Dim::EndResize(CDC& dc)
{
    if (!m_marker)
        return;
    int l, t, r, b;
    m_marker->GetRect(l, t, r, b);
    DestroyMarker(dc);
    if (m_ppiX > 0) {
        m_x = units::PxToUm(l, m_ppiX);
        m_width = units::PxToUm(clamp32(int64_t(r) - l), m_ppiX);
    }
    if (m_ppiY > 0) {
        m_y = units::PxToUm(t, m_ppiY);
        m_height = units::PxToUm(clamp32(int64_t(b) - t), m_ppiY);
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
