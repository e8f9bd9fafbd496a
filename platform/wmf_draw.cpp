// The metafile player's drawing records: lines, figures, text and bitmaps.
#include "platform/dib.h"
#include "platform/wmf_player.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace wmf::detail {

namespace {

constexpr int kMaxPenPixels = 1000;
constexpr int kMaxFontPixels = 2048;
constexpr size_t kMaxArcPoints = 2048;

int penStyleOf(int style)
{
    switch (style & PS_STYLE_MASK) {
    case PS_DASH:
    case PS_DOT:
    case PS_DASHDOT:
    case PS_DASHDOTDOT:
    case PS_NULL: return style & PS_STYLE_MASK;
    case 8: return PS_DOT; // PS_ALTERNATE: every other pixel
    default: return PS_SOLID; // solid, inside-frame, user styles
    }
}

// Whether a DIB's rows are stored from the top (a negative height in an
// information header), read from the header alone: a colour table of
// palette indices is no colour table a full check would accept.
bool storedTopDown(std::string_view dib)
{
    return dib.size() >= dib::kInfoHeaderSize && rd32(dib.data()) >= dib::kInfoHeaderSize &&
           int32_t(rd32(dib.data() + 8)) < 0;
}

} // namespace

void Player::applyShapeState()
{
    int width = 0;
    if (m_state.penWidth > 0)
        width = std::min(lengthX(m_state.penWidth), kMaxPenPixels);
    int cap = m_state.penStyle & PS_ENDCAP_MASK;
    int join = m_state.penStyle & PS_JOIN_MASK;
    if (cap != PS_ENDCAP_SQUARE && cap != PS_ENDCAP_FLAT)
        cap = PS_ENDCAP_ROUND;
    if (join != PS_JOIN_BEVEL && join != PS_JOIN_MITER)
        join = PS_JOIN_ROUND;
    m_dc.SelectPen(CPen{penStyleOf(m_state.penStyle), width, m_state.penColor, cap, join});
    m_dc.SelectBrush(m_state.brush);
    m_dc.SetROP2(m_state.rop);
    m_dc.SetBkMode(m_state.bkMode);
    m_dc.SetBkColor(m_state.bkColor);
    m_dc.SetTextColor(m_state.textColor);
    m_dc.SetPolyFillMode(m_state.polyFillMode);
}

void Player::applyTextState()
{
    LOGFONTA f = m_state.font;
    auto scaled = [](int32_t v, double s) {
        if (v == 0)
            return 0;
        long r = std::lround(std::fabs(double(v)) * std::fabs(s));
        r = std::clamp(r, 1L, long(kMaxFontPixels));
        return int32_t(v < 0 ? -r : r);
    };
    f.lfHeight = scaled(f.lfHeight, scaleY());
    f.lfWidth = scaled(f.lfWidth, scaleX());
    // A mirrored mapping turns the text's direction round.
    if (flipped())
        f.lfEscapement = -f.lfEscapement;
    m_dc.SelectFont(f);
    m_dc.SetTextColor(m_state.textColor);
    m_dc.SetBkColor(m_state.bkColor);
    m_dc.SetBkMode(m_state.bkMode);
    m_dc.SetTextAlign(m_state.textAlign & ~TA_UPDATECP);
    m_dc.SetTextCharacterExtra(m_state.charExtra ? int(std::lround(m_state.charExtra * std::fabs(scaleX()))) : 0);
    m_dc.SetROP2(R2_COPYPEN);
}

// The points of a POLYLINE or POLYGON record (a polygon's corners keep
// their places between pixels), the drawing state applied; false when
// there are fewer than two.
template <class Point>
bool Player::points(const Params& p, std::vector<Point>& out)
{
    out.clear();
    const int count = p.s(0);
    const size_t n = count > 0 ? std::min(size_t(count), (p.words() - 1) / 2) : 0;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if constexpr (std::is_same_v<Point, QPointF>)
            out.push_back(mapPointF(p.s(1 + 2 * i), p.s(2 + 2 * i)));
        else
            out.push_back(mapPoint(p.s(1 + 2 * i), p.s(2 + 2 * i)));
    }
    if (out.size() < 2)
        return false;
    applyShapeState();
    return true;
}

void Player::polyPolygon(const Params& p)
{
    // Number of polygons, the point count of each, then all the points.
    const int polygons = p.s(0);
    if (polygons <= 0 || size_t(polygons) + 1 > p.words())
        return;
    size_t available = (p.words() - 1 - size_t(polygons)) / 2;
    std::vector<int> counts;
    counts.reserve(size_t(polygons));
    size_t total = 0;
    for (int k = 0; k < polygons; ++k) {
        const size_t n = std::min<size_t>(std::max<int>(p.s(1 + size_t(k)), 0), available);
        counts.push_back(int(n));
        available -= n;
        total += n;
    }
    std::vector<QPointF> pts;
    pts.reserve(total);
    const size_t first = 1 + size_t(polygons);
    for (size_t i = 0; i < total; ++i)
        pts.push_back(mapPointF(p.s(first + 2 * i), p.s(first + 2 * i + 1)));
    applyShapeState();
    m_dc.PolyPolygon(pts.data(), counts.data(), polygons);
}

void Player::arcFigure(uint16_t fn, const Params& p)
{
    const RECT r = mapRect(p.s(7), p.s(6), p.s(5), p.s(4)).Normalized();
    POINT start = mapPoint(p.s(3), p.s(2));
    POINT end = mapPoint(p.s(1), p.s(0));
    // A mirrored mapping turns the arc's direction round.
    if (flipped())
        std::swap(start, end);
    applyShapeState();
    if (fn == META_ARC) {
        m_dc.Arc(r.left, r.top, r.right, r.bottom, start.x, start.y, end.x, end.y);
        return;
    }
    if (r.Width() < 1 || r.Height() < 1)
        return;
    // Pies and chords are drawn as polygons along the ellipse through the
    // box's pixel centres, counter-clockwise from start to end.
    const double cx = r.left + (double(r.Width()) - 1) / 2, cy = r.top + (double(r.Height()) - 1) / 2;
    const double rx = (double(r.Width()) - 1) / 2, ry = (double(r.Height()) - 1) / 2;
    const double a0 = std::atan2(-(start.y - cy), start.x - cx);
    double a1 = std::atan2(-(end.y - cy), end.x - cx);
    if (a1 <= a0)
        a1 += 2 * M_PI;
    const double span = a1 - a0;
    const size_t steps = std::clamp<size_t>(size_t(std::max(rx, ry) * span / 2), 8, kMaxArcPoints);
    std::vector<POINT> pts;
    pts.reserve(steps + 2);
    if (fn == META_PIE)
        pts.push_back(POINT{int(std::lround(cx)), int(std::lround(cy))});
    for (size_t i = 0; i <= steps; ++i) {
        const double a = a0 + span * double(i) / double(steps);
        pts.push_back(POINT{int(std::lround(cx + rx * std::cos(a))), int(std::lround(cy - ry * std::sin(a)))});
    }
    m_dc.Polygon(pts.data(), int(pts.size()));
}

void Player::text(int32_t x, int32_t y, unsigned options, const RECT* rect, std::string_view s, const Params* p,
                  size_t dxWord)
{
    applyTextState();
    const bool updateCp = (m_state.textAlign & TA_UPDATECP) != 0;
    if (updateCp) {
        x = m_state.pos.x;
        y = m_state.pos.y;
    }
    // The spacing array in logical units becomes device advances, rounded
    // along the line so that they add up.
    std::vector<int> dx;
    if (p && !s.empty() && p->has(dxWord + s.size())) {
        dx.reserve(s.size());
        const double sx = std::fabs(scaleX());
        double at = 0;
        int placed = 0;
        for (size_t i = 0; i < s.size(); ++i) {
            at += p->s(dxWord + i) * sx;
            const int next = int(std::lround(std::clamp(at, -1e7, 1e7)));
            dx.push_back(next - placed);
            placed = next;
        }
    }
    if (dx.empty() && m_state.breakExtra != 0 && !s.empty()) {
        // SETTEXTJUSTIFICATION: the extra space goes to the spaces, shared
        // out evenly among as many as it names.
        const int extra = int(std::lround(std::clamp(m_state.breakExtra * std::fabs(scaleX()), -1e6, 1e6)));
        const int count = m_state.breakCount;
        int space = 0;
        dx.reserve(s.size());
        for (const char ch : s) {
            int advance = m_dc.GetTextExtent(std::string_view(&ch, 1)).cx;
            if (ch == ' ' && space < count) {
                advance += int(int64_t(extra) * (space + 1) / count - int64_t(extra) * space / count);
                ++space;
            }
            dx.push_back(advance);
        }
    }
    const RECT r = rect ? rect->Normalized() : RECT{};
    m_dc.ExtTextOut(mapX(x), mapY(y), rect ? (options & (ETO_OPAQUE | ETO_CLIPPED)) : 0, rect ? &r : nullptr, s,
                    dx.empty() ? nullptr : dx.data());
    if (updateCp && scaleX() != 0) {
        int width = 0;
        if (!dx.empty()) {
            for (int d : dx)
                width += d;
        } else {
            width = m_dc.GetTextExtent(s).cx;
        }
        m_state.pos.x = int32_t(std::clamp<double>(x + width / scaleX(), INT16_MIN * 4.0, INT16_MAX * 4.0));
    }
}

bool Player::drawRecord(uint16_t fn, const Params& p)
{
    switch (fn) {
    case META_LINETO: {
        if (!p.has(2))
            return true;
        applyShapeState();
        m_dc.MoveTo(mapX(m_state.pos.x), mapY(m_state.pos.y));
        m_state.pos = POINT{p.s(1), p.s(0)};
        m_dc.LineTo(mapX(m_state.pos.x), mapY(m_state.pos.y));
        return true;
    }
    case META_POLYLINE: {
        std::vector<POINT> pts;
        if (points(p, pts))
            m_dc.Polyline(pts.data(), int(pts.size()));
        return true;
    }
    case META_POLYGON: {
        std::vector<QPointF> pts;
        if (points(p, pts))
            m_dc.Polygon(pts.data(), int(pts.size()));
        return true;
    }
    case META_POLYPOLYGON: polyPolygon(p); return true;
    case META_RECTANGLE:
    case META_ELLIPSE: {
        if (!p.has(4))
            return true;
        applyShapeState();
        const RECT r = mapRect(p.s(3), p.s(2), p.s(1), p.s(0)).Normalized();
        if (fn == META_RECTANGLE)
            m_dc.Rectangle(r.left, r.top, r.right, r.bottom);
        else
            m_dc.Ellipse(r.left, r.top, r.right, r.bottom);
        return true;
    }
    case META_ROUNDRECT: {
        if (!p.has(6))
            return true;
        applyShapeState();
        const RECT r = mapRect(p.s(5), p.s(4), p.s(3), p.s(2)).Normalized();
        m_dc.RoundRect(r.left, r.top, r.right, r.bottom, lengthX(p.s(1)), lengthY(p.s(0)));
        return true;
    }
    case META_ARC:
    case META_PIE:
    case META_CHORD:
        if (p.has(8))
            arcFigure(fn, p);
        return true;
    case META_FLOODFILL:
    case META_EXTFLOODFILL:
        // colour, (fill type,) y, x
        if (p.has(fn == META_FLOODFILL ? 4 : 5)) {
            applyShapeState();
            const size_t at = fn == META_FLOODFILL ? 2 : 3;
            const unsigned type = fn == META_FLOODFILL ? FLOODFILLBORDER : p.u(0);
            const size_t colourWord = fn == META_FLOODFILL ? 0 : 1;
            m_dc.ExtFloodFill(mapX(p.s(at + 1)), mapY(p.s(at)), colour(p.u32(colourWord)),
                              type == FLOODFILLSURFACE ? FLOODFILLSURFACE : FLOODFILLBORDER);
        }
        return true;
    case META_SETPIXEL:
        if (p.has(4))
            m_dc.SetPixel(mapX(p.s(3)), mapY(p.s(2)), colour(p.u32(0)));
        return true;
    case META_TEXTOUT: {
        // Count, the string padded to whole words, y, x.
        const int count = p.s(0);
        if (count <= 0)
            return true;
        const size_t padded = (size_t(count) + 1) & ~size_t(1);
        if (p.bytes() < 2 + padded + 4)
            return true;
        const std::string_view s = p.from(2).substr(0, size_t(count));
        const size_t w = (2 + padded) / 2;
        text(p.s(w + 1), p.s(w), 0, nullptr, s, nullptr, 0);
        return true;
    }
    case META_EXTTEXTOUT: {
        // y, x, count, options, the rectangle when opaque or clipped, the
        // string padded to whole words, then optionally one advance per
        // character.
        if (!p.has(4))
            return true;
        const int32_t y = p.s(0), x = p.s(1);
        const int count = p.s(2);
        const unsigned options = p.u(3);
        size_t at = 8;
        RECT rect;
        const bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
        if (hasRect) {
            if (!p.has(8))
                return true;
            rect = mapRect(p.s(4), p.s(5), p.s(6), p.s(7));
            at = 16;
        }
        if (count < 0)
            return true;
        const std::string_view s = p.from(at).substr(0, size_t(count));
        if (s.size() < size_t(count))
            return true;
        const size_t dxWord = (at + ((size_t(count) + 1) & ~size_t(1))) / 2;
        text(x, y, options, hasRect ? &rect : nullptr, s, &p, dxWord);
        return true;
    }
    default: return false;
    }
}

void Player::blit(uint32_t rop, int32_t xs, int32_t ys, int32_t ws, int32_t hs, int32_t xd, int32_t yd, int32_t wd,
                  int32_t hd, const QImage* image, bool bottomUp)
{
    const RECT dest = mapRect(xd, yd, xd + wd, yd + hd);
    applyShapeState();
    if (!image) {
        m_dc.PatBlt(dest.Normalized(), rop);
        return;
    }
    if (image->isNull())
        return;
    // Source y of a bottom-up bitmap counts from its bottom row.
    const int top = bottomUp ? image->height() - ys - hs : ys;
    m_dc.StretchBlt(dest, *image, QRect(xs, top, ws, hs), rop);
}

void Player::dibBlit(uint32_t rop, std::string_view dib, uint16_t usage, int32_t xs, int32_t ys, int32_t ws,
                     int32_t hs, int32_t xd, int32_t yd, int32_t wd, int32_t hd, bool bottomUp)
{
    const RECT dest = mapRect(xd, yd, xd + wd, yd + hd);
    applyShapeState();
    // An empty source or destination draws nothing, nor does a source
    // beside the bitmap (as CDC::StretchBlt does).
    if (ws <= 0 || hs <= 0 || dest.right == dest.left || dest.bottom == dest.top)
        return;
    const dib::DibSize full = dib::HeaderSize(dib);
    constexpr int64_t kFar = int64_t(1) << 30;
    const int64_t top = std::clamp<int64_t>(bottomUp ? int64_t(full.height) - ys - hs : ys, -kFar, kFar);
    const QRect source(xs, int(top), ws, hs);
    const QRect inside = source & QRect(0, 0, full.width, full.height);
    if (inside.isEmpty())
        return;
    // Bitmaps up to a megapixel are decoded whole, as they are stored.
    constexpr int64_t kDecodedWhole = int64_t(1) << 20;
    if (int64_t(full.width) * full.height <= kDecodedWhole) {
        const QImage image = dibImage(dib, usage);
        if (!image.isNull())
            m_dc.StretchBlt(dest, image, source, rop);
        return;
    }
    // Device pixels per source pixel, negative where the blit mirrors.
    const double sx = double(int64_t(dest.right) - dest.left) / ws;
    const double sy = double(int64_t(dest.bottom) - dest.top) / hs;
    double x0 = inside.left(), x1 = x0 + inside.width(), y0 = inside.top(), y1 = y0 + inside.height();
    if (const std::optional<RECT> shown = m_dc.GetVisibleRect()) {
        // The source pixels that land on what the device shows, and one
        // more on each side so that rounding leaves no gap at its edges.
        const auto cut = [](double& s0, double& s1, double from, double origin, double scale, double lo, double hi) {
            const double a = origin + (s0 - from) * scale, b = origin + (s1 - from) * scale;
            const double v0 = std::max(std::min(a, b), lo), v1 = std::min(std::max(a, b), hi);
            if (v0 >= v1)
                return false;
            const double u0 = from + (v0 - origin) / scale, u1 = from + (v1 - origin) / scale;
            s0 = std::max(s0, std::floor(std::min(u0, u1)) - 1);
            s1 = std::min(s1, std::ceil(std::max(u0, u1)) + 1);
            return true;
        };
        if (!cut(x0, x1, xs, dest.left, sx, shown->left, shown->right) ||
            !cut(y0, y1, double(top), dest.top, sy, shown->top, shown->bottom))
            return;
    }
    const QRect part(int(x0), int(y0), int(x1 - x0), int(y1 - y0));
    const auto covered = [](int pixels, double scale) {
        return int(std::clamp(std::ceil(pixels * std::abs(scale)), 1.0, double(pixels)));
    };
    const QImage image = dibImage(dib, usage, part, QSize(covered(part.width(), sx), covered(part.height(), sy)));
    if (image.isNull())
        return;
    // The part's place on the device, reversed where the blit mirrors.
    const auto at = [](double origin, double s, double from, double scale) {
        return int(std::lround(std::clamp(origin + (s - from) * scale, -1.0e9, 1.0e9)));
    };
    const RECT partDest{at(dest.left, x0, xs, sx), at(dest.top, y0, double(top), sy), at(dest.left, x1, xs, sx),
                        at(dest.top, y1, double(top), sy)};
    m_dc.StretchBlt(partDest, image, image.rect(), rop);
}

bool Player::bitmapRecord(uint16_t fn, const Params& p)
{
    switch (fn) {
    case META_PATBLT:
        // rop, height, width, y, x
        if (p.has(6))
            blit(p.u32(0), 0, 0, 0, 0, p.s(5), p.s(4), p.s(3), p.s(2), nullptr, false);
        return true;
    case META_DIBBITBLT:
    case META_BITBLT: {
        // rop, source y, x, height, width, destination y, x, bitmap; without
        // a bitmap a reserved word stands where the source would be.
        if (p.bytes() == 18) {
            blit(p.u32(0), 0, 0, 0, 0, p.s(8), p.s(7), p.s(6), p.s(5), nullptr, false);
            return true;
        }
        if (!p.has(8))
            return true;
        if (fn == META_BITBLT) {
            const QImage image = bitmap16(p.from(16));
            blit(p.u32(0), p.s(3), p.s(2), p.s(5), p.s(4), p.s(7), p.s(6), p.s(5), p.s(4), &image, false);
            return true;
        }
        dibBlit(p.u32(0), p.from(16), DIB_RGB_COLORS, p.s(3), p.s(2), p.s(5), p.s(4), p.s(7), p.s(6), p.s(5),
                p.s(4), false);
        return true;
    }
    case META_DIBSTRETCHBLT:
    case META_STRETCHBLT: {
        // rop, source height, width, y, x, destination height, width, y, x,
        // bitmap; without a bitmap a reserved word follows the source.
        if (p.bytes() == 22) {
            blit(p.u32(0), 0, 0, 0, 0, p.s(10), p.s(9), p.s(8), p.s(7), nullptr, false);
            return true;
        }
        if (!p.has(10))
            return true;
        if (fn == META_STRETCHBLT) {
            const QImage image = bitmap16(p.from(20));
            blit(p.u32(0), p.s(5), p.s(4), p.s(3), p.s(2), p.s(9), p.s(8), p.s(7), p.s(6), &image, false);
            return true;
        }
        dibBlit(p.u32(0), p.from(20), DIB_RGB_COLORS, p.s(5), p.s(4), p.s(3), p.s(2), p.s(9), p.s(8), p.s(7),
                p.s(6), false);
        return true;
    }
    case META_STRETCHDIB: {
        // rop, colour use, source height, width, y, x, destination height,
        // width, y, x, the bitmap.
        if (!p.has(11))
            return true;
        const std::string_view bits = p.from(22);
        dibBlit(p.u32(0), bits, p.u(2), p.s(6), p.s(5), p.s(4), p.s(3), p.s(10), p.s(9), p.s(8), p.s(7),
                !storedTopDown(bits));
        return true;
    }
    case META_SETDIBTODEV: {
        // colour use, scan count, first scan, source y, x, height, width,
        // destination y, x, the bitmap; drawn at the size of its logical
        // extent.
        if (!p.has(9))
            return true;
        const std::string_view bits = p.from(18);
        dibBlit(SRCCOPY, bits, p.u(0), p.s(4), p.s(3), p.s(6), p.s(5), p.s(8), p.s(7), p.s(6), p.s(5),
                !storedTopDown(bits));
        return true;
    }
    default: return false;
    }
}

} // namespace wmf::detail
