#pragma once
// Helpers shared by the device context's source files.
#include "platform/dc.h"

#include "platform/qtrect.h"

#include <QColor>
#include <QPainterPath>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <vector>

namespace dcpixel {

// COLORREF (0x00BBGGRR) <-> the 0x00RRGGBB layout of QImage pixels.
inline uint32_t toRgb(COLORREF c)
{
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

inline COLORREF fromRgb(uint32_t p)
{
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

inline RECT intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

inline QColor qcolor(COLORREF c)
{
    return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}

// A monochrome bitmap's colours on the device: its black (0) pixels take
// `zero`, its white (1) pixels `one` (the text and background colours).
inline void Recolour(QImage& image, COLORREF zero, COLORREF one)
{
    const uint32_t fg = 0xFF000000u | toRgb(zero), bg = 0xFF000000u | toRgb(one);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = (line[x] & 0xFFFFFFu) ? bg : fg;
    }
}

} // namespace dcpixel

// Calls f(rect) for each part of `r` inside the clip (all of it, when the
// clip is a rectangle: visibleBounds already holds it).
template <class F>
void CDC::forVisibleRects(const RECT& r, F f) const
{
    if (r.IsEmpty())
        return;
    if (!m_state.clipRegion) {
        f(r);
        return;
    }
    const QRegion part = m_state.clipRegion->intersected(ToQRect(r));
    for (const QRect& q : part)
        f(RECT{q.x(), q.y(), q.x() + q.width(), q.y() + q.height()});
}

namespace dcinternal {

struct Edge {
    double x0, y0, x1, y1;
    int dir;
};

inline void addEdge(std::vector<Edge>& edges, double x0, double y0, double x1, double y1)
{
    if (y0 == y1)
        return;
    if (y0 < y1)
        edges.push_back(Edge{x0, y0, x1, y1, 1});
    else
        edges.push_back(Edge{x1, y1, x0, y0, -1});
}

// The edges of a path of straight lines, every figure closed; false for a
// path with curves.
inline bool edgesOf(const QPainterPath& path, std::vector<Edge>& edges)
{
    edges.reserve(size_t(path.elementCount()));
    QPointF start, last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isCurveTo() || e.type == QPainterPath::CurveToDataElement)
            return false;
        const QPointF p(e.x, e.y);
        if (e.isMoveTo()) {
            if (i)
                addEdge(edges, last.x(), last.y(), start.x(), start.y());
            start = last = p;
            continue;
        }
        addEdge(edges, last.x(), last.y(), p.x(), p.y());
        last = p;
    }
    addEdge(edges, last.x(), last.y(), start.x(), start.y());
    return true;
}

// Fills the pixels whose centres lie inside the edges, row by row, as GDI
// does (top and left edges in, bottom and right ones out); `b` bounds the
// pixels set.
template <class Set>
void scanEdges(std::vector<Edge>& edges, bool winding, const RECT& b, Set set)
{
    // An edge that spans no row centre never counts (the many short edges
    // of a detailed outline drawn small): left out before sorting.
    edges.erase(std::remove_if(edges.begin(), edges.end(),
                               [](const Edge& e) { return !(std::ceil(e.y0 - 0.5) + 0.5 < e.y1); }),
                edges.end());
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& c) { return a.y0 < c.y0; });
    std::vector<const Edge*> active;
    std::vector<std::pair<double, int>> xs;
    size_t next = 0;
    for (int y = b.top; y < b.bottom; ++y) {
        const double yc = y + 0.5;
        while (next < edges.size() && edges[next].y0 <= yc)
            active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [&](const Edge* e) { return e->y1 <= yc; }),
                     active.end());
        if (active.empty()) {
            if (next == edges.size())
                break;
            continue;
        }
        xs.clear();
        for (const Edge* e : active)
            xs.emplace_back(e->x0 + (yc - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0), e->dir);
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            wind += winding ? xs[k].second : 1;
            if (winding ? wind == 0 : (wind % 2) == 0)
                continue;
            // Pixels whose centre x + 0.5 lies in [from, to).
            const double from = std::max(xs[k].first, double(b.left)), to = std::min(xs[k + 1].first, double(b.right));
            for (int x = int(std::ceil(from - 0.5)); x + 0.5 < to; ++x)
                set(x, y);
        }
    }
}

} // namespace dcinternal
