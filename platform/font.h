#pragma once
// LOGFONT <-> QFont.
//
// A negative LOGFONT height is a character height (the em size) in device
// pixels, a positive one a cell height (ascent + descent), 0 a default
// size. Escapement (rotation) is applied by the device context when text is
// drawn, not by the QFont. Windows face names map through fontconfig, so
// "Arial" resolves to Liberation Sans.
#include "platform/windef.h"

#include <QFont>

class QPaintDevice;

namespace gdifont {

// Character height for a LOGFONT height of 0 where no application font
// can be asked.
constexpr int kDefaultCharHeight = 16;
// The character height a LOGFONT height of 0 stands for: the pixel size of
// the application's default font (kDefaultCharHeight without one).
int DefaultCharHeight();

// The QFont for `lf` on `device` (null: the default screen).
QFont ToQFont(const LOGFONTA& lf, const QPaintDevice* device = nullptr);

// The LOGFONT of a QFont whose size is in pixels or points; points are
// converted at `logPixelsY`. The face name is stored in cp1252.
LOGFONTA FromQFont(const QFont& font, int logPixelsY);

// Metrics of `lf` on `device`, rounded to whole pixels as GDI reports them.
TEXTMETRICA Metrics(const LOGFONTA& lf, const QPaintDevice* device = nullptr);

} // namespace gdifont
