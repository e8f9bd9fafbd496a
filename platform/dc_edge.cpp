// Three-dimensional edges of the device context.
#include "platform/dc.h"
#include "platform/uiservices.h"

bool CDC::DrawEdge(const RECT& r, unsigned edge, unsigned sides)
{
    const RECT n = r.Normalized();
    if (n.IsEmpty())
        return false;
    const COLORREF shadow = Ui().SystemColor(SystemColour::ButtonShadow);
    const COLORREF light = Ui().SystemColor(SystemColour::ButtonHighlight);
    const bool sunken = (edge & (BDR_SUNKENINNER | BDR_SUNKENOUTER)) != 0;
    const COLORREF topLeft = sunken ? shadow : light;
    const COLORREF bottomRight = sunken ? light : shadow;
    if (sides & BF_TOP)
        FillSolidRect(RECT{n.left, n.top, n.right, n.top + 1}, topLeft);
    if (sides & BF_LEFT)
        FillSolidRect(RECT{n.left, n.top, n.left + 1, n.bottom}, topLeft);
    if (sides & BF_BOTTOM)
        FillSolidRect(RECT{n.left, n.bottom - 1, n.right, n.bottom}, bottomRight);
    if (sides & BF_RIGHT)
        FillSolidRect(RECT{n.right - 1, n.top, n.right, n.bottom}, bottomRight);
    return true;
}
