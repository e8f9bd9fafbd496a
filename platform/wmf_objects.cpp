// The metafile player's objects: pens, brushes, fonts, palettes and regions,
// and the clip records that use regions.
#include "platform/dc_internal.h"
#include "platform/dib.h"
#include "platform/wmf_player.h"

#include <algorithm>
#include <cstring>

namespace wmf::detail {

namespace {

constexpr size_t kMaxPaletteEntries = 1024;
// Rectangles kept of one region: every figure drawn while a region clips is
// cut against it, so a hostile region of many thousand rectangles would
// make each figure cost as much. Clip-art regions have a few dozen.
constexpr size_t kMaxRegionRects = 2048;

// A Bitmap16 object (type, width, height, bytes per row, planes, bits per
// pixel) with its rows as an image; null when it does not add up or is not
// a form pictures use (1, 24 or 32 bits per pixel in one plane).
QImage bitmap16Image(std::string_view header, std::string_view bits, bool& monochrome)
{
    monochrome = false;
    if (header.size() < 10)
        return {};
    const int width = int16_t(rd16(header.data() + 2));
    const int height = int16_t(rd16(header.data() + 4));
    const int stride = int16_t(rd16(header.data() + 6));
    const int planes = uint8_t(header[8]);
    const int bpp = uint8_t(header[9]);
    if (width <= 0 || height <= 0 || stride <= 0 || planes != 1 ||
        int64_t(width) * height > dib::kMaxPixels)
        return {};
    if ((bpp != 1 && bpp != 24 && bpp != 32) || int64_t(stride) * 8 < int64_t(width) * bpp ||
        size_t(stride) * size_t(height) > bits.size())
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint8_t*>(bits.data()) + size_t(y) * size_t(stride);
        auto* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bpp == 1) {
                out[x] = ((row[x / 8] >> (7 - x % 8)) & 1) ? 0xFFFFFFFFu : 0xFF000000u;
            } else {
                const uint8_t* px = row + size_t(x) * size_t(bpp / 8);
                out[x] = 0xFF000000u | (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
            }
        }
    }
    monochrome = bpp == 1;
    return image;
}

// Region rectangles from a Region object: scans of left/right pairs
// between a top and a bottom. A region without scans is its bounding box.
std::vector<RECT> parseRegion(const Params& p)
{
    std::vector<RECT> rects;
    if (!p.has(11))
        return rects;
    const int scans = p.s(5);
    const RECT bounds{p.s(7), p.s(8), p.s(9), p.s(10)};
    if (scans <= 0) {
        if (!bounds.IsEmpty())
            rects.push_back(bounds);
        return rects;
    }
    size_t w = 11;
    for (int i = 0; i < scans; ++i) {
        if (!p.has(w + 3))
            break;
        const size_t count = p.u(w);
        const int top = p.s(w + 1), bottom = p.s(w + 2);
        const size_t pairs = count / 2;
        if (!p.has(w + 3 + 2 * pairs + 1))
            break;
        for (size_t k = 0; k < pairs && rects.size() < kMaxRegionRects; ++k) {
            const RECT r{p.s(w + 3 + 2 * k), top, p.s(w + 4 + 2 * k), bottom};
            if (!r.IsEmpty())
                rects.push_back(r);
        }
        w += 3 + 2 * pairs + 1;
    }
    return rects;
}

// Union of many rectangles, halving the work at each step.
QRegion unite(const std::vector<QRect>& rects, size_t from, size_t to)
{
    if (to - from == 1)
        return QRegion(rects[from]);
    if (to == from)
        return QRegion();
    const size_t mid = from + (to - from) / 2;
    return unite(rects, from, mid).united(unite(rects, mid, to));
}

} // namespace

void Player::addObject(GdiObject o)
{
    // Like GDI, a new object takes the first free slot of the table. No
    // slot below m_firstFree is free, so a full table is not walked again
    // for every further object.
    for (; m_firstFree < m_objects.size(); ++m_firstFree)
        if (m_objects[m_firstFree].kind == GdiObject::Free) {
            m_objects[m_firstFree++] = std::move(o);
            return;
        }
}

const GdiObject* Player::object(size_t index, GdiObject::Kind kind) const
{
    if (index >= m_objects.size() || m_objects[index].kind != kind)
        return nullptr;
    return &m_objects[index];
}

COLORREF Player::colour(uint32_t colorref) const
{
    // 0x01000000 | index: an entry of the selected palette.
    if ((colorref >> 24) == 1) {
        const GdiObject* pal = m_state.palette >= 0 ? object(size_t(m_state.palette), GdiObject::Palette) : nullptr;
        const size_t i = colorref & 0xFFFF;
        return pal && i < pal->palette.size() ? pal->palette[i] : RGB(0, 0, 0);
    }
    return colorref & 0xFFFFFF;
}

CBrush Player::brushFromBitmap16(std::string_view bitmap) const
{
    bool mono = false;
    const QImage image = bitmap16Image(bitmap.substr(0, 10), bitmap.size() > 10 ? bitmap.substr(10) : std::string_view(), mono);
    return CBrush::Pattern(image, mono);
}

QImage Player::bitmap16(std::string_view bitmap) const
{
    bool mono = false;
    QImage image = bitmap16Image(bitmap.substr(0, 10), bitmap.size() > 10 ? bitmap.substr(10) : std::string_view(), mono);
    if (mono)
        dcpixel::Recolour(image, m_state.textColor, m_state.bkColor);
    return image;
}

QImage Player::dibImage(std::string_view dib, uint16_t usage, QRect part, QSize size) const
{
    const auto decode = [part, size](std::string_view packed) {
        return part.isNull() ? dib::PackedToImage(packed) : dib::PackedPartToImage(packed, part, size);
    };
    if (usage != DIB_PAL_COLORS)
        return decode(dib);
    // The colour table holds 16-bit indices into the selected palette: it
    // becomes a table of colours first.
    if (dib.size() < dib::kInfoHeaderSize)
        return {};
    const uint32_t headerSize = rd32(dib.data());
    if (headerSize < dib::kInfoHeaderSize || headerSize > dib.size())
        return {};
    const uint16_t bitCount = rd16(dib.data() + 14);
    uint32_t entries = rd32(dib.data() + 32);
    if (bitCount <= 8 && entries == 0)
        entries = 1u << bitCount;
    if (bitCount > 8 || entries > 256 || headerSize + size_t(entries) * 2 > dib.size())
        return decode(dib);
    const GdiObject* pal = m_state.palette >= 0 ? object(size_t(m_state.palette), GdiObject::Palette) : nullptr;
    std::string packed(dib.substr(0, headerSize));
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t index = rd16(dib.data() + headerSize + 2 * i);
        const COLORREF c = pal && index < pal->palette.size() ? pal->palette[index] : RGB(0, 0, 0);
        packed.push_back(char(GetBValue(c)));
        packed.push_back(char(GetGValue(c)));
        packed.push_back(char(GetRValue(c)));
        packed.push_back('\0');
    }
    packed.append(dib.substr(headerSize + size_t(entries) * 2));
    return decode(packed);
}

CBrush Player::brushFromDib(std::string_view dib, uint16_t usage) const
{
    // A tile the brush would refuse is not decoded.
    const dib::DibSize size = dib::HeaderSize(dib);
    if (size.width > CBrush::kMaxPatternSide || size.height > CBrush::kMaxPatternSide)
        return CBrush::Hollow();
    return CBrush::Pattern(dibImage(dib, usage), false);
}

QRegion Player::deviceRegion(const GdiObject& region) const
{
    // A region used again and again under the same mapping is mapped once.
    const std::array<double, 4> mapping{scaleX(), scaleY(), double(mapX(0)), double(mapY(0))};
    if (region.deviceMapping == mapping)
        return region.device;
    std::vector<QRect> rects;
    rects.reserve(region.region.size());
    for (const RECT& r : region.region) {
        const RECT d = mapRect(r.left, r.top, r.right, r.bottom).Normalized();
        if (!d.IsEmpty())
            rects.emplace_back(QPoint(d.left, d.top), QPoint(d.right - 1, d.bottom - 1));
    }
    region.device = unite(rects, 0, rects.size());
    region.deviceMapping = mapping;
    return region.device;
}

bool Player::objectRecord(uint16_t fn, const Params& p)
{
    switch (fn) {
    case META_CREATEPENINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Pen;
        o.penStyle = p.u(0);
        o.penWidth = std::abs(int(p.s(1)));
        o.color = colour(p.u32(3));
        addObject(std::move(o));
        return true;
    }
    case META_CREATEBRUSHINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Brush;
        const int style = p.u(0);
        const COLORREF c = colour(p.u32(1));
        if (style == BS_NULL)
            o.brush = CBrush::Hollow();
        else if (style == BS_HATCHED)
            o.brush = CBrush::Hatched(std::min<int>(p.u(3), HS_DIAGCROSS), c);
        else
            o.brush = CBrush::Solid(c);
        addObject(std::move(o));
        return true;
    }
    case META_CREATEPATTERNBRUSH: {
        // A Bitmap16 header, 18 reserved bytes, then the rows.
        GdiObject o;
        o.kind = GdiObject::Brush;
        bool mono = false;
        const QImage tile = bitmap16Image(p.from(0).substr(0, 10), p.from(28), mono);
        o.brush = CBrush::Pattern(tile, mono);
        addObject(std::move(o));
        return true;
    }
    case META_DIBCREATEPATTERNBRUSH: {
        GdiObject o;
        o.kind = GdiObject::Brush;
        o.brush = p.u(0) == BS_PATTERN ? brushFromBitmap16(p.from(4)) : brushFromDib(p.from(4), p.u(1));
        addObject(std::move(o));
        return true;
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
        addObject(std::move(o));
        return true;
    }
    case META_CREATEPALETTE: {
        GdiObject o;
        o.kind = GdiObject::Palette;
        const size_t n = std::min<size_t>({p.u(1), (p.bytes() - std::min<size_t>(p.bytes(), 4)) / 4, kMaxPaletteEntries});
        for (size_t i = 0; i < n; ++i)
            o.palette.push_back(RGB(uint8_t(p.from(4 + 4 * i)[0]), uint8_t(p.from(4 + 4 * i)[1]),
                                    uint8_t(p.from(4 + 4 * i)[2])));
        addObject(std::move(o));
        return true;
    }
    case META_CREATEREGION: {
        GdiObject o;
        o.kind = GdiObject::Region;
        o.region = parseRegion(p);
        addObject(std::move(o));
        return true;
    }
    case META_CREATEBRUSH:
    case META_CREATEBITMAP:
    case META_CREATEBITMAPINDIRECT: {
        // Obsolete objects: they take a slot and draw nothing.
        GdiObject o;
        o.kind = GdiObject::Other;
        addObject(std::move(o));
        return true;
    }
    case META_SELECTOBJECT: {
        const size_t i = p.u(0);
        if (i >= m_objects.size())
            return true;
        const GdiObject& o = m_objects[i];
        switch (o.kind) {
        case GdiObject::Pen:
            m_state.penStyle = o.penStyle;
            m_state.penWidth = o.penWidth;
            m_state.penColor = o.color;
            break;
        case GdiObject::Brush: m_state.brush = o.brush; break;
        case GdiObject::Font: m_state.font = o.font; break;
        case GdiObject::Region: {
            // Selecting a region makes it the clip, like SELECTCLIPREGION.
            QRegion r = deviceRegion(o);
            if (m_initialClip)
                r = r.intersected(*m_initialClip);
            m_dc.SelectClipRegion(&r);
            break;
        }
        default: break;
        }
        return true;
    }
    case META_SELECTPALETTE:
        if (object(p.u(0), GdiObject::Palette))
            m_state.palette = p.u(0);
        return true;
    case META_SETPALENTRIES:
    case META_ANIMATEPALETTE: {
        const GdiObject* sel = m_state.palette >= 0 ? object(size_t(m_state.palette), GdiObject::Palette) : nullptr;
        if (!sel)
            return true;
        auto& pal = m_objects[size_t(m_state.palette)].palette;
        const size_t start = p.u(0);
        const size_t n = std::min<size_t>(p.u(1), (p.bytes() - std::min<size_t>(p.bytes(), 4)) / 4);
        for (size_t i = 0; i < n && start + i < pal.size(); ++i) {
            const std::string_view e = p.from(4 + 4 * i);
            pal[start + i] = RGB(uint8_t(e[0]), uint8_t(e[1]), uint8_t(e[2]));
        }
        return true;
    }
    case META_RESIZEPALETTE:
        if (m_state.palette >= 0 && object(size_t(m_state.palette), GdiObject::Palette))
            m_objects[size_t(m_state.palette)].palette.resize(std::min<size_t>(p.u(0), kMaxPaletteEntries),
                                                              RGB(0, 0, 0));
        return true;
    case META_REALIZEPALETTE: return true;
    case META_DELETEOBJECT: {
        const size_t i = p.u(0);
        if (i < m_objects.size()) {
            m_objects[i] = GdiObject{};
            m_firstFree = std::min(m_firstFree, i);
            if (int(i) == m_state.palette)
                m_state.palette = -1;
        }
        return true;
    }
    default: return false;
    }
}

bool Player::regionRecord(uint16_t fn, const Params& p)
{
    switch (fn) {
    case META_SELECTCLIPREGION: {
        // Anything but a region object removes the metafile's own clip.
        const GdiObject* region = object(p.u(0), GdiObject::Region);
        if (!region) {
            m_dc.SelectClipRegion(m_initialClip ? &*m_initialClip : nullptr);
            return true;
        }
        QRegion r = deviceRegion(*region);
        if (m_initialClip)
            r = r.intersected(*m_initialClip);
        m_dc.SelectClipRegion(&r);
        return true;
    }
    case META_INTERSECTCLIPRECT:
    case META_EXCLUDECLIPRECT:
        if (p.has(4)) {
            const RECT r = mapRect(p.s(3), p.s(2), p.s(1), p.s(0)).Normalized();
            if (fn == META_INTERSECTCLIPRECT) {
                m_dc.IntersectClipRect(r);
            } else {
                // Holes beyond the region limit are not cut (see above).
                const auto clip = m_dc.GetClipRegion();
                if (!clip || size_t(clip->rectCount()) < kMaxRegionRects)
                    m_dc.ExcludeClipRect(r);
            }
        }
        return true;
    case META_OFFSETCLIPRGN:
        if (p.has(2)) {
            const double dx = p.s(1) * scaleX(), dy = p.s(0) * scaleY();
            m_dc.OffsetClipRgn(int(std::lround(std::clamp(dx, -1e7, 1e7))), int(std::lround(std::clamp(dy, -1e7, 1e7))));
        }
        return true;
    case META_FILLREGION:
    case META_FRAMEREGION:
    case META_PAINTREGION:
    case META_INVERTREGION: {
        const GdiObject* region = object(p.u(0), GdiObject::Region);
        if (!region)
            return true;
        const QRegion r = deviceRegion(*region);
        m_dc.SetROP2(m_state.rop);
        m_dc.SetBkMode(m_state.bkMode);
        m_dc.SetBkColor(m_state.bkColor);
        m_dc.SetTextColor(m_state.textColor);
        if (fn == META_INVERTREGION) {
            m_dc.InvertRegion(r);
        } else if (fn == META_PAINTREGION) {
            m_dc.FillRegion(r, m_state.brush);
        } else if (const GdiObject* brush = object(p.u(1), GdiObject::Brush)) {
            if (fn == META_FILLREGION)
                m_dc.FillRegion(r, brush->brush);
            else
                m_dc.FrameRegion(r, brush->brush, std::max(1, lengthX(p.s(3))), std::max(1, lengthY(p.s(2))));
        }
        return true;
    }
    default: return false;
    }
}

} // namespace wmf::detail
