// Device context: clip regions, region drawing and pattern brushes.
#include "platform/dc_internal.h"

#include <QPainter>
#include <algorithm>

namespace {

// Far beyond any device, well inside QRect's range.
constexpr int kEverywhere = 1 << 21;

QRegion everywhere()
{
    return QRegion(-kEverywhere, -kEverywhere, 2 * kEverywhere, 2 * kEverywhere);
}

} // namespace

CBrush CBrush::Pattern(const QImage& tile, bool monochrome)
{
    // Larger tiles than any pattern brush a picture uses are refused.
    constexpr int kMaxTileSide = 4096;
    if (tile.isNull() || tile.width() > kMaxTileSide || tile.height() > kMaxTileSide)
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
