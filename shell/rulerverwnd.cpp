#include "shell/rulerverwnd.h"

CRulerVerWnd::CRulerVerWnd(QWidget* parent)
    : CRulerWnd(parent)
{
    setFixedWidth(kThickness);
}

void CRulerVerWnd::DrawTick(CDC& dc, int position, int length)
{
    const int extent = GetExtent();
    dc.MoveTo(extent, position);
    dc.LineTo(extent - length, position);
}

void CRulerVerWnd::DrawMarkerLine(CDC& dc)
{
    dc.MoveTo(1, GetMarkerPosition());
    dc.LineTo(GetExtent(), GetMarkerPosition());
}

void CRulerVerWnd::DrawMajorTick(CDC& dc, int position, std::string_view text)
{
    dc.TextOut(GetExtent() - 22, position + 2, text);
    DrawTick(dc, position, kMajorTickLength);
}
