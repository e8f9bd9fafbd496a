#include "content/objects/shapes.h"

#include "platform/units.h"

#include <algorithm>
#include <cmath>

using units::clamp32;

namespace {

CPen solidPen(int width, COLORREF color)
{
    return CPen{PS_SOLID, std::max(width, 0), color};
}

} // namespace

// --- rectangle ---------------------------------------------------------------

void CGraphRect::SetFillColor(COLORREF c)
{
    m_fillColor = c;
    m_transparent = false;
}

std::unique_ptr<CGraphObject> CGraphRect::Clone() const
{
    return std::make_unique<CGraphRect>(*this);
}

bool CGraphRect::Load(RecordReader& reader)
{
    m_x = reader.i32();
    m_y = reader.i32();
    m_width = reader.i32();
    m_height = reader.i32();
    m_penWidth = reader.i32();
    m_borderColor = reader.u32();
    m_fillColor = reader.u32();
    m_transparent = reader.u8() != 0;
    m_selected = false;
    return reader.ok();
}

void CGraphRect::Save(RecordWriter& writer) const
{
    writer.i32(m_x);
    writer.i32(m_y);
    writer.i32(m_width);
    writer.i32(m_height);
    writer.i32(m_penWidth);
    writer.u32(m_borderColor);
    writer.u32(m_fillColor);
    writer.u8(m_transparent ? 1 : 0);
}

int CGraphRect::PenPixels(Resolution res) const
{
    return std::max(units::UmToPx(GetPenWidth(), res.x), 0);
}

void CGraphRect::DrawRectangle(CDC& dc, const RECT& b, Resolution res) const
{
    if (!m_transparent) {
        // The fill pen's edge pixels lie under the border drawn next.
        dc.SelectBrush(CBrush::Solid(m_fillColor));
        dc.SelectPen(solidPen(1, m_fillColor));
        dc.Rectangle(b.left, b.top, clamp32(int64_t(b.right) + 1), clamp32(int64_t(b.bottom) + 1));
    }
    dc.SelectPen(solidPen(PenPixels(res), m_borderColor));
    DrawBoxOutline(dc, b);
}

bool CGraphRect::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    CDCStateScope state(dc);
    const Resolution res = ComputeResolution(dc, args.zoom);
    DrawRectangle(dc, DeviceBox(res, args.offsetX, args.offsetY), res);
    return true;
}

// --- ellipse -----------------------------------------------------------------

std::unique_ptr<CGraphObject> CGraphEllipse::Clone() const
{
    return std::make_unique<CGraphEllipse>(*this);
}

bool CGraphEllipse::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    CDCStateScope state(dc);
    const Resolution res = ComputeResolution(dc, args.zoom);
    const RECT b = DeviceBox(res, args.offsetX, args.offsetY);
    dc.SelectPen(solidPen(PenPixels(res), m_borderColor));
    if (m_transparent) {
        dc.Arc(b.left, b.top, b.right, b.bottom, b.left, b.top, b.left, b.top);
    } else {
        dc.SelectBrush(CBrush::Solid(m_fillColor));
        dc.Ellipse(b.left, b.top, b.right, b.bottom);
    }
    return true;
}

std::unique_ptr<CMarker> CGraphEllipse::CreateMarker(int x, int y, int penStyle) const
{
    return std::make_unique<CMarkerEllipse>(x, y, penStyle);
}

// --- rounded rectangle -------------------------------------------------------

std::unique_ptr<CGraphObject> CGraphRectRounded::Clone() const
{
    return std::make_unique<CGraphRectRounded>(*this);
}

bool CGraphRectRounded::Load(RecordReader& reader)
{
    CGraphRect::Load(reader);
    m_cornerRadius = reader.i32();
    return reader.ok();
}

void CGraphRectRounded::Save(RecordWriter& writer) const
{
    CGraphRect::Save(writer);
    writer.i32(m_cornerRadius);
}

bool CGraphRectRounded::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    CDCStateScope state(dc);
    const Resolution res = ComputeResolution(dc, args.zoom);
    const RECT b = DeviceBox(res, args.offsetX, args.offsetY);
    const int d = units::UmToPxWide(2 * int64_t(m_cornerRadius), res.x);
    if (!m_transparent) {
        // The rounded region of the box, right and bottom edges excluded.
        dc.SelectBrush(CBrush::Solid(m_fillColor));
        dc.SelectPen(solidPen(1, m_fillColor));
        dc.RoundRect(b.left, b.top, b.right, b.bottom, d, d);
    }
    dc.SelectPen(solidPen(PenPixels(res), m_borderColor));
    dc.SelectBrush(CBrush::Hollow());
    dc.RoundRect(b.left, b.top, b.right, b.bottom, d, d);
    return true;
}

// --- triangle, first form ----------------------------------------------------

std::unique_ptr<CGraphObject> CGraphTriangle::Clone() const
{
    return std::make_unique<CGraphTriangle>(*this);
}

bool CGraphTriangle::Load(RecordReader& reader)
{
    CGraphRect::Load(reader);
    m_rotation = reader.i16();
    return reader.ok();
}

void CGraphTriangle::Save(RecordWriter& writer) const
{
    CGraphRect::Save(writer);
    writer.i16(m_rotation);
}

void CGraphTriangle::Rotate90(int32_t cx, int32_t cy, int direction)
{
    if (direction != 1 && direction != -1)
        return;
    CGraph2Dim::Rotate90(cx, cy, direction);
    const int turned = (int(m_rotation) + direction * 900 + 3600) % 3600;
    m_rotation = int16_t(turned < 0 ? turned + 3600 : turned);
}

std::unique_ptr<CMarker> CGraphTriangle::CreateMarker(int x, int y, int penStyle) const
{
    return std::make_unique<CMarkerTriangle>(x, y, penStyle, m_rotation);
}

// --- triangle with rounded corners, warning sign -----------------------------

CGraphTriangleExt::CGraphTriangleExt()
{
    m_fillColor = RGB(255, 255, 0);
    m_transparent = false;
}

std::unique_ptr<CGraphObject> CGraphTriangleExt::Clone() const
{
    return std::make_unique<CGraphTriangleExt>(*this);
}

bool CGraphTriangleExt::Load(RecordReader& reader)
{
    CGraphTriangle::Load(reader);
    m_cornerRadius = reader.i32();
    m_warningSign = reader.u8() != 0;
    return reader.ok();
}

void CGraphTriangleExt::Save(RecordWriter& writer) const
{
    CGraphTriangle::Save(writer);
    writer.i32(m_cornerRadius);
    writer.u8(m_warningSign ? 1 : 0);
}

void CGraphTriangleExt::WarningSignProportions(int32_t& penWidth, int32_t& cornerRadius) const
{
    const double angle = 1.0471966666666666; // 60 degrees
    const double s = std::sin(angle), c = std::cos(angle);
    const double t = double(m_width) * s / (s - 0.05 - 0.05 * c);
    penWidth = clamp32(units::RoundHalfUp(0.06 * t));
    const double radius = double(units::RoundHalfUp(0.025 * t)) * 0.25;
    cornerRadius = clamp32(int64_t(std::clamp(std::trunc(radius), -4.0e18, 4.0e18)));
}

void CGraphTriangleExt::ApplyWarningSignProportions()
{
    WarningSignProportions(m_penWidth, m_cornerRadius);
}

void CGraphTriangleExt::EndResize(ObjectTracking& tracking, CDC& dc)
{
    CGraphTriangle::EndResize(tracking, dc);
    if (m_warningSign)
        ApplyWarningSignProportions();
}

int32_t CGraphTriangleExt::GetPenWidth() const
{
    if (!m_warningSign)
        return m_penWidth;
    int32_t pen, radius;
    WarningSignProportions(pen, radius);
    return pen;
}

int32_t CGraphTriangleExt::GetCornerRadius() const
{
    if (!m_warningSign)
        return m_cornerRadius;
    int32_t pen, radius;
    WarningSignProportions(pen, radius);
    return radius;
}

void CGraphTriangleExt::SetWarningSign(bool on)
{
    // A sign turned off keeps the pen and corner it showed.
    if (m_warningSign && !on)
        ApplyWarningSignProportions();
    m_warningSign = on;
    if (on) {
        ApplyWarningSignProportions();
        m_height = clamp32(int64_t(87) * m_width / 100);
    }
}

int CGraphTriangleExt::GetAspectPercent() const
{
    return m_warningSign ? 87 : CGraphTriangle::GetAspectPercent();
}

void CGraphTriangleExt::TrackResize(ObjectTracking& tracking, CDC& dc, int x, int y, int flags) const
{
    if (!m_warningSign) {
        CGraphTriangle::TrackResize(tracking, dc, x, y, flags);
        return;
    }
    // A warning sign keeps its proportions; an edge handle turns into a
    // corner after the first step.
    CGraphTriangle::TrackResize(tracking, dc, x, y, flags | MK_SHIFT);
    tracking.resizeMode = kResizeBoth;
}

bool CGraphTriangleExt::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    CDCStateScope state(dc);
    // A warning sign draws with the proportions of its width.
    const int32_t penWidth = GetPenWidth();
    const int32_t cornerRadius = GetCornerRadius();
    const Resolution res = ComputeResolution(dc, args.zoom);
    const RECT device = DeviceBox(res, args.offsetX, args.offsetY);
    const RECT box = device.Normalized();
    if (box.Width() == 0 || box.Height() == 0) {
        DrawRectangle(dc, device, res);
        return true;
    }

    int64_t r = std::max<int64_t>(units::UmToPx(cornerRadius, res.x), 0);
    const int64_t minSide = std::min<int64_t>(int64_t(box.right) - box.left, int64_t(box.bottom) - box.top);
    if (3 * r >= minSide)
        r = minSide / 3;

    // Inset by half the pen, so the outline stays inside the box.
    const int64_t h = units::UmToHalfPx(penWidth, res.x);
    const int64_t l = box.left + (h - 1), t = box.top + (h - 1);
    const int64_t rt = box.right - (h - 1), bt = box.bottom - (h - 1);
    if (rt <= l || bt <= t) {
        // The pen fills the whole box: no triangle is left to round.
        DrawRectangle(dc, device, res);
        return true;
    }

    // Geometry in the frame of an upward triangle; sideways forms swap the
    // axes, downward and rightward ones are mirror images.
    const int rotation = m_rotation == 900 || m_rotation == 1800 || m_rotation == 2700 ? m_rotation : 0;
    const bool sideways = rotation == 900 || rotation == 2700;
    const int64_t fl = sideways ? t : l, ft = sideways ? l : t;
    const int64_t fr = sideways ? bt : rt, fb = sideways ? rt : bt;
    const double W = double(fr - fl), H = double(fb - ft);
    const double K = std::atan(2.0 * H / W);
    const double cosK = std::cos(K), sinK = std::sin(K);
    const double rd = double(r);
    const int64_t A = units::RoundHalfUp((1 + cosK) * rd);
    const int64_t B = units::RoundHalfUp(double(A) * cosK / sinK);
    const int64_t G = units::RoundHalfUp(rd * sinK);
    const int64_t D = units::RoundHalfUp(double(G) * sinK / cosK);
    const int64_t E = units::RoundHalfUp(rd * cosK);
    const int64_t midX = (fl + fr) / 2;

    auto map = [&](int64_t fx, int64_t fy) {
        int64_t x = fx, y = fy;
        switch (rotation) {
        case 900: x = fy; y = fx; break;
        case 1800: y = t + bt - fy; break;
        case 2700: x = l + rt - fy; y = fx; break;
        default: break;
        }
        return POINT{clamp32(x), clamp32(y)};
    };
    // A mirrored frame turns counter-clockwise arcs round.
    const bool mirrored = rotation == 900 || rotation == 1800;

    const POINT baseL = map(fl + B + G, fb), baseR = map(fr - B - G, fb);
    const POINT rightLow = map(fr - B, fb - A), rightTop = map(midX + G, ft + D);
    const POINT leftTop = map(midX - G, ft + D), leftLow = map(fl + B, fb - A);
    const POINT centres[3] = {map(fl + B + G, fb - r), map(fr - B - G, fb - r), map(midX, ft + E + D)};
    auto circle = [&](const POINT& c) {
        return RECT{clamp32(c.x - r), clamp32(c.y - r), clamp32(c.x + r + 1), clamp32(c.y + r + 1)};
    };

    if (!m_transparent) {
        dc.SelectBrush(CBrush::Solid(m_fillColor));
        dc.SelectPen(solidPen(1, m_fillColor));
        for (const POINT& c : centres) {
            const RECT cb = circle(c);
            dc.Ellipse(cb.left, cb.top, cb.right, cb.bottom);
        }
        const POINT hexagon[6] = {baseL, baseR, rightLow, rightTop, leftTop, leftLow};
        dc.SetPolyFillMode(WINDING);
        dc.Polygon(hexagon, 6);
    }

    dc.SelectPen(solidPen(std::max(units::UmToPx(penWidth, res.x), 0), m_borderColor));
    dc.SelectBrush(CBrush::Hollow());
    dc.MoveTo(baseL.x, baseL.y);
    dc.LineTo(baseR.x, baseR.y);
    dc.MoveTo(rightLow.x, rightLow.y);
    dc.LineTo(rightTop.x, rightTop.y);
    dc.MoveTo(leftTop.x, leftTop.y);
    dc.LineTo(leftLow.x, leftLow.y);
    struct CornerArc { POINT centre, from, to; };
    const CornerArc arcs[3] = {{centres[0], leftLow, baseL}, {centres[1], baseR, rightLow},
                               {centres[2], rightTop, leftTop}};
    for (const CornerArc& a : arcs) {
        const RECT cb = circle(a.centre);
        const POINT& s = mirrored ? a.to : a.from;
        const POINT& e = mirrored ? a.from : a.to;
        dc.Arc(cb.left, cb.top, cb.right, cb.bottom, s.x, s.y, e.x, e.y);
    }
    return true;
}
