#pragma once
// The metafile player's inside: the records' parameters, the object table,
// the drawing state and the mapping from logical to device coordinates.
#include "platform/dc.h"
#include "platform/windef.h"

#include <QImage>
#include <QPointF>
#include <QRegion>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace wmf::detail {

inline uint16_t rd16(const char* p)
{
    return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8));
}

inline uint32_t rd32(const char* p)
{
    return uint32_t(rd16(p)) | (uint32_t(rd16(p + 2)) << 16);
}

// Record functions.
enum : uint16_t {
    META_EOF = 0x0000,
    META_REALIZEPALETTE = 0x0035,
    META_SETPALENTRIES = 0x0037,
    META_SAVEDC = 0x001E,
    META_CREATEPALETTE = 0x00F7,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETTEXTCHAREXTRA = 0x0108,
    META_RESTOREDC = 0x0127,
    META_INVERTREGION = 0x012A,
    META_PAINTREGION = 0x012B,
    META_SELECTCLIPREGION = 0x012C,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_RESIZEPALETTE = 0x0139,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETTEXTJUSTIFICATION = 0x020A,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_OFFSETWINDOWORG = 0x020F,
    META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_OFFSETCLIPRGN = 0x0220,
    META_FILLREGION = 0x0228,
    META_SELECTPALETTE = 0x0234,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_CREATEBITMAPINDIRECT = 0x02FD,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_FLOODFILL = 0x0419,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_FRAMEREGION = 0x0429,
    META_ANIMATEPALETTE = 0x0436,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_EXTFLOODFILL = 0x0548,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_ESCAPE = 0x0626,
    META_CREATEBITMAP = 0x06FE,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_BITBLT = 0x0922,
    META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHBLT = 0x0B23,
    META_DIBSTRETCHBLT = 0x0B41,
    META_SETDIBTODEV = 0x0D33,
    META_STRETCHDIB = 0x0F43,
    META_CREATEBRUSH = 0x00F8,
};

// How the colour table of a DIB in a record is to be read.
constexpr uint16_t DIB_RGB_COLORS = 0; // colours
constexpr uint16_t DIB_PAL_COLORS = 1; // indices into the selected palette

// The parameter words of one record; reads past the end answer 0.
class Params {
public:
    Params(const char* p, size_t n) : m_p(p), m_n(n) {}
    size_t bytes() const { return m_n; }
    size_t words() const { return m_n / 2; }
    bool has(size_t words) const { return m_n >= 2 * words; }
    int16_t s(size_t i) const { return has(i + 1) ? int16_t(rd16(m_p + 2 * i)) : 0; }
    uint16_t u(size_t i) const { return has(i + 1) ? rd16(m_p + 2 * i) : 0; }
    uint32_t u32(size_t i) const { return has(i + 2) ? rd32(m_p + 2 * i) : 0; }
    std::string_view from(size_t byte) const
    {
        return byte <= m_n ? std::string_view(m_p + byte, m_n - byte) : std::string_view();
    }

private:
    const char* m_p;
    size_t m_n;
};

struct GdiObject {
    enum Kind { Free, Pen, Brush, Font, Palette, Region, Other } kind = Free;
    int penStyle = PS_SOLID; // style, end cap and join bits
    int penWidth = 0;        // logical
    COLORREF color = 0;
    CBrush brush;
    LOGFONTA font;
    std::vector<COLORREF> palette;
    std::vector<RECT> region; // logical rectangles
    // The region in device pixels for the mapping it was last used with.
    mutable QRegion device;
    mutable std::optional<std::array<double, 4>> deviceMapping;
};

struct State {
    int penStyle = PS_SOLID;
    int penWidth = 0;
    COLORREF penColor = 0;
    CBrush brush = CBrush::Solid(RGB(255, 255, 255));
    LOGFONTA font;
    COLORREF textColor = 0;
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    int rop = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int charExtra = 0; // logical
    int breakExtra = 0; // logical, shared among the spaces of a text
    int breakCount = 0;
    int mapMode = MM_ANISOTROPIC;
    POINT winOrg;
    SIZE winExt;
    POINT vpOrg;
    SIZE vpExt;
    POINT pos; // logical current position
    int palette = -1; // selected palette object
};

class Player {
public:
    Player(CDC& dc, POINT vpOrg, SIZE vpExt, SIZE winExt, size_t objectCount);
    void record(uint16_t fn, const Params& p);

private:
    // Mapping (wmf_player.cpp). The scales are worked out once per record.
    double scaleX() const { return m_sx; } // device pixels per logical unit, signed
    double scaleY() const { return m_sy; }
    double computeScaleX() const;
    double computeScaleY() const;
    int mapX(int32_t x) const;
    int mapY(int32_t y) const;
    POINT mapPoint(int32_t x, int32_t y) const { return POINT{mapX(x), mapY(y)}; }
    // The device place unrounded (within the same limits).
    QPointF mapPointF(int32_t x, int32_t y) const;
    RECT mapRect(int32_t l, int32_t t, int32_t r, int32_t b) const
    {
        return RECT{mapX(l), mapY(t), mapX(r), mapY(b)};
    }
    int lengthX(int32_t v) const; // |v| logical units in device pixels
    int lengthY(int32_t v) const;
    bool flipped() const { return (scaleX() < 0) != (scaleY() < 0); }
    bool stateRecord(uint16_t fn, const Params& p);
    bool mappingRecord(uint16_t fn, const Params& p);

    // Objects (wmf_objects.cpp).
    bool objectRecord(uint16_t fn, const Params& p);
    void addObject(GdiObject o);
    const GdiObject* object(size_t index, GdiObject::Kind kind) const;
    COLORREF colour(uint32_t colorref) const;
    CBrush brushFromBitmap16(std::string_view bitmap) const;
    // An old device bitmap of a blit record, a monochrome one in the text
    // and background colours.
    QImage bitmap16(std::string_view bitmap) const;
    CBrush brushFromDib(std::string_view dib, uint16_t usage) const;
    // The DIB of a record as an image; with a valid `part`, that part of it
    // reduced to `size` (dib::PackedPartToImage).
    QImage dibImage(std::string_view dib, uint16_t usage, QRect part = {}, QSize size = {}) const;
    QRegion deviceRegion(const GdiObject& region) const;
    bool regionRecord(uint16_t fn, const Params& p);

    // Drawing (wmf_draw.cpp).
    void applyShapeState();
    void applyTextState();
    bool drawRecord(uint16_t fn, const Params& p);
    template <class Point> bool points(const Params& p, std::vector<Point>& out);
    void polyPolygon(const Params& p);
    void arcFigure(uint16_t fn, const Params& p);
    void text(int32_t x, int32_t y, unsigned options, const RECT* rect, std::string_view s,
              const Params* p, size_t dxWord);
    bool bitmapRecord(uint16_t fn, const Params& p);
    void blit(uint32_t rop, int32_t xs, int32_t ys, int32_t ws, int32_t hs, int32_t xd, int32_t yd, int32_t wd,
              int32_t hd, const QImage* image, bool bottomUp);
    // The same for a DIB record's bitmap, decoded only when something of it
    // is drawn; a bitmap above a megapixel only as far as the device shows
    // it, reduced to the device pixels it covers.
    void dibBlit(uint32_t rop, std::string_view dib, uint16_t usage, int32_t xs, int32_t ys, int32_t ws, int32_t hs,
                 int32_t xd, int32_t yd, int32_t wd, int32_t hd, bool bottomUp);

    CDC& m_dc;
    State m_state;
    double m_sx = 1.0;
    double m_sy = 1.0;
    std::vector<GdiObject> m_objects;
    size_t m_firstFree = 0;
    std::optional<QRegion> m_initialClip;
    struct Saved {
        State state;
        int dcLevel;
    };
    std::vector<Saved> m_saved;
};

} // namespace wmf::detail
