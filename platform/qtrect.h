#pragma once
// RECT (right and bottom excluded) to QRect. QRect keeps its edges and
// extents in int and its raster engine works in fixed point, so the edges
// are first brought within +-2^22 (four million pixels), far beyond
// any device.
#include "platform/windef.h"

#include <QRect>

inline int32_t ClampToQRectRange(int32_t v)
{
    constexpr int32_t kLimit = int32_t(1) << 22;
    return v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v);
}

inline QRect ToQRect(const RECT& r)
{
    const RECT n = r.Normalized();
    return QRect(QPoint(ClampToQRectRange(n.left), ClampToQRectRange(n.top)),
                 QPoint(ClampToQRectRange(n.right) - 1, ClampToQRectRange(n.bottom) - 1));
}
