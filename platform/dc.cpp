#include "platform/dc.h"

#include "platform/dc_internal.h"
#include "platform/qtrect.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <tuple>
#include <cmath>
#include <cstdlib>

using dcpixel::fromRgb;
using dcpixel::intersect;
using dcpixel::qcolor;
using dcpixel::toRgb;

namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;

// Dash patterns of the cosmetic pen styles, in pixels: on, off, on, off...
const std::vector<int>& stylePattern(int style)
{
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> solid{};
    switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    default: return solid;
    }
}


// The binary raster operation `rop` (1..16) of pen P and destination D:
// bit (2*p + d) of (rop - 1) is the result for pen bit p, destination bit d.
uint32_t applyRop(int rop, uint32_t p, uint32_t d)
{
    const unsigned t = unsigned(rop - 1) & 15u;
    uint32_t r = 0;
    if (t & 8) r |= p & d;
    if (t & 4) r |= p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 1) r |= ~p & ~d;
    return r & 0xFFFFFFu;
}

// The rectangle grown by `pad` on every side (and by one more on the right
// and bottom), kept within 32 bits.
RECT padded(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t pad)
{
    auto c = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return RECT{c(left - pad), c(top - pad), c(right + pad + 1), c(bottom + pad + 1)};
}


QPainter::CompositionMode compositionFor(int rop)
{
    switch (rop) {
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_BLACK: return QPainter::RasterOp_ClearDestination;
    case R2_WHITE: return QPainter::RasterOp_SetDestination;
    case R2_NOP: return QPainter::CompositionMode_Destination;
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

// Pixels inside an ellipse inscribed in [l, r) x [t, b): pixel centres within
// the ellipse through the box's outer edges.
bool insideEllipse(double px, double py, double cx, double cy, double rx, double ry)
{
    if (rx <= 0 || ry <= 0)
        return false;
    const double dx = (px - cx) / rx;
    const double dy = (py - cy) / ry;
    return dx * dx + dy * dy <= 1.0 + 1e-9;
}

} // namespace

class CDC::Coverage {
public:
    explicit Coverage(const RECT& bounds)
        : m_b(bounds), m_px(size_t(std::max<int64_t>(0, bounds.Width())) * size_t(std::max<int64_t>(0, bounds.Height())), kNone)
    {
    }
    const RECT& bounds() const { return m_b; }
    bool contains(int x, int y) const
    {
        return x >= m_b.left && x < m_b.right && y >= m_b.top && y < m_b.bottom;
    }
    // Copying straight into the image: for R2_COPYPEN without a clip
    // region, where collecting first changes nothing.
    Coverage(const RECT& bounds, QImage& image, POINT org)
        : m_b(bounds), m_direct(image.bits()), m_bpl(size_t(image.bytesPerLine())), m_org(org)
    {
    }
    void set(int x, int y, COLORREF c)
    {
        if (!contains(x, y))
            return;
        if (m_direct)
            reinterpret_cast<uint32_t*>(m_direct + size_t(y + m_org.y) * m_bpl)[x + m_org.x] = 0xFF000000u | toRgb(c);
        else
            m_px[size_t(y - m_b.top) * size_t(m_b.Width()) + size_t(x - m_b.left)] = c;
    }
    uint32_t at(int x, int y) const
    {
        return m_px[size_t(y - m_b.top) * size_t(m_b.Width()) + size_t(x - m_b.left)];
    }
    bool empty() const { return m_b.IsEmpty(); }
    bool direct() const { return m_direct != nullptr; }

private:
    RECT m_b;
    std::vector<uint32_t> m_px;
    uchar* m_direct = nullptr;
    size_t m_bpl = 0;
    POINT m_org;
};

CDC::CDC(QImage* image, int logPixelsX, int logPixelsY)
    : m_image(image), m_logPixelsX(logPixelsX), m_logPixelsY(logPixelsY),
      m_width(image ? image->width() : 0), m_height(image ? image->height() : 0)
{
    if (m_image && m_image->format() != QImage::Format_RGB32)
        *m_image = m_image->convertToFormat(QImage::Format_RGB32);
}

CDC::CDC(QPainter* painter, int logPixelsX, int logPixelsY, int deviceWidth, int deviceHeight)
    : m_painter(painter), m_logPixelsX(logPixelsX), m_logPixelsY(logPixelsY),
      m_width(deviceWidth), m_height(deviceHeight)
{
}

CDC::~CDC()
{
    if (m_painter && m_painter->isActive())
        flushFills();
}

void CDC::EndFillBatch()
{
    if (m_fillBatchDepth > 0 && --m_fillBatchDepth == 0)
        flushFills();
}

void CDC::flushFills()
{
    if (!m_pendingFill)
        return;
    PendingFill fill = std::move(*m_pendingFill);
    m_pendingFill.reset();
    // Rectangles of the same columns that touch one above the other (the
    // rows of a QR code's modules) become one.
    std::vector<RECT>& rects = fill.rects;
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) {
        return std::tie(a.left, a.right, a.top) < std::tie(b.left, b.right, b.top);
    });
    QVector<QRect> merged;
    merged.reserve(qsizetype(rects.size()));
    for (size_t i = 0; i < rects.size();) {
        RECT r = rects[i++];
        while (i < rects.size() && rects[i].left == r.left && rects[i].right == r.right && rects[i].top <= r.bottom) {
            r.bottom = std::max(r.bottom, rects[i].bottom);
            ++i;
        }
        merged.push_back(ToQRect(r));
    }
    m_painter->save();
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    if (fill.clip)
        m_painter->setClipRect(ToQRect(*fill.clip), Qt::IntersectClip);
    m_painter->setPen(Qt::NoPen);
    m_painter->setBrush(qcolor(fill.color));
    // One path of rectangles, filled once.
    m_painter->drawRects(merged.constData(), int(merged.size()));
    m_painter->restore();
}

int CDC::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX: return m_logPixelsX;
    case LOGPIXELSY: return m_logPixelsY;
    case HORZRES: return m_width;
    case VERTRES: return m_height;
    default: return 0;
    }
}

CPen CDC::SelectPen(const CPen& pen)
{
    CPen old = m_state.pen;
    m_state.pen = pen;
    return old;
}

CBrush CDC::SelectBrush(const CBrush& brush)
{
    CBrush old = m_state.brush;
    m_state.brush = brush;
    return old;
}

int CDC::SetROP2(int rop)
{
    const int old = m_state.rop;
    if (rop >= R2_BLACK && rop <= R2_WHITE)
        m_state.rop = rop;
    return old;
}

int CDC::SetBkMode(int mode)
{
    const int old = m_state.bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_state.bkMode = mode;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF c)
{
    const COLORREF old = m_state.bkColor;
    m_state.bkColor = c;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF c)
{
    const COLORREF old = m_state.textColor;
    m_state.textColor = c;
    return old;
}

int CDC::SetPolyFillMode(int mode)
{
    const int old = m_state.polyFillMode;
    if (mode == ALTERNATE || mode == WINDING)
        m_state.polyFillMode = mode;
    return old;
}

void CDC::IntersectClipRect(const RECT& r)
{
    const RECT n = r.Normalized();
    if (m_state.clipRegion) {
        setClipRegion(m_state.clipRegion->intersected(ToQRect(n)));
        return;
    }
    m_state.clip = m_state.clip ? intersect(*m_state.clip, n) : n;
}

void CDC::SelectClipRect(const RECT* r)
{
    m_state.clipRegion.reset();
    if (r)
        m_state.clip = r->Normalized();
    else
        m_state.clip.reset();
}

int CDC::SaveDC()
{
    m_saved.push_back(m_state);
    return int(m_saved.size());
}

bool CDC::RestoreDC(int level)
{
    if (m_saved.empty())
        return false;
    if (level == -1)
        level = int(m_saved.size());
    if (level < 1 || level > int(m_saved.size()))
        return false;
    m_state = m_saved[size_t(level - 1)];
    m_saved.resize(size_t(level - 1));
    return true;
}

POINT CDC::SetViewportOrg(int x, int y)
{
    const POINT old = m_org;
    // Kept within +-2^30 so that the visible bounds stay inside 32 bits.
    constexpr int kLimit = 1 << 30;
    if (m_image)
        m_org = POINT{std::clamp(x, -kLimit, kLimit), std::clamp(y, -kLimit, kLimit)};
    return old;
}

RECT CDC::visibleBounds() const
{
    RECT b{-m_org.x, -m_org.y, m_width - m_org.x, m_height - m_org.y};
    if (m_state.clip)
        b = intersect(b, *m_state.clip);
    return b;
}

void CDC::applyCoverage(const Coverage& cov)
{
    if (!m_image || cov.empty() || cov.direct())
        return;
    const bool copy = m_state.rop == R2_COPYPEN;
    forVisibleRects(cov.bounds(), [&](const RECT& b) {
        for (int y = b.top; y < b.bottom; ++y) {
            auto* line = reinterpret_cast<uint32_t*>(m_image->scanLine(y + m_org.y));
            for (int x = b.left; x < b.right; ++x) {
                const uint32_t c = cov.at(x, y);
                if (c == kNone)
                    continue;
                uint32_t& px = line[x + m_org.x];
                px = copy ? 0xFF000000u | toRgb(c) : 0xFF000000u | applyRop(m_state.rop, toRgb(c), px & 0xFFFFFFu);
            }
        }
    });
}

// One cosmetic segment; the pen's dash pattern continues from the last one.
// Pixels follow the midpoint rule along the major axis; only the steps whose
// major coordinate falls inside the coverage box are walked, so a segment
// with far-away end points costs no more than the visible part.
void CDC::cosmeticSegment(Coverage& cov, int x1, int y1, int x2, int y2, bool includeEnd)
{
    const auto& pattern = stylePattern(m_state.pen.style);
    int period = 0;
    for (int v : pattern)
        period += v;
    const int64_t dx = std::llabs(int64_t(x2) - x1), dy = std::llabs(int64_t(y2) - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const int64_t n = xMajor ? dx : dy;
    const int64_t last = includeEnd ? n : n - 1;
    const int startCounter = m_state.styleCounter;
    if (period)
        m_state.styleCounter = int((startCounter + (last + 1)) % period);
    if (last < 0)
        return;
    const RECT& b = cov.bounds();
    const int64_t major0 = xMajor ? x1 : y1, minor0 = xMajor ? y1 : x1;
    const int smaj = xMajor ? sx : sy, smin = xMajor ? sy : sx;
    const int64_t dminor = xMajor ? dy : dx;
    const int64_t lo = xMajor ? b.left : b.top, hi = (xMajor ? b.right : b.bottom) - 1;
    int64_t iMin = smaj > 0 ? lo - major0 : major0 - hi;
    int64_t iMax = smaj > 0 ? hi - major0 : major0 - lo;
    iMin = std::max<int64_t>(iMin, 0);
    iMax = std::min<int64_t>(iMax, last);
    for (int64_t i = iMin; i <= iMax; ++i) {
        const int64_t major = major0 + smaj * i;
        int64_t off = 0;
        if (n && n < (int64_t(1) << 30))
            off = (2 * i * dminor + n) / (2 * n); // fits in 64 bits: i, dminor <= n
        else if (n)
            off = int64_t((__int128(2) * i * dminor + n) / (__int128(2) * n));
        const int64_t minor = minor0 + smin * off;
        bool on = true;
        if (period) {
            int pos = int((startCounter + i) % period);
            on = false;
            for (size_t k = 0; k < pattern.size(); ++k) {
                if (pos < pattern[k]) {
                    on = (k % 2) == 0;
                    break;
                }
                pos -= pattern[k];
            }
        }
        const int64_t x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (y < b.top || y >= b.bottom)
            continue;
        if (on)
            cov.set(int(x), int(y), m_state.pen.color);
        else if (m_state.bkMode == OPAQUE)
            cov.set(int(x), int(y), m_state.bkColor);
    }
}

// Outline pixels given with their angle: the pen's dash pattern runs along
// them in angular order.
void CDC::styledRing(Coverage& cov, std::vector<std::pair<double, POINT>>& ring)
{
    std::sort(ring.begin(), ring.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    m_state.styleCounter = 0;
    for (const auto& e : ring)
        cosmeticSegment(cov, e.second.x, e.second.y, e.second.x, e.second.y, true);
}

void CDC::fillEdges(Coverage& cov, std::vector<dcinternal::Edge>& edges, bool winding, const CBrush& brush)
{
    if (brush.IsSolid())
        dcinternal::scanEdges(edges, winding, cov.bounds(), [&](int x, int y) { cov.set(x, y, brush.color); });
    else
        dcinternal::scanEdges(edges, winding, cov.bounds(), [&](int x, int y) {
            if (const auto c = brushColor(brush, x, y))
                cov.set(x, y, *c);
        });
}

void CDC::rasterFill(Coverage& cov, const QPainterPath& path, const CBrush& brush)
{
    const RECT& b = cov.bounds();
    if (cov.empty())
        return;
    std::vector<dcinternal::Edge> edges;
    if (dcinternal::edgesOf(path, edges)) {
        fillEdges(cov, edges, path.fillRule() == Qt::WindingFill, brush);
        return;
    }
    QImage mask(b.Width(), b.Height(), QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.translate(-b.left, -b.top);
        p.drawPath(path);
    }
    const bool solid = brush.IsSolid();
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* line = mask.constScanLine(y);
        for (int x = 0; x < mask.width(); ++x) {
            if (!line[x])
                continue;
            if (solid) {
                cov.set(b.left + x, b.top + y, brush.color);
            } else if (const auto c = brushColor(brush, b.left + x, b.top + y)) {
                cov.set(b.left + x, b.top + y, *c);
            }
        }
    }
}

namespace {

Qt::PenCapStyle capStyle(int cap)
{
    switch (cap) {
    case PS_ENDCAP_SQUARE: return Qt::SquareCap;
    case PS_ENDCAP_FLAT: return Qt::FlatCap;
    default: return Qt::RoundCap;
    }
}

Qt::PenJoinStyle joinStyle(int join)
{
    switch (join) {
    case PS_JOIN_BEVEL: return Qt::BevelJoin;
    case PS_JOIN_MITER: return Qt::MiterJoin;
    default: return Qt::RoundJoin;
    }
}

} // namespace

void CDC::rasterStroke(Coverage& cov, const QPainterPath& path)
{
    QPainterPathStroker stroker;
    stroker.setWidth(m_state.pen.width);
    stroker.setCapStyle(capStyle(m_state.pen.endCap));
    stroker.setJoinStyle(joinStyle(m_state.pen.join));
    // GDI's mitre limit: a mitre longer than ten pen widths is bevelled.
    stroker.setMiterLimit(10);
    QPainterPath outline = stroker.createStroke(path);
    outline.setFillRule(Qt::WindingFill);
    // Pixel centres on the outline's edge go to the top and left, as in GDI.
    outline.translate(-1.0 / 64, -1.0 / 64);
    rasterFill(cov, outline, CBrush::Solid(m_state.pen.color));
}

void CDC::preparePainter()
{
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setCompositionMode(compositionFor(m_state.rop));
    ClipPainter(*m_painter);
}

void CDC::ClipPainter(QPainter& p) const
{
    if (m_state.clipRegion)
        p.setClipRegion(*m_state.clipRegion, Qt::IntersectClip);
    else if (m_state.clip)
        p.setClipRect(ToQRect(*m_state.clip), Qt::IntersectClip);
}

void CDC::painterFigure(const QPainterPath* fillPath, const QPainterPath* strokePath)
{
    flushFills();
    m_painter->save();
    preparePainter();
    if (fillPath && !m_state.brush.IsNull()) {
        if (m_state.brush.style == BS_HATCHED && m_state.bkMode == OPAQUE)
            m_painter->fillPath(*fillPath, qcolor(m_state.bkColor));
        m_painter->fillPath(*fillPath, painterBrush(m_state.brush));
    }
    if (strokePath && !m_state.pen.IsNull()) {
        QPen pen(qcolor(m_state.pen.color));
        if (m_state.pen.IsCosmetic()) {
            pen.setWidth(0);
            pen.setCosmetic(true);
            switch (m_state.pen.style) {
            case PS_DASH: pen.setStyle(Qt::DashLine); break;
            case PS_DOT: pen.setStyle(Qt::DotLine); break;
            case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
            case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
            default: break;
            }
        } else {
            pen.setWidth(m_state.pen.width);
            pen.setCapStyle(capStyle(m_state.pen.endCap));
            pen.setJoinStyle(joinStyle(m_state.pen.join));
            pen.setMiterLimit(10);
        }
        if (!m_state.pen.IsCosmetic())
            m_painter->translate(-1.0 / 64, -1.0 / 64); // edge ties to the top left, as on bitmaps
        m_painter->strokePath(*strokePath, pen);
    }
    m_painter->restore();
}

POINT CDC::MoveTo(int x, int y)
{
    const POINT old = m_state.pos;
    m_state.pos = POINT{x, y};
    m_state.styleCounter = 0;
    return old;
}

bool CDC::LineTo(int x, int y)
{
    const POINT from = m_state.pos;
    m_state.pos = POINT{x, y};
    if (m_state.pen.IsNull())
        return true;
    if (m_painter) {
        QPainterPath path(QPointF(from.x + 0.5, from.y + 0.5));
        path.lineTo(x + 0.5, y + 0.5);
        painterFigure(nullptr, &path);
        return true;
    }
    const int pad = std::max(1, m_state.pen.width);
    const RECT box = padded(std::min(from.x, x), std::min(from.y, y), std::max(from.x, x), std::max(from.y, y), pad);
    Coverage cov(intersect(box, visibleBounds()));
    if (cov.empty())
        return true;
    if (m_state.pen.IsCosmetic()) {
        cosmeticSegment(cov, from.x, from.y, x, y, false);
    } else {
        QPainterPath path(QPointF(from.x + 0.5, from.y + 0.5));
        path.lineTo(x + 0.5, y + 0.5);
        rasterStroke(cov, path);
    }
    applyCoverage(cov);
    return true;
}

bool CDC::figure(const QPainterPath& fillPath, const QPainterPath& strokePath,
                 const std::vector<std::vector<POINT>>* cosmeticOutline, bool closedOutline)
{
    if (m_painter) {
        painterFigure(&fillPath, &strokePath);
        return true;
    }
    const int pad = std::max(1, m_state.pen.width);
    QRectF br = fillPath.boundingRect().united(strokePath.boundingRect());
    auto toInt = [](double v) { return int(std::clamp(v, -2.0e9, 2.0e9)); };
    RECT box{toInt(std::floor(br.left()) - pad), toInt(std::floor(br.top()) - pad),
             toInt(std::ceil(br.right()) + pad + 1), toInt(std::ceil(br.bottom()) + pad + 1)};
    Coverage cov(intersect(box, visibleBounds()));
    if (cov.empty())
        return true;
    if (!m_state.brush.IsNull())
        rasterFill(cov, fillPath, m_state.brush);
    if (!m_state.pen.IsNull()) {
        if (m_state.pen.IsCosmetic() && cosmeticOutline && !cosmeticOutline->empty()) {
            m_state.styleCounter = 0;
            for (const auto& pts : *cosmeticOutline) {
                for (size_t i = 0; i + 1 < pts.size(); ++i)
                    cosmeticSegment(cov, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, false);
                if (closedOutline && pts.size() > 1)
                    cosmeticSegment(cov, pts.back().x, pts.back().y, pts.front().x, pts.front().y, false);
                else if (!closedOutline && pts.size() == 1)
                    cosmeticSegment(cov, pts[0].x, pts[0].y, pts[0].x, pts[0].y, true);
            }
        } else if (!m_state.pen.IsCosmetic()) {
            rasterStroke(cov, strokePath);
        }
    }
    applyCoverage(cov);
    return true;
}

bool CDC::Polyline(const POINT* pts, int count)
{
    if (!pts || count < 2)
        return false;
    if (m_state.pen.IsNull())
        return true;
    QPainterPath path(QPointF(pts[0].x + 0.5, pts[0].y + 0.5));
    for (int i = 1; i < count; ++i)
        path.lineTo(pts[i].x + 0.5, pts[i].y + 0.5);
    const std::vector<std::vector<POINT>> outline{std::vector<POINT>(pts, pts + count)};
    const CBrush brush = m_state.brush;
    m_state.brush = CBrush::Hollow();
    figure(QPainterPath(), path, &outline, false);
    m_state.brush = brush;
    return true;
}

bool CDC::Polygon(const POINT* pts, int count)
{
    if (!pts || count < 2)
        return false;
    const int counts[1] = {count};
    return PolyPolygon(pts, counts, 1);
}

bool CDC::Polygon(const QPointF* pts, int count)
{
    if (!pts || count < 2)
        return false;
    const int counts[1] = {count};
    return PolyPolygon(pts, counts, 1);
}

bool CDC::PolyPolygon(const POINT* pts, const int* counts, int polygons)
{
    return polyPolygon(pts, nullptr, counts, polygons);
}

bool CDC::PolyPolygon(const QPointF* pts, const int* counts, int polygons)
{
    if (!pts || !counts || polygons < 1)
        return false;
    size_t total = 0;
    for (int k = 0; k < polygons; ++k) {
        if (counts[k] < 0)
            return false;
        total += size_t(counts[k]);
    }
    // Sixteenths of a pixel, as GDI keeps device coordinates (28.4 fixed
    // point), and the nearest pixel, each rounded from the place itself (a
    // place rounded to sixteenths first would round a second time: 261.47
    // to 261.5 and then to 262), within 2^30 of the origin; halves round
    // away from zero.
    auto rounded = [](double v, double scale) {
        v = v == v ? std::clamp(v, -1.0e9, 1.0e9) * scale : 0.0;
        return v < 0 ? -int64_t(0.5 - v) : int64_t(v + 0.5);
    };
    std::vector<QPointF> exact(total);
    std::vector<POINT> nearest(total);
    for (size_t i = 0; i < total; ++i) {
        const double x = pts[i].x(), y = pts[i].y();
        exact[i] = QPointF(double(rounded(x, 16)) / 16, double(rounded(y, 16)) / 16);
        nearest[i] = POINT{int32_t(rounded(x, 1)), int32_t(rounded(y, 1))};
    }
    return polyPolygon(nearest.data(), exact.data(), counts, polygons);
}

bool CDC::polyPolygon(const POINT* pts, const QPointF* exact, const int* counts, int polygons)
{
    if (!pts || !counts || polygons < 1)
        return false;
    // The outline runs through the pixels' centres; the inside is sampled
    // at pixel centres from the corners, so that, as in GDI, a polygon
    // without a pen covers its top and left edges but not its bottom and
    // right ones.
    if (m_image && m_state.pen.IsCosmetic())
        return cosmeticPolygons(pts, exact, counts, polygons);
    QPainterPath path, fill;
    const Qt::FillRule rule = m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
    path.setFillRule(rule);
    fill.setFillRule(rule);
    std::vector<std::vector<POINT>> outline;
    const POINT* p = pts;
    for (int k = 0; k < polygons; ++k) {
        const int n = counts[k];
        if (n < 0)
            return false;
        if (n >= 2) {
            const size_t at = size_t(p - pts);
            auto corner = [&](int i) { return exact ? exact[at + size_t(i)] : QPointF(p[i].x, p[i].y); };
            path.moveTo(p[0].x + 0.5, p[0].y + 0.5);
            fill.moveTo(corner(0));
            for (int i = 1; i < n; ++i) {
                path.lineTo(p[i].x + 0.5, p[i].y + 0.5);
                fill.lineTo(corner(i));
            }
            path.closeSubpath();
            fill.closeSubpath();
            outline.emplace_back(p, p + n);
        }
        p += n;
    }
    if (outline.empty())
        return true;
    return figure(fill, path, &outline, true);
}

// Polygons with a one-pixel (or no) outline on a bitmap: filled straight
// from their points, without paths.
bool CDC::cosmeticPolygons(const POINT* pts, const QPointF* exact, const int* counts, int polygons)
{
    std::vector<dcinternal::Edge> edges;
    std::vector<std::vector<POINT>> outline;
    int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN;
    const POINT* p = pts;
    for (int k = 0; k < polygons; ++k) {
        const int n = counts[k];
        if (n < 0)
            return false;
        if (n >= 2) {
            // Repeated points (many, when a detailed figure is drawn small)
            // add no edge and no pixel.
            std::vector<POINT> ring;
            ring.reserve(size_t(n));
            for (int i = 0; i < n; ++i)
                if (ring.empty() || p[i].x != ring.back().x || p[i].y != ring.back().y)
                    ring.push_back(p[i]);
            if (ring.size() > 1 && ring.back().x == ring.front().x && ring.back().y == ring.front().y)
                ring.pop_back();
            for (size_t i = 0; i < ring.size(); ++i) {
                const POINT& a = ring[i];
                l = std::min<int64_t>(l, a.x);
                t = std::min<int64_t>(t, a.y);
                r = std::max<int64_t>(r, a.x);
                b = std::max<int64_t>(b, a.y);
                if (!exact) {
                    const POINT& c = ring[i + 1 < ring.size() ? i + 1 : 0];
                    dcinternal::addEdge(edges, a.x, a.y, c.x, c.y);
                }
            }
            // The inside of exact corners (each within half a pixel of its
            // nearest pixel, so inside the bounds).
            const QPointF* e = exact ? exact + (p - pts) : nullptr;
            for (int i = 0; e && i < n; ++i) {
                const QPointF& a = e[i];
                const QPointF& c = e[i + 1 < n ? i + 1 : 0];
                dcinternal::addEdge(edges, a.x(), a.y(), c.x(), c.y());
            }
            outline.push_back(std::move(ring));
        }
        p += n;
    }
    if (outline.empty())
        return true;
    const RECT bounds = intersect(padded(l, t, r, b, 1), visibleBounds());
    if (bounds.IsEmpty())
        return true;
    Coverage cov = m_state.rop == R2_COPYPEN && !m_state.clipRegion ? Coverage(bounds, *m_image, m_org) : Coverage(bounds);
    if (!m_state.brush.IsNull())
        fillEdges(cov, edges, m_state.polyFillMode == WINDING, m_state.brush);
    if (!m_state.pen.IsNull()) {
        m_state.styleCounter = 0;
        for (const auto& ring : outline) {
            for (size_t i = 0; i + 1 < ring.size(); ++i)
                cosmeticSegment(cov, ring[i].x, ring[i].y, ring[i + 1].x, ring[i + 1].y, false);
            cosmeticSegment(cov, ring.back().x, ring.back().y, ring.front().x, ring.front().y, false);
        }
    }
    applyCoverage(cov);
    return true;
}

bool CDC::Rectangle(int left, int top, int right, int bottom)
{
    const RECT r = RECT{left, top, right, bottom}.Normalized();
    if (r.Width() < 1 || r.Height() < 1)
        return true;
    QPainterPath fill;
    if (m_state.pen.IsNull())
        fill.addRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
    else if (m_state.pen.IsCosmetic())
        fill.addRect(r.left + 1, r.top + 1, r.Width() - 2, r.Height() - 2);
    else
        fill.addRect(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
    QPainterPath stroke;
    stroke.addRect(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
    const std::vector<std::vector<POINT>> outline{{{r.left, r.top}, {r.left, r.bottom - 1},
                                                   {r.right - 1, r.bottom - 1}, {r.right - 1, r.top}}};
    if (m_painter)
        return figure(fill, stroke, nullptr, true);
    return figure(fill, stroke, &outline, true);
}

namespace {

// Pixels of a rounded box [l, r) x [t, b) whose corners are quarter
// ellipses of cw x ch (cw >= r - l and ch >= b - t make an ellipse).
struct RoundShape {
    RECT r;
    double cw, ch;
    bool inside(int x, int y) const
    {
        if (x < r.left || x >= r.right || y < r.top || y >= r.bottom)
            return false;
        const double px = x + 0.5, py = y + 0.5;
        const double rx = cw / 2, ry = ch / 2;
        if (rx <= 0 || ry <= 0)
            return true;
        const double cxl = r.left + rx, cxr = r.right - rx;
        const double cyt = r.top + ry, cyb = r.bottom - ry;
        const double cx = px < cxl ? cxl : (px > cxr ? cxr : px);
        const double cy = py < cyt ? cyt : (py > cyb ? cyb : py);
        if (cx == px || cy == py)
            return true;
        return insideEllipse(px, py, cx, cy, rx, ry);
    }
    // An inside pixel with a 4-neighbour outside: the one-pixel outline.
    bool onEdge(int x, int y) const
    {
        return !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
    }
};

} // namespace

bool CDC::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    const RECT r = RECT{left, top, right, bottom}.Normalized();
    if (r.Width() < 1 || r.Height() < 1)
        return true;
    const double cw = std::min<double>(std::fabs(double(cornerWidth)), r.Width());
    const double ch = std::min<double>(std::fabs(double(cornerHeight)), r.Height());
    if (m_painter || !m_state.pen.IsCosmetic() || m_state.pen.style != PS_SOLID) {
        // Path-based: geometric pens, styled outlines and painter targets.
        QPainterPath path;
        const QRectF box(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
        if (cw >= r.Width() && ch >= r.Height())
            path.addEllipse(box);
        else
            path.addRoundedRect(box, cw / 2, ch / 2);
        if (m_painter)
            return figure(path, path, nullptr, true);
        // Styled cosmetic outline: walk the boundary pixels in angular order.
        if (m_state.pen.IsCosmetic() && !m_state.pen.IsNull()) {
            Coverage cov(intersect(padded(r.left, r.top, r.right, r.bottom, 1), visibleBounds()));
            if (cov.empty())
                return true;
            const RoundShape shape{r, cw, ch};
            const double cx = (double(r.left) + r.right) / 2.0, cy = (double(r.top) + r.bottom) / 2.0;
            std::vector<std::pair<double, POINT>> ring;
            for (int y = cov.bounds().top; y < cov.bounds().bottom; ++y)
                for (int x = cov.bounds().left; x < cov.bounds().right; ++x) {
                    if (!shape.inside(x, y))
                        continue;
                    const bool edge = shape.onEdge(x, y);
                    if (edge)
                        ring.push_back({std::atan2(y + 0.5 - cy, x + 0.5 - cx), POINT{x, y}});
                    else if (!m_state.brush.IsNull())
                        if (const auto c = brushColor(m_state.brush, x, y))
                            cov.set(x, y, *c);
                }
            styledRing(cov, ring);
            applyCoverage(cov);
            return true;
        }
        QPainterPath fill;
        fill.addPath(path);
        return figure(fill, path, nullptr, true);
    }
    // Solid cosmetic or null pen on a raster target: exact pixel sets.
    RECT box = r;
    if (m_state.pen.IsNull()) {
        box.right -= 1;
        box.bottom -= 1;
    }
    const RoundShape shape{box, std::min(cw, double(box.Width())), std::min(ch, double(box.Height()))};
    Coverage cov(intersect(box, visibleBounds()));
    if (cov.empty())
        return true;
    for (int y = cov.bounds().top; y < cov.bounds().bottom; ++y)
        for (int x = cov.bounds().left; x < cov.bounds().right; ++x) {
            if (!shape.inside(x, y))
                continue;
            const bool edge = shape.onEdge(x, y);
            if (edge && !m_state.pen.IsNull())
                cov.set(x, y, m_state.pen.color);
            else if (!m_state.brush.IsNull())
                if (const auto c = brushColor(m_state.brush, x, y))
                    cov.set(x, y, *c);
        }
    applyCoverage(cov);
    return true;
}

bool CDC::Ellipse(int left, int top, int right, int bottom)
{
    const RECT r = RECT{left, top, right, bottom}.Normalized();
    return RoundRect(r.left, r.top, r.right, r.bottom, r.Width(), r.Height());
}

bool CDC::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    const RECT r = RECT{left, top, right, bottom}.Normalized();
    if (r.Width() < 1 || r.Height() < 1 || m_state.pen.IsNull())
        return true;
    const double cx = (double(r.left) + r.right) / 2.0, cy = (double(r.top) + r.bottom) / 2.0;
    // Angles counter-clockwise on screen (y grows downwards).
    const double a0 = std::atan2(-(yStart - cy), xStart - cx);
    double a1 = std::atan2(-(yEnd - cy), xEnd - cx);
    const bool full = (xStart == xEnd && yStart == yEnd);
    if (a1 <= a0)
        a1 += 2 * M_PI;
    auto inArc = [&](double px, double py) {
        if (full)
            return true;
        double a = std::atan2(-(py - cy), px - cx);
        while (a < a0) a += 2 * M_PI;
        return a <= a1;
    };
    if (m_painter) {
        QPainterPath path;
        const QRectF box(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
        const double startDeg = a0 * 180 / M_PI;
        const double spanDeg = full ? 360.0 : (a1 - a0) * 180 / M_PI;
        path.arcMoveTo(box, startDeg);
        path.arcTo(box, startDeg, spanDeg);
        painterFigure(nullptr, &path);
        return true;
    }
    Coverage cov(intersect(padded(r.left, r.top, r.right, r.bottom, std::max(1, m_state.pen.width)), visibleBounds()));
    if (cov.empty())
        return true;
    if (!m_state.pen.IsCosmetic()) {
        QPainterPath path;
        const QRectF box(r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
        const double startDeg = a0 * 180 / M_PI;
        path.arcMoveTo(box, startDeg);
        path.arcTo(box, startDeg, full ? 360.0 : (a1 - a0) * 180 / M_PI);
        rasterStroke(cov, path);
        applyCoverage(cov);
        return true;
    }
    const RoundShape shape{r, double(r.Width()), double(r.Height())};
    std::vector<std::pair<double, POINT>> ring;
    for (int y = cov.bounds().top; y < cov.bounds().bottom; ++y)
        for (int x = cov.bounds().left; x < cov.bounds().right; ++x) {
            if (!shape.inside(x, y))
                continue;
            const bool edge = shape.onEdge(x, y);
            if (edge && inArc(x + 0.5, y + 0.5)) {
                double a = std::atan2(-(y + 0.5 - cy), x + 0.5 - cx);
                while (a < a0) a += 2 * M_PI;
                ring.push_back({a, POINT{x, y}});
            }
        }
    styledRing(cov, ring);
    applyCoverage(cov);
    return true;
}
