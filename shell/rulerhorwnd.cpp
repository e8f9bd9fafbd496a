#include "shell/rulerhorwnd.h"

CRulerHorWnd::CRulerHorWnd(QWidget* parent)
    : CRulerWnd(parent)
{
    setFixedHeight(kThickness);
}

void CRulerHorWnd::DrawTick(CDC& dc, int position, int length)
{
    const int extent = GetExtent();
    dc.MoveTo(position, extent);
    dc.LineTo(position, extent - length);
}

void CRulerHorWnd::DrawMarkerLine(CDC& dc)
{
    dc.MoveTo(GetMarkerPosition(), 1);
    dc.LineTo(GetMarkerPosition(), GetExtent());
}

void CRulerHorWnd::DrawMajorTick(CDC& dc, int position, std::string_view text)
{
    dc.TextOut(position + 2, GetExtent() - 22, text);
    DrawTick(dc, position, kMajorTickLength);
}
