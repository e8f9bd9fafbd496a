#pragma once
// Basic Windows-style value types used throughout the model: colours,
// points, rectangles, device-capability indices, pen and raster-operation
// codes, and the 60-byte font description stored in files.
#include <cstdint>
#include <cstring>
#include <utility>

using COLORREF = uint32_t; // 0x00BBGGRR

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned GetRValue(COLORREF c) { return c & 0xFFu; }
constexpr unsigned GetGValue(COLORREF c) { return (c >> 8) & 0xFFu; }
constexpr unsigned GetBValue(COLORREF c) { return (c >> 16) & 0xFFu; }

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

// A rectangle whose right and bottom edges lie just outside it, as in GDI.
struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    // 64-bit, so the extent of any rectangle is exact.
    int64_t Width() const { return int64_t(right) - left; }
    int64_t Height() const { return int64_t(bottom) - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // The same rectangle with left <= right and top <= bottom.
    RECT Normalized() const
    {
        RECT r = *this;
        if (r.left > r.right) std::swap(r.left, r.right);
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        return r;
    }
    friend bool operator==(const RECT&, const RECT&) = default;
};

// Device capability indices.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_STYLE_MASK = 0x000F;
// End caps and joins of geometric pens.
constexpr int PS_ENDCAP_ROUND = 0x0000;
constexpr int PS_ENDCAP_SQUARE = 0x0100;
constexpr int PS_ENDCAP_FLAT = 0x0200;
constexpr int PS_ENDCAP_MASK = 0x0F00;
constexpr int PS_JOIN_ROUND = 0x0000;
constexpr int PS_JOIN_BEVEL = 0x1000;
constexpr int PS_JOIN_MITER = 0x2000;
constexpr int PS_JOIN_MASK = 0xF000;

// Brush styles.
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HOLLOW = BS_NULL;
constexpr int BS_HATCHED = 2;
constexpr int BS_PATTERN = 3;
constexpr int BS_DIBPATTERN = 5;
constexpr int BS_DIBPATTERNPT = 6;

// Hatch styles.
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Ternary raster operations of the bit-block transfers.
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t SRCERASE = 0x00440328;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t NOTSRCERASE = 0x001100A6;
constexpr uint32_t MERGECOPY = 0x00C000CA;
constexpr uint32_t MERGEPAINT = 0x00BB0226;
constexpr uint32_t PATCOPY = 0x00F00021;
constexpr uint32_t PATPAINT = 0x00FB0A09;
constexpr uint32_t PATINVERT = 0x005A0049;
constexpr uint32_t DSTINVERT = 0x00550009;
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t WHITENESS = 0x00FF0062;

// Flood fill types.
constexpr unsigned FLOODFILLBORDER = 0;
constexpr unsigned FLOODFILLSURFACE = 1;

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int MM_LOENGLISH = 4;
constexpr int MM_HIENGLISH = 5;
constexpr int MM_TWIPS = 6;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

// Binary raster operations (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Polygon fill modes (SetPolyFillMode).
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Font weights and character sets.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t DEFAULT_CHARSET = 1;

constexpr int LF_FACESIZE = 32;

// The ANSI font description, 60 bytes when stored.
struct LOGFONTA {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
    friend bool operator==(const LOGFONTA& a, const LOGFONTA& b)
    {
        return std::memcmp(&a, &b, sizeof(LOGFONTA)) == 0;
    }
};
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA must keep its stored size");

// Mouse-message key flags.
constexpr int MK_LBUTTON = 0x0001;
constexpr int MK_RBUTTON = 0x0002;
constexpr int MK_SHIFT = 0x0004;
constexpr int MK_CONTROL = 0x0008;

// Text alignment (SetTextAlign).
constexpr unsigned TA_NOUPDATECP = 0;
constexpr unsigned TA_UPDATECP = 1;
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;
constexpr unsigned TA_RTLREADING = 256;

// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;
constexpr unsigned ETO_RTLREADING = 0x0080;

// DrawText formats.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

// DrawEdge edges and sides.
constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;

// A colour attribute that takes its value from elsewhere.
constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

// More LOGFONT values.
constexpr uint8_t SYMBOL_CHARSET = 2;
constexpr uint8_t HEBREW_CHARSET = 177;
constexpr uint8_t ARABIC_CHARSET = 178;
constexpr uint8_t DEFAULT_QUALITY = 0;
constexpr uint8_t DRAFT_QUALITY = 1;
constexpr uint8_t PROOF_QUALITY = 2;
constexpr uint8_t NONANTIALIASED_QUALITY = 3;
constexpr uint8_t ANTIALIASED_QUALITY = 4;
constexpr uint8_t CLIP_LH_ANGLES = 16;

// The parts of TEXTMETRIC that drawing uses, in device pixels.
struct TEXTMETRICA {
    int32_t tmHeight = 0;           // ascent + descent
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0;  // tmHeight - character height
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
    int32_t tmWeight = 0;
    uint8_t tmItalic = 0;
    uint8_t tmUnderlined = 0;
    uint8_t tmStruckOut = 0;
    uint8_t tmCharSet = 0;
};

// Sets a LOGFONT face name from bytes, cut to 31 bytes and terminated.
inline void SetFaceName(LOGFONTA& lf, const char* name)
{
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    if (name)
        std::strncpy(lf.lfFaceName, name, LF_FACESIZE - 1);
}
