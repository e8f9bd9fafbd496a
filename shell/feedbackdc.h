#pragma once
// A device context on a view's back buffer "obtained for the moment" to
// draw gesture feedback (rubber band, move and resize outlines, inverted
// handles, divider lines) with XOR, so that drawing it again removes it.
// It collects the rectangle it touches and flushes just that rectangle to
// the screen when it goes out of scope; the scene is not repainted.
#include "platform/dc.h"

#include <QRect>

class CBackBufferView;

class CFeedbackDC {
public:
    explicit CFeedbackDC(CBackBufferView& view);
    ~CFeedbackDC();
    CFeedbackDC(const CFeedbackDC&) = delete;
    CFeedbackDC& operator=(const CFeedbackDC&) = delete;

    // The device context itself; whoever draws on it directly declares what
    // they touched with Touch.
    CDC& Dc() { return m_dc; }
    void Touch(const RECT& r);
    QRect Dirty() const { return m_dirty; }

    // A dotted-or-solid one-pixel outline of `r` (right and bottom edges
    // excluded, as Rectangle draws) in R2_NOTXORPEN.
    void XorOutline(const RECT& r, int penStyle = PS_SOLID);
    // A line of `width` pixels from `a` to `b` in R2_NOTXORPEN (a one-pixel
    // line leaves out its end pixel, as LineTo does).
    void XorLine(POINT a, POINT b, int width = 1);
    // Inverts the pixels of `r` (handles, the grid's divider line).
    void Invert(const RECT& r);

private:
    CBackBufferView& m_view;
    CDC m_dc;
    QRect m_dirty;
};
