#pragma once
// The cursor clip of a mouse gesture. Neither Qt nor Wayland can confine the
// pointer, so a gesture that would clip the cursor to a rectangle instead
// clamps every point it tracks into that rectangle: the feedback and the
// result are the same, only the pointer itself may wander off.
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <optional>

class CCursorClip {
public:
    // Clips to `r` (inclusive edges) until Release; an empty rectangle
    // clips to nothing.
    void Clip(const QRect& r) { m_rect = r.isValid() ? std::optional<QRect>(r) : std::nullopt; }
    void Release() { m_rect.reset(); }
    bool IsClipping() const { return m_rect.has_value(); }

    QPoint Apply(QPoint p) const
    {
        if (!m_rect)
            return p;
        return {std::clamp(p.x(), m_rect->left(), m_rect->right()), std::clamp(p.y(), m_rect->top(), m_rect->bottom())};
    }

private:
    std::optional<QRect> m_rect;
};
