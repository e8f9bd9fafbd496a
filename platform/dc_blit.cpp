// Device context: bit-block transfers with ternary raster operations, and
// solid, inverted and single pixels.
#include "platform/dc_internal.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

using dcpixel::fromRgb;
using dcpixel::intersect;
using dcpixel::qcolor;
using dcpixel::toRgb;

namespace {

// The ternary raster operation: bit i of its index (bits 16-23 of the
// code) is the result for pattern bit (i >> 2), source bit (i >> 1) & 1 and
// destination bit i & 1.
uint32_t applyRop3(uint32_t rop, uint32_t p, uint32_t s, uint32_t d)
{
    const unsigned index = (rop >> 16) & 0xFF;
    switch (index) {
    case 0xCC: return s;
    case 0xF0: return p;
    case 0xEE: return s | d;
    case 0x88: return s & d;
    case 0x66: return s ^ d;
    default: break;
    }
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i)
        if (index & (1u << i))
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r & 0xFFFFFFu;
}

bool usesPattern(uint32_t rop)
{
    const unsigned index = (rop >> 16) & 0xFF;
    return ((index >> 4) ^ index) & 0x0F;
}

QPainter::CompositionMode compositionFor(uint32_t rop)
{
    switch (rop) {
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCERASE: return QPainter::RasterOp_NotSourceAndNotDestination;
    case MERGEPAINT: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

int toInt(double v)
{
    return int(std::lround(std::clamp(v, -1.0e9, 1.0e9)));
}

} // namespace

void CDC::PatBlt(const RECT& dest, uint32_t rop)
{
    const RECT d = dest.Normalized();
    if (d.IsEmpty())
        return;
    if (m_painter) {
        flushFills();
        m_painter->save();
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        ClipPainter(*m_painter);
        const QRect q = ToQRect(d);
        switch (rop) {
        case BLACKNESS: m_painter->fillRect(q, Qt::black); break;
        case WHITENESS: m_painter->fillRect(q, Qt::white); break;
        case DSTINVERT:
            m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
            m_painter->fillRect(q, Qt::black);
            break;
        default:
            if (m_state.brush.IsNull())
                break;
            if (rop == PATINVERT)
                m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            if (m_state.brush.style == BS_HATCHED && m_state.bkMode == OPAQUE)
                m_painter->fillRect(q, QColor(int(GetRValue(m_state.bkColor)), int(GetGValue(m_state.bkColor)),
                                              int(GetBValue(m_state.bkColor))));
            m_painter->fillRect(q, painterBrush(m_state.brush));
            break;
        }
        m_painter->restore();
        return;
    }
    const bool pattern = usesPattern(rop) && !m_state.brush.IsNull();
    const RECT v = visibleBounds();
    const RECT visible{std::max(d.left, v.left), std::max(d.top, v.top), std::min(d.right, v.right),
                       std::min(d.bottom, v.bottom)};
    forVisibleRects(visible, [&](const RECT& b) {
                        for (int y = b.top; y < b.bottom; ++y) {
                            auto* line = reinterpret_cast<uint32_t*>(m_image->scanLine(y + m_org.y));
                            for (int x = b.left; x < b.right; ++x) {
                                uint32_t p = 0;
                                if (pattern) {
                                    const auto c = brushColor(m_state.brush, x, y);
                                    if (!c)
                                        continue; // a hatch's gap in TRANSPARENT mode
                                    p = toRgb(*c);
                                }
                                uint32_t& px = line[x + m_org.x];
                                px = 0xFF000000u | applyRop3(rop, p, 0, px & 0xFFFFFFu);
                            }
                        }
                    });
}

void CDC::StretchBlt(const RECT& dest, const QImage& image, const QRect& source, uint32_t rop)
{
    if (image.isNull() || dest.right == dest.left || dest.bottom == dest.top || source.width() <= 0 ||
        source.height() <= 0)
        return;
    const QRect inside = source & image.rect();
    if (inside.isEmpty())
        return;
    const double sx = double(int64_t(dest.right) - dest.left) / source.width();
    const double sy = double(int64_t(dest.bottom) - dest.top) / source.height();
    const double l = dest.left + (inside.left() - source.left()) * sx;
    const double t = dest.top + (inside.top() - source.top()) * sy;
    const double r = l + inside.width() * sx, b = t + inside.height() * sy;
    const RECT d{toInt(std::min(l, r)), toInt(std::min(t, b)), toInt(std::max(l, r)), toInt(std::max(t, b))};
    if (d.IsEmpty())
        return;
    RECT visible = d;
    if (m_image) {
        const RECT v = visibleBounds();
        visible = RECT{std::max(d.left, v.left), std::max(d.top, v.top), std::min(d.right, v.right),
                       std::min(d.bottom, v.bottom)};
        if (visible.IsEmpty())
            return;
    }
    QImage src = image.copy(inside).convertToFormat(QImage::Format_RGB32);
    if (sx < 0 || sy < 0)
        src = src.mirrored(sx < 0, sy < 0);
    // Shrinking averages the pixels (halftone); enlarging repeats them.
    const int64_t dw = d.Width(), dh = d.Height();
    if (dw < src.width() || dh < src.height())
        src = src.scaled(int(std::min<int64_t>(dw, src.width())), int(std::min<int64_t>(dh, src.height())),
                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (m_painter) {
        flushFills();
        m_painter->save();
        ClipPainter(*m_painter);
        m_painter->setCompositionMode(compositionFor(rop));
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        m_painter->drawImage(ToQRect(d), src);
        m_painter->restore();
        return;
    }
    const bool pattern = usesPattern(rop) && !m_state.brush.IsNull();
    const int sw = src.width(), sh = src.height();
    forVisibleRects(visible, [&](const RECT& part) {
        for (int y = part.top; y < part.bottom; ++y) {
            const int syi = int(std::min<int64_t>(sh - 1, (int64_t(y) - d.top) * sh / dh));
            const auto* sline = reinterpret_cast<const uint32_t*>(src.constScanLine(syi));
            auto* line = reinterpret_cast<uint32_t*>(m_image->scanLine(y + m_org.y));
            for (int x = part.left; x < part.right; ++x) {
                const int sxi = int(std::min<int64_t>(sw - 1, (int64_t(x) - d.left) * sw / dw));
                uint32_t p = 0;
                if (pattern)
                    p = toRgb(brushColor(m_state.brush, x, y).value_or(m_state.bkColor));
                uint32_t& px = line[x + m_org.x];
                px = 0xFF000000u | applyRop3(rop, p, sline[sxi] & 0xFFFFFFu, px & 0xFFFFFFu);
            }
        }
    });
}

// --- rectangles and pixels ---------------------------------------------------------------

void CDC::FillSolidRect(const RECT& r, COLORREF color)
{
    const RECT n = r.Normalized();
    if (m_painter && m_fillBatchDepth > 0 && !m_state.clipRegion) {
        auto sameClip = [&](const std::optional<RECT>& a) {
            const std::optional<RECT>& b = m_state.clip;
            return a.has_value() == b.has_value() &&
                   (!a || (a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom));
        };
        if (m_pendingFill && (m_pendingFill->color != color || !sameClip(m_pendingFill->clip)))
            flushFills();
        if (!m_pendingFill)
            m_pendingFill = PendingFill{color, m_state.clip, {}};
        if (n.right > n.left && n.bottom > n.top)
            m_pendingFill->rects.push_back(n);
        return;
    }
    if (m_painter) {
        flushFills(); // what a batch holds lies below
        m_painter->save();
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        ClipPainter(*m_painter);
        m_painter->fillRect(ToQRect(n), qcolor(color));
        m_painter->restore();
        return;
    }
    const uint32_t px = 0xFF000000u | toRgb(color);
    forVisibleRects(intersect(n, visibleBounds()), [&](const RECT& b) {
        for (int y = b.top; y < b.bottom; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(m_image->scanLine(y + m_org.y));
            std::fill(line + (b.left + m_org.x), line + (b.right + m_org.x), px);
        }
    });
}

void CDC::InvertRect(const RECT& r)
{
    const RECT n = r.Normalized();
    if (m_painter) {
        flushFills();
        m_painter->save();
        m_painter->setCompositionMode(QPainter::RasterOp_NotDestination);
        ClipPainter(*m_painter);
        m_painter->fillRect(ToQRect(n), Qt::black);
        m_painter->restore();
        return;
    }
    forVisibleRects(intersect(n, visibleBounds()), [&](const RECT& b) {
        for (int y = b.top; y < b.bottom; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(m_image->scanLine(y + m_org.y));
            for (int x = b.left + m_org.x; x < b.right + m_org.x; ++x)
                line[x] = 0xFF000000u | (~line[x] & 0xFFFFFFu);
        }
    });
}

COLORREF CDC::GetPixel(int x, int y) const
{
    const int64_t ix = int64_t(x) + m_org.x, iy = int64_t(y) + m_org.y;
    if (!m_image || ix < 0 || iy < 0 || ix >= m_width || iy >= m_height)
        return 0xFFFFFFFFu;
    return fromRgb(m_image->pixel(int(ix), int(iy)));
}

void CDC::SetPixel(int x, int y, COLORREF color)
{
    if (m_state.clip) {
        const RECT& c = *m_state.clip;
        if (x < c.left || x >= c.right || y < c.top || y >= c.bottom)
            return;
        if (m_state.clipRegion && !m_state.clipRegion->contains(QPoint(x, y)))
            return;
    }
    const int64_t ix = int64_t(x) + m_org.x, iy = int64_t(y) + m_org.y;
    if (!m_image || ix < 0 || iy < 0 || ix >= m_width || iy >= m_height)
        return;
    m_image->setPixel(int(ix), int(iy), 0xFF000000u | toRgb(color));
}
