#pragma once
// What a symbology needs to know about the barcode object that owns it
// while it draws or measures itself.
//
// The owning object fills one of these before each drawing (its rotation,
// its box in device pixels and in micrometres, its font, the colours of
// bars and text, its transparency, and the label being drawn) and may override DrawTextLine to draw the human-readable
// line of a linear symbology with its own one-line text drawing.
#include "content/tables/drawcontext.h"
#include "platform/dc.h"
#include "platform/windef.h"

#include <cstdint>
#include <string_view>

struct BarcodeHost {
    virtual ~BarcodeHost() = default;

    int rotation = 0;      // 0, 900, 1800 or 2700 tenths of a degree
    RECT deviceRect;       // the object's box in device pixels; bars are clipped to it
    int32_t widthUm = 0;   // the object's box in micrometres, as stored (not turned)
    int32_t heightUm = 0;
    LOGFONTA font;         // the object's font as stored (height at 96 dpi)
    LOGFONTA deviceFont;   // the same font scaled to the device being drawn on
    COLORREF barColor = 0;  // bars and the QR code's dark modules
    COLORREF textColor = 0; // human-readable text
    COLORREF fillColor = RGB(255, 255, 255);
    bool transparent = true;
    DrawContext context;   // the label being drawn; label number below 1: the design view
    // The resolution the symbol is laid out at (not turned); 0: the device's.
    // A screen draws the symbol laid out as at this resolution, scaled to
    // its own, so that it shows the width the symbol has there.
    int layoutResX = 0;
    int layoutResY = 0;

    // Draws the human-readable line of Code 39, 2 of 5, Code 128 and EAN 128.
    // `ref` is the device point of the top-left corner of the line in the
    // symbol's reading direction (already turned by the rotation); `along`
    // and `across` are the same point relative to the symbol's origin, in
    // pixels along the bars and down from their top. The default draws the
    // text left-aligned with the device font turned by the rotation,
    // transparent, clipped to the device box inset by one pixel at the top
    // and left, as a one-line text does.
    virtual void DrawTextLine(CDC& dc, POINT ref, int along, int across, std::string_view text) const;
};

// Escapement for a rotation: 0, 900, 1800, and -900 for 2700.
int32_t EscapementForRotation(int rotation);
