#include "shell/feedbackdc.h"

#include "shell/backbufferview.h"

#include <algorithm>

CFeedbackDC::CFeedbackDC(CBackBufferView& view)
    : m_view(view), m_dc((view.ensureBufferSize(), &view.m_buffer), view.LogPixelsX(), view.LogPixelsY())
{
}

CFeedbackDC::~CFeedbackDC()
{
    if (!m_dirty.isEmpty())
        m_view.Flush(m_dirty);
}

void CFeedbackDC::Touch(const RECT& r)
{
    const int left = std::min(r.left, r.right);
    const int top = std::min(r.top, r.bottom);
    const int right = std::max(r.left, r.right);
    const int bottom = std::max(r.top, r.bottom);
    if (right > left && bottom > top)
        m_dirty |= QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void CFeedbackDC::XorOutline(const RECT& r, int penStyle)
{
    CDCStateScope state(m_dc);
    m_dc.SetROP2(R2_NOTXORPEN);
    m_dc.SelectPen(CPen{penStyle, 1, RGB(0, 0, 0)});
    m_dc.SelectBrush(CBrush::Hollow());
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.Rectangle(r);
    Touch(r);
}

void CFeedbackDC::XorLine(POINT a, POINT b, int width)
{
    const int w = std::max(width, 1);
    {
        CDCStateScope state(m_dc);
        m_dc.SetROP2(R2_NOTXORPEN);
        m_dc.SelectPen(CPen{PS_SOLID, w, RGB(0, 0, 0)});
        m_dc.MoveTo(a.x, a.y);
        m_dc.LineTo(b.x, b.y);
    }
    const int pad = w / 2 + 1;
    Touch(RECT{std::min(a.x, b.x) - pad, std::min(a.y, b.y) - pad, std::max(a.x, b.x) + pad + 1,
               std::max(a.y, b.y) + pad + 1});
}

void CFeedbackDC::Invert(const RECT& r)
{
    m_dc.InvertRect(r);
    Touch(r);
}
