#include "content/barcodes/barcodehost.h"

int32_t EscapementForRotation(int rotation)
{
    switch (rotation) {
    case 900: return 900;
    case 1800: return 1800;
    case 2700: return -900;
    default: return 0;
    }
}

void BarcodeHost::DrawTextLine(CDC& dc, POINT ref, int /*along*/, int /*across*/, std::string_view text) const
{
    if (text.empty())
        return;
    const int saved = dc.SaveDC();
    LOGFONTA f = deviceFont;
    f.lfEscapement = EscapementForRotation(rotation);
    f.lfOrientation = f.lfEscapement;
    dc.SelectFont(f);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(textColor);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    const RECT clip{deviceRect.left + 1, deviceRect.top + 1, deviceRect.right, deviceRect.bottom};
    dc.IntersectClipRect(clip);
    dc.TextOut(ref.x, ref.y, text);
    dc.RestoreDC(saved);
}
