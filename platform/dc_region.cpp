// Device context: clip regions, region drawing and brushes.
#include "platform/dc_internal.h"

#include <QPainter>
#include <algorithm>
#include <vector>

using dcpixel::fromRgb;
using dcpixel::qcolor;
using dcpixel::toRgb;

namespace {

// Far beyond any device, well inside QRect's range.
constexpr int kEverywhere = 1 << 21;

QRegion everywhere()
{
    return QRegion(-kEverywhere, -kEverywhere, 2 * kEverywhere, 2 * kEverywhere);
}

} // namespace

std::optional<COLORREF> CDC::brushColor(const CBrush& brush, int x, int y) const
{
    // Hatches and patterns line up with the device's pixels.
    const int dx = x + m_org.x, dy = y + m_org.y;
    switch (brush.style) {
    case BS_HATCHED: {
        const int hx = dx & 7, hy = dy & 7;
        bool on = false;
        switch (brush.hatch) {
        case HS_HORIZONTAL: on = hy == 7; break;
        case HS_VERTICAL: on = hx == 7; break;
        case HS_FDIAGONAL: on = hx == hy; break;
        case HS_BDIAGONAL: on = hx + hy == 7; break;
        case HS_CROSS: on = hx == 7 || hy == 7; break;
        default: on = hx == hy || hx + hy == 7; break;
        }
        if (on)
            return brush.color;
        if (m_state.bkMode == OPAQUE)
            return m_state.bkColor;
        return std::nullopt;
    }
    case BS_PATTERN: {
        if (!brush.pattern || brush.pattern->isNull())
            return brush.color;
        const QImage& tile = *brush.pattern;
        const int tx = ((dx % tile.width()) + tile.width()) % tile.width();
        const int ty = ((dy % tile.height()) + tile.height()) % tile.height();
        const uint32_t p = reinterpret_cast<const uint32_t*>(tile.constScanLine(ty))[tx] & 0xFFFFFFu;
        if (brush.monochrome)
            return p ? m_state.bkColor : m_state.textColor;
        return fromRgb(p);
    }
    default: return brush.color;
    }
}

QBrush CDC::painterBrush(const CBrush& brush) const
{
    if (brush.style == BS_HATCHED) {
        static const Qt::BrushStyle styles[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(qcolor(brush.color), styles[std::clamp(brush.hatch, 0, 5)]);
    }
    if (brush.style == BS_PATTERN && brush.pattern) {
        QImage tile = *brush.pattern;
        if (brush.monochrome)
            dcpixel::Recolour(tile, m_state.textColor, m_state.bkColor);
        return QBrush(tile);
    }
    return QBrush(qcolor(brush.color));
}

CBrush CBrush::Pattern(const QImage& tile, bool monochrome)
{
    if (tile.isNull() || tile.width() > kMaxPatternSide || tile.height() > kMaxPatternSide)
        return Hollow();
    CBrush b{BS_PATTERN, 0};
    b.pattern = std::make_shared<const QImage>(tile.convertToFormat(QImage::Format_RGB32));
    b.monochrome = monochrome;
    return b;
}

void CDC::setClipRegion(const QRegion& region)
{
    if (region.rectCount() <= 1) {
        // A plain rectangle (or nothing) stays a clip rectangle.
        const QRect b = region.boundingRect();
        m_state.clip = RECT{b.x(), b.y(), b.x() + b.width(), b.y() + b.height()};
        m_state.clipRegion.reset();
        return;
    }
    const QRect b = region.boundingRect();
    m_state.clip = RECT{b.x(), b.y(), b.x() + b.width(), b.y() + b.height()};
    m_state.clipRegion = region;
}

std::optional<QRegion> CDC::GetClipRegion() const
{
    if (m_state.clipRegion)
        return m_state.clipRegion;
    if (m_state.clip)
        return QRegion(ToQRect(*m_state.clip));
    return std::nullopt;
}

void CDC::SelectClipRegion(const QRegion* region)
{
    if (!region) {
        m_state.clip.reset();
        m_state.clipRegion.reset();
        return;
    }
    setClipRegion(*region);
}

void CDC::ExcludeClipRect(const RECT& r)
{
    const QRect q = ToQRect(r.Normalized());
    setClipRegion(GetClipRegion().value_or(everywhere()).subtracted(q));
}

void CDC::OffsetClipRgn(int dx, int dy)
{
    if (!m_state.clip)
        return;
    dx = std::clamp(dx, -kEverywhere, kEverywhere);
    dy = std::clamp(dy, -kEverywhere, kEverywhere);
    setClipRegion(GetClipRegion()->translated(dx, dy).intersected(everywhere()));
}

void CDC::FillRegion(const QRegion& region, const CBrush& brush)
{
    if (region.isEmpty() || brush.IsNull())
        return;
    QPainterPath path;
    path.addRegion(region);
    const CPen pen = m_state.pen;
    const CBrush old = m_state.brush;
    m_state.pen = CPen::Null();
    m_state.brush = brush;
    figure(path, QPainterPath(), nullptr, true);
    m_state.pen = pen;
    m_state.brush = old;
}

void CDC::FrameRegion(const QRegion& region, const CBrush& brush, int width, int height)
{
    width = std::clamp(width, 1, 1 << 16);
    height = std::clamp(height, 1, 1 << 16);
    // The inside: what stays in the region when moved by the frame's
    // thickness in each direction.
    const QRegion inside = region.intersected(region.translated(width, 0))
                               .intersected(region.translated(-width, 0))
                               .intersected(region.translated(0, height))
                               .intersected(region.translated(0, -height));
    FillRegion(region.subtracted(inside), brush);
}

void CDC::InvertRegion(const QRegion& region)
{
    for (const QRect& q : region)
        InvertRect(RECT{q.x(), q.y(), q.x() + q.width(), q.y() + q.height()});
}

bool CDC::ExtFloodFill(int x, int y, COLORREF color, unsigned type)
{
    if (!m_image || m_state.brush.IsNull())
        return false;
    const RECT b = visibleBounds();
    auto visible = [&](int px, int py) {
        return px >= b.left && px < b.right && py >= b.top && py < b.bottom &&
               (!m_state.clipRegion || m_state.clipRegion->contains(QPoint(px, py)));
    };
    if (!visible(x, y))
        return false;
    const uint32_t target = ((GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color));
    auto rgbAt = [&](int px, int py) {
        return reinterpret_cast<const uint32_t*>(m_image->constScanLine(py + m_org.y))[px + m_org.x] & 0xFFFFFFu;
    };
    auto fills = [&](int px, int py) {
        const bool same = rgbAt(px, py) == target;
        return type == FLOODFILLSURFACE ? same : !same;
    };
    if (!fills(x, y))
        return false;
    // The area is found first, then painted, so that the brush's own colours
    // do not stop or extend it.
    const int w = int(b.Width()), h = int(b.Height());
    std::vector<uint8_t> in(size_t(w) * size_t(h), 0);
    std::vector<POINT> todo{POINT{x, y}};
    in[size_t(y - b.top) * size_t(w) + size_t(x - b.left)] = 1;
    while (!todo.empty()) {
        const POINT p = todo.back();
        todo.pop_back();
        const POINT next[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
        for (const POINT& n : next) {
            if (!visible(n.x, n.y))
                continue;
            uint8_t& seen = in[size_t(n.y - b.top) * size_t(w) + size_t(n.x - b.left)];
            if (seen || !fills(n.x, n.y))
                continue;
            seen = 1;
            todo.push_back(n);
        }
    }
    const uint32_t solid = (GetRValue(m_state.brush.color) << 16) | (GetGValue(m_state.brush.color) << 8) |
                           GetBValue(m_state.brush.color);
    for (int py = 0; py < h; ++py) {
        auto* line = reinterpret_cast<uint32_t*>(m_image->scanLine(py + b.top + m_org.y));
        for (int px = 0; px < w; ++px) {
            if (!in[size_t(py) * size_t(w) + size_t(px)])
                continue;
            uint32_t c = solid;
            if (!m_state.brush.IsSolid()) {
                const auto bc = brushColor(m_state.brush, px + b.left, py + b.top);
                if (!bc)
                    continue;
                c = (GetRValue(*bc) << 16) | (GetGValue(*bc) << 8) | GetBValue(*bc);
            }
            line[px + b.left + m_org.x] = 0xFF000000u | c;
        }
    }
    return true;
}
