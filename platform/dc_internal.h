#pragma once
// Helpers shared by the device context's source files.
#include "platform/dc.h"

#include "platform/qtrect.h"

#include <QRegion>

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
