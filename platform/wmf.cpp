#include "platform/wmf.h"

#include "platform/dc.h"
#include "platform/dib.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace wmf {

namespace {

uint16_t rd16(const char* p)
{
    return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8));
}

uint32_t rd32(const char* p)
{
    return uint32_t(rd16(p)) | (uint32_t(rd16(p + 2)) << 16);
}

void wr16(std::string& s, uint16_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}

void wr32(std::string& s, uint32_t v)
{
    wr16(s, uint16_t(v & 0xFFFF));
    wr16(s, uint16_t(v >> 16));
}

// Record functions the player knows.
enum : uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETROP2 = 0x0104,
    META_SETTEXTALIGN = 0x012E,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_OFFSETWINDOWORG = 0x020F,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_TEXTOUT = 0x0521,
    META_ROUNDRECT = 0x061C,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
    META_CREATEPALETTE = 0x00F7,
};

constexpr uint32_t kPatCopy = 0x00F00021;
constexpr uint32_t kBlackness = 0x00000042;
constexpr uint32_t kWhiteness = 0x00FF0062;

// Device coordinates are kept well inside int32 for the device context.
constexpr double kCoordLimit = double(1 << 24);
constexpr int kMaxPenPixels = 1000;
constexpr int kMaxFontPixels = 2048;
constexpr size_t kMaxSaveDepth = 256;

int32_t addClamped(int32_t a, int32_t b)
{
    return int32_t(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX));
}

// The parameter words of one record.
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
    enum Kind { Free, Pen, Brush, Font, Other } kind = Free;
    int penStyle = PS_SOLID;
    int penWidth = 0; // logical
    COLORREF color = 0;
    CBrush brush;
    LOGFONTA font;
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
    POINT winOrg;
    SIZE winExt;
    POINT pos; // logical current position
};

class Player {
public:
    Player(CDC& dc, POINT vpOrg, SIZE vpExt, SIZE winExt, size_t objectCount)
        : m_dc(dc), m_vpOrg(vpOrg), m_vpExt(vpExt), m_objects(objectCount)
    {
        m_state.winExt = winExt;
        SetFaceName(m_state.font, "Arial");
    }

    void record(uint16_t fn, const Params& p);

private:
    int mapX(int32_t x) const { return map(x, m_state.winOrg.x, m_state.winExt.cx, m_vpOrg.x, m_vpExt.cx); }
    int mapY(int32_t y) const { return map(y, m_state.winOrg.y, m_state.winExt.cy, m_vpOrg.y, m_vpExt.cy); }
    static int map(int32_t v, int32_t org, int32_t wExt, int32_t vOrg, int32_t vExt)
    {
        if (wExt == 0)
            return vOrg;
        double d = double(vOrg) + (double(v) - org) * double(vExt) / double(wExt);
        d = std::clamp(d, -kCoordLimit, kCoordLimit);
        return int(std::lround(d));
    }
    double scaleX() const
    {
        return m_state.winExt.cx ? std::fabs(double(m_vpExt.cx) / m_state.winExt.cx) : 0.0;
    }
    double scaleY() const
    {
        return m_state.winExt.cy ? std::fabs(double(m_vpExt.cy) / m_state.winExt.cy) : 0.0;
    }
    bool flipped() const
    {
        const bool fx = (int64_t(m_vpExt.cx) * m_state.winExt.cx) < 0;
        const bool fy = (int64_t(m_vpExt.cy) * m_state.winExt.cy) < 0;
        return fx != fy;
    }
    RECT mapRect(int32_t l, int32_t t, int32_t r, int32_t b) const
    {
        return RECT{mapX(l), mapY(t), mapX(r), mapY(b)};
    }

    void applyShapeState();
    void applyTextState();
    void addObject(const GdiObject& o);
    void blit(const Params& p, uint32_t rop, int32_t xs, int32_t ys, int32_t ws, int32_t hs,
              int32_t xd, int32_t yd, int32_t wd, int32_t hd, std::string_view dibBytes, bool hasDib);
    void text(int32_t x, int32_t y, unsigned options, const RECT* rect, std::string_view s);
    void points(const Params& p, std::vector<POINT>& out) const;

    CDC& m_dc;
    POINT m_vpOrg;
    SIZE m_vpExt;
    State m_state;
    std::vector<GdiObject> m_objects;
    size_t m_firstFree = 0;
    struct Saved {
        State state;
        int dcLevel;
    };
    std::vector<Saved> m_saved;
};

void Player::applyShapeState()
{
    int width = 0;
    if (m_state.penWidth > 0)
        width = int(std::min(std::lround(m_state.penWidth * scaleX()), long(kMaxPenPixels)));
    int style = m_state.penStyle & 0x0F;
    if (style == PS_INSIDEFRAME || style > PS_NULL)
        style = PS_SOLID;
    m_dc.SelectPen(CPen{style, width, m_state.penColor});
    m_dc.SelectBrush(m_state.brush);
    m_dc.SetROP2(m_state.rop);
    m_dc.SetBkMode(m_state.bkMode);
    m_dc.SetBkColor(m_state.bkColor);
}

void Player::applyTextState()
{
    LOGFONTA f = m_state.font;
    auto scaled = [](int32_t v, double s) {
        if (v == 0)
            return 0;
        long r = std::lround(std::fabs(double(v)) * s);
        r = std::clamp(r, 1L, long(kMaxFontPixels));
        return int32_t(v < 0 ? -r : r);
    };
    f.lfHeight = scaled(f.lfHeight, scaleY());
    f.lfWidth = scaled(f.lfWidth, scaleX());
    m_dc.SelectFont(f);
    m_dc.SetTextColor(m_state.textColor);
    m_dc.SetBkColor(m_state.bkColor);
    m_dc.SetBkMode(m_state.bkMode);
    m_dc.SetTextAlign(m_state.textAlign & ~TA_UPDATECP);
    m_dc.SetROP2(R2_COPYPEN);
}

void Player::addObject(const GdiObject& o)
{
    // Like GDI, a new object takes the first free slot of the table. No
    // slot below m_firstFree is free, so a full table is not walked again
    // for every further object.
    for (; m_firstFree < m_objects.size(); ++m_firstFree)
        if (m_objects[m_firstFree].kind == GdiObject::Free) {
            m_objects[m_firstFree++] = o;
            return;
        }
}

void Player::points(const Params& p, std::vector<POINT>& out) const
{
    out.clear();
    const int count = p.s(0);
    if (count <= 0)
        return;
    const size_t n = std::min(size_t(count), (p.words() - 1) / 2);
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
        out.push_back(POINT{mapX(p.s(1 + 2 * i)), mapY(p.s(2 + 2 * i))});
}

void Player::text(int32_t x, int32_t y, unsigned options, const RECT* rect, std::string_view s)
{
    applyTextState();
    int dx = mapX(x);
    int dy = mapY(y);
    if (m_state.textAlign & TA_UPDATECP) {
        dx = mapX(m_state.pos.x);
        dy = mapY(m_state.pos.y);
    }
    if (rect) {
        const RECT r = rect->Normalized();
        m_dc.ExtTextOut(dx, dy, options & (ETO_OPAQUE | ETO_CLIPPED), &r, s);
    } else {
        m_dc.ExtTextOut(dx, dy, 0, nullptr, s);
    }
}

void Player::blit(const Params& /*p*/, uint32_t rop, int32_t xs, int32_t ys, int32_t ws, int32_t hs,
                  int32_t xd, int32_t yd, int32_t wd, int32_t hd, std::string_view dibBytes,
                  bool hasDib)
{
    const RECT dest = mapRect(xd, yd, xd + wd, yd + hd);
    if (!hasDib) {
        COLORREF c;
        if (rop == kPatCopy) {
            if (m_state.brush.IsNull())
                return;
            c = m_state.brush.color;
        } else if (rop == kBlackness) {
            c = RGB(0, 0, 0);
        } else if (rop == kWhiteness) {
            c = RGB(255, 255, 255);
        } else {
            return;
        }
        m_dc.FillSolidRect(dest.Normalized(), c);
        return;
    }
    const dib::DibLayout layout = dib::ParsePacked(dibBytes);
    if (!layout.valid)
        return;
    const QImage image = dib::PackedToImage(dibBytes);
    // Source y counts from the bottom row of a bottom-up bitmap.
    const int top = layout.topDown ? ys : layout.height - ys - hs;
    dib::DrawImage(m_dc, image, QRect(xs, top, ws, hs), dest);
}

void Player::record(uint16_t fn, const Params& p)
{
    switch (fn) {
    case META_SAVEDC:
        if (m_saved.size() < kMaxSaveDepth)
            m_saved.push_back(Saved{m_state, m_dc.SaveDC()});
        break;
    case META_RESTOREDC: {
        const int n = p.s(0);
        size_t index;
        if (n < 0) {
            if (size_t(-n) > m_saved.size())
                break;
            index = m_saved.size() - size_t(-n);
        } else if (n > 0 && size_t(n) <= m_saved.size()) {
            index = size_t(n) - 1;
        } else {
            break;
        }
        m_state = m_saved[index].state;
        m_dc.RestoreDC(m_saved[index].dcLevel);
        m_saved.resize(index);
        break;
    }
    case META_SETBKMODE: m_state.bkMode = p.s(0) == TRANSPARENT ? TRANSPARENT : OPAQUE; break;
    case META_SETROP2:
        if (p.s(0) >= R2_BLACK && p.s(0) <= R2_WHITE)
            m_state.rop = p.s(0);
        break;
    case META_SETTEXTALIGN: m_state.textAlign = p.u(0); break;
    case META_SETBKCOLOR: m_state.bkColor = p.u32(0) & 0xFFFFFF; break;
    case META_SETTEXTCOLOR: m_state.textColor = p.u32(0) & 0xFFFFFF; break;
    case META_SETWINDOWORG: m_state.winOrg = POINT{p.s(1), p.s(0)}; break;
    case META_SETWINDOWEXT:
        if (p.s(0) != 0 && p.s(1) != 0)
            m_state.winExt = SIZE{p.s(1), p.s(0)};
        break;
    case META_OFFSETWINDOWORG:
        m_state.winOrg.x = addClamped(m_state.winOrg.x, p.s(1));
        m_state.winOrg.y = addClamped(m_state.winOrg.y, p.s(0));
        break;
    case META_SCALEWINDOWEXT: {
        const int yDenom = p.s(0), yNum = p.s(1), xDenom = p.s(2), xNum = p.s(3);
        if (xDenom == 0 || yDenom == 0)
            break;
        const int64_t cx = int64_t(m_state.winExt.cx) * xNum / xDenom;
        const int64_t cy = int64_t(m_state.winExt.cy) * yNum / yDenom;
        if (cx != 0 && cy != 0 && std::llabs(cx) < (int64_t(1) << 30) && std::llabs(cy) < (int64_t(1) << 30))
            m_state.winExt = SIZE{int32_t(cx), int32_t(cy)};
        break;
    }
    case META_CREATEPENINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Pen;
        o.penStyle = p.u(0);
        o.penWidth = std::abs(int(p.s(1)));
        o.color = p.u32(3) & 0xFFFFFF;
        addObject(o);
        break;
    }
    case META_CREATEBRUSHINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Brush;
        const int style = p.u(0);
        const COLORREF c = p.u32(1) & 0xFFFFFF;
        // Hatches are drawn solid in their colour; patterns are not drawn.
        o.brush = (style == BS_SOLID || style == 2) ? CBrush::Solid(c) : CBrush::Hollow();
        addObject(o);
        break;
    }
    case META_CREATEFONTINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Font;
        LOGFONTA& f = o.font;
        f.lfHeight = p.s(0);
        f.lfWidth = p.s(1);
        f.lfEscapement = p.s(2);
        f.lfOrientation = p.s(3);
        f.lfWeight = p.s(4);
        const std::string_view rest = p.from(10);
        const uint8_t* b = reinterpret_cast<const uint8_t*>(rest.data());
        if (rest.size() >= 8) {
            f.lfItalic = b[0];
            f.lfUnderline = b[1];
            f.lfStrikeOut = b[2];
            f.lfCharSet = b[3];
            f.lfOutPrecision = b[4];
            f.lfClipPrecision = b[5];
            f.lfQuality = b[6];
            f.lfPitchAndFamily = b[7];
            const size_t n = std::min<size_t>(rest.size() - 8, LF_FACESIZE - 1);
            std::memcpy(f.lfFaceName, rest.data() + 8, n);
            f.lfFaceName[LF_FACESIZE - 1] = '\0';
        }
        addObject(o);
        break;
    }
    case META_DIBCREATEPATTERNBRUSH:
    case META_CREATEPATTERNBRUSH:
    case META_CREATEPALETTE:
    case META_CREATEREGION: {
        GdiObject o;
        o.kind = GdiObject::Other;
        addObject(o);
        break;
    }
    case META_SELECTOBJECT: {
        const size_t i = p.u(0);
        if (i >= m_objects.size())
            break;
        const GdiObject& o = m_objects[i];
        switch (o.kind) {
        case GdiObject::Pen:
            m_state.penStyle = o.penStyle;
            m_state.penWidth = o.penWidth;
            m_state.penColor = o.color;
            break;
        case GdiObject::Brush: m_state.brush = o.brush; break;
        case GdiObject::Font: m_state.font = o.font; break;
        default: break;
        }
        break;
    }
    case META_DELETEOBJECT: {
        const size_t i = p.u(0);
        if (i < m_objects.size()) {
            m_objects[i] = GdiObject{};
            m_firstFree = std::min(m_firstFree, i);
        }
        break;
    }
    case META_MOVETO: m_state.pos = POINT{p.s(1), p.s(0)}; break;
    case META_LINETO: {
        if (!p.has(2))
            break;
        applyShapeState();
        m_dc.MoveTo(mapX(m_state.pos.x), mapY(m_state.pos.y));
        m_state.pos = POINT{p.s(1), p.s(0)};
        m_dc.LineTo(mapX(m_state.pos.x), mapY(m_state.pos.y));
        break;
    }
    case META_POLYLINE:
    case META_POLYGON: {
        std::vector<POINT> pts;
        points(p, pts);
        if (pts.size() < 2)
            break;
        applyShapeState();
        if (fn == META_POLYLINE)
            m_dc.Polyline(pts.data(), int(pts.size()));
        else
            m_dc.Polygon(pts.data(), int(pts.size()));
        break;
    }
    case META_RECTANGLE:
    case META_ELLIPSE: {
        if (!p.has(4))
            break;
        applyShapeState();
        const RECT r = mapRect(p.s(3), p.s(2), p.s(1), p.s(0)).Normalized();
        if (fn == META_RECTANGLE)
            m_dc.Rectangle(r.left, r.top, r.right, r.bottom);
        else
            m_dc.Ellipse(r.left, r.top, r.right, r.bottom);
        break;
    }
    case META_ROUNDRECT: {
        if (!p.has(6))
            break;
        applyShapeState();
        const RECT r = mapRect(p.s(5), p.s(4), p.s(3), p.s(2)).Normalized();
        const int cw = int(std::min(std::fabs(double(p.s(1))) * scaleX(), kCoordLimit));
        const int ch = int(std::min(std::fabs(double(p.s(0))) * scaleY(), kCoordLimit));
        m_dc.RoundRect(r.left, r.top, r.right, r.bottom, cw, ch);
        break;
    }
    case META_ARC: {
        if (!p.has(8))
            break;
        applyShapeState();
        const RECT r = mapRect(p.s(7), p.s(6), p.s(5), p.s(4)).Normalized();
        POINT start{mapX(p.s(3)), mapY(p.s(2))};
        POINT end{mapX(p.s(1)), mapY(p.s(0))};
        // A mirrored mapping turns the arc's direction round.
        if (flipped())
            std::swap(start, end);
        m_dc.Arc(r.left, r.top, r.right, r.bottom, start.x, start.y, end.x, end.y);
        break;
    }
    case META_SETPIXEL:
        if (p.has(4))
            m_dc.SetPixel(mapX(p.s(3)), mapY(p.s(2)), p.u32(0) & 0xFFFFFF);
        break;
    case META_INTERSECTCLIPRECT:
        if (p.has(4))
            m_dc.IntersectClipRect(mapRect(p.s(3), p.s(2), p.s(1), p.s(0)).Normalized());
        break;
    case META_TEXTOUT: {
        const int count = p.s(0);
        if (count <= 0)
            break;
        const size_t padded = (size_t(count) + 1) & ~size_t(1);
        if (p.bytes() < 2 + padded + 4)
            break;
        const std::string_view s = p.from(2).substr(0, size_t(count));
        const size_t w = (2 + padded) / 2;
        text(p.s(w + 1), p.s(w), 0, nullptr, s);
        break;
    }
    case META_EXTTEXTOUT: {
        if (!p.has(4))
            break;
        const int32_t y = p.s(0), x = p.s(1);
        const int count = p.s(2);
        const unsigned options = p.u(3);
        size_t at = 8;
        RECT rect;
        const bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
        if (hasRect) {
            if (!p.has(8))
                break;
            rect = mapRect(p.s(4), p.s(5), p.s(6), p.s(7));
            at = 16;
        }
        if (count < 0)
            break;
        const std::string_view s = p.from(at).substr(0, size_t(count));
        if (s.size() < size_t(count))
            break;
        text(x, y, options, hasRect ? &rect : nullptr, s);
        break;
    }
    case META_STRETCHDIB:
        if (p.has(11))
            blit(p, p.u32(0), p.s(6), p.s(5), p.s(4), p.s(3), p.s(10), p.s(9), p.s(8), p.s(7),
                 p.from(22), true);
        break;
    case META_DIBSTRETCHBLT:
        if (p.bytes() == 22) // no bitmap: rop, source, reserved word, destination
            blit(p, p.u32(0), 0, 0, 0, 0, p.s(10), p.s(9), p.s(8), p.s(7), {}, false);
        else if (p.has(10))
            blit(p, p.u32(0), p.s(5), p.s(4), p.s(3), p.s(2), p.s(9), p.s(8), p.s(7), p.s(6),
                 p.from(20), true);
        break;
    case META_DIBBITBLT:
        if (p.bytes() == 18) // no bitmap
            blit(p, p.u32(0), 0, 0, 0, 0, p.s(8), p.s(7), p.s(6), p.s(5), {}, false);
        else if (p.has(8))
            blit(p, p.u32(0), p.s(3), p.s(2), p.s(5), p.s(4), p.s(7), p.s(6), p.s(5), p.s(4),
                 p.from(16), true);
        break;
    default:
        break; // records a label picture does not need are skipped
    }
}

} // namespace

bool SplitFile(std::string_view file, WmfFile& out)
{
    out = WmfFile{};
    if (file.size() >= 4 && rd32(file.data()) == kPlaceableKey) {
        if (file.size() < kPlaceableHeaderSize)
            return false;
        out.placeable = true;
        out.header.left = int16_t(rd16(file.data() + 6));
        out.header.top = int16_t(rd16(file.data() + 8));
        out.header.right = int16_t(rd16(file.data() + 10));
        out.header.bottom = int16_t(rd16(file.data() + 12));
        out.header.unitsPerInch = rd16(file.data() + 14);
        out.bits.assign(file.substr(kPlaceableHeaderSize));
        return true;
    }
    out.bits.assign(file);
    return true;
}

void PlaceableSizeUm(const PlaceableHeader& h, int32_t& width, int32_t& height)
{
    width = height = 0;
    if (h.unitsPerInch == 0)
        return;
    width = int32_t(std::llabs(int64_t(h.right) - h.left) * 25400 / h.unitsPerInch);
    height = int32_t(std::llabs(int64_t(h.bottom) - h.top) * 25400 / h.unitsPerInch);
}

std::string MakePlaceableFile(std::string_view bits, int32_t widthUm, int32_t heightUm)
{
    // The coarsest unit that keeps both sizes within 16 bits.
    const int64_t w = std::llabs(int64_t(widthUm));
    const int64_t h = std::llabs(int64_t(heightUm));
    uint16_t inch = 25400; // micrometres
    for (uint16_t candidate : {uint16_t(25400), uint16_t(2540), uint16_t(254), uint16_t(25)}) {
        inch = candidate;
        if (w * candidate / 25400 <= 32767 && h * candidate / 25400 <= 32767)
            break;
    }
    const int16_t right = int16_t(std::min<int64_t>(w * inch / 25400, 32767));
    const int16_t bottom = int16_t(std::min<int64_t>(h * inch / 25400, 32767));
    std::string out;
    wr32(out, kPlaceableKey);
    wr16(out, 0);
    wr16(out, 0);
    wr16(out, 0);
    wr16(out, uint16_t(right));
    wr16(out, uint16_t(bottom));
    wr16(out, inch);
    wr32(out, 0);
    uint16_t sum = 0;
    for (size_t i = 0; i + 1 < out.size(); i += 2)
        sum ^= rd16(out.data() + i);
    wr16(out, sum);
    out.append(bits);
    return out;
}

bool HasStandardHeader(std::string_view bits)
{
    if (bits.size() < kStandardHeaderSize)
        return false;
    const uint16_t type = rd16(bits.data());
    const uint16_t headerWords = rd16(bits.data() + 2);
    return (type == 1 || type == 2) && headerWords == 9;
}

int Play(CDC& dc, std::string_view bits, POINT viewportOrg, SIZE viewportExt, SIZE windowExt)
{
    if (!HasStandardHeader(bits) || windowExt.cx == 0 || windowExt.cy == 0)
        return 0;
    const size_t objectCount = rd16(bits.data() + 10);
    const int level = dc.SaveDC();
    Player player(dc, viewportOrg, viewportExt, windowExt, objectCount);
    int played = 0;
    size_t pos = kStandardHeaderSize;
    while (pos + 6 <= bits.size()) {
        const uint32_t words = rd32(bits.data() + pos);
        const uint16_t fn = rd16(bits.data() + pos + 4);
        if (words < 3 || words > (bits.size() - pos) / 2)
            break; // damaged: what was valid has been drawn
        if (fn == META_EOF)
            break;
        player.record(fn, Params(bits.data() + pos + 6, size_t(words) * 2 - 6));
        ++played;
        pos += size_t(words) * 2;
    }
    dc.RestoreDC(level);
    return played;
}

} // namespace wmf
