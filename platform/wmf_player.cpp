// The metafile player: record dispatch, drawing state and the mapping from
// logical to device coordinates.
#include "platform/wmf_player.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace wmf::detail {

namespace {

// Device coordinates are kept well inside int32 for the device context.
constexpr double kCoordLimit = double(1 << 24);
constexpr size_t kMaxSaveDepth = 256;
constexpr int64_t kMaxExtent = int64_t(1) << 30;

int32_t addClamped(int32_t a, int32_t b)
{
    return int32_t(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX));
}

// Scales an extent by num / denom; false when the result is 0, too large
// or the denominator is 0.
bool scaleExtent(int32_t& ext, int num, int denom)
{
    if (denom == 0)
        return false;
    const int64_t v = int64_t(ext) * num / denom;
    if (v == 0 || std::llabs(v) >= kMaxExtent)
        return false;
    ext = int32_t(v);
    return true;
}

} // namespace

Player::Player(CDC& dc, POINT vpOrg, SIZE vpExt, SIZE winExt, size_t objectCount)
    : m_dc(dc), m_objects(objectCount), m_initialClip(dc.GetClipRegion())
{
    m_state.winExt = winExt;
    m_state.vpOrg = vpOrg;
    m_state.vpExt = vpExt;
    SetFaceName(m_state.font, "Arial");
}

double Player::computeScaleX() const
{
    const State& s = m_state;
    const double dpi = m_dc.GetDeviceCaps(LOGPIXELSX) > 0 ? m_dc.GetDeviceCaps(LOGPIXELSX) : 96;
    switch (s.mapMode) {
    case MM_TEXT: return 1.0;
    case MM_LOMETRIC: return dpi / 254.0;
    case MM_HIMETRIC: return dpi / 2540.0;
    case MM_LOENGLISH: return dpi / 100.0;
    case MM_HIENGLISH: return dpi / 1000.0;
    case MM_TWIPS: return dpi / 1440.0;
    default: break;
    }
    if (s.winExt.cx == 0)
        return 0.0;
    const double sx = double(s.vpExt.cx) / s.winExt.cx;
    if (s.mapMode == MM_ISOTROPIC && s.winExt.cy != 0) {
        const double sy = double(s.vpExt.cy) / s.winExt.cy;
        return std::copysign(std::min(std::fabs(sx), std::fabs(sy)), sx);
    }
    return sx;
}

double Player::computeScaleY() const
{
    const State& s = m_state;
    const double dpi = m_dc.GetDeviceCaps(LOGPIXELSY) > 0 ? m_dc.GetDeviceCaps(LOGPIXELSY) : 96;
    switch (s.mapMode) {
    case MM_TEXT: return 1.0;
    case MM_LOMETRIC: return -dpi / 254.0;
    case MM_HIMETRIC: return -dpi / 2540.0;
    case MM_LOENGLISH: return -dpi / 100.0;
    case MM_HIENGLISH: return -dpi / 1000.0;
    case MM_TWIPS: return -dpi / 1440.0;
    default: break;
    }
    if (s.winExt.cy == 0)
        return 0.0;
    const double sy = double(s.vpExt.cy) / s.winExt.cy;
    if (s.mapMode == MM_ISOTROPIC && s.winExt.cx != 0) {
        const double sx = double(s.vpExt.cx) / s.winExt.cx;
        return std::copysign(std::min(std::fabs(sx), std::fabs(sy)), sy);
    }
    return sy;
}

namespace {

int roundToInt(double d)
{
    d = std::clamp(d, -kCoordLimit, kCoordLimit);
    return d >= 0 ? int(d + 0.5) : -int(0.5 - d);
}

} // namespace

int Player::mapX(int32_t x) const
{
    return roundToInt(m_state.vpOrg.x + (double(x) - m_state.winOrg.x) * m_sx);
}

int Player::mapY(int32_t y) const
{
    return roundToInt(m_state.vpOrg.y + (double(y) - m_state.winOrg.y) * m_sy);
}

QPointF Player::mapPointF(int32_t x, int32_t y) const
{
    return QPointF(std::clamp(m_state.vpOrg.x + (double(x) - m_state.winOrg.x) * m_sx, -kCoordLimit, kCoordLimit),
                   std::clamp(m_state.vpOrg.y + (double(y) - m_state.winOrg.y) * m_sy, -kCoordLimit, kCoordLimit));
}

int Player::lengthX(int32_t v) const
{
    return int(std::lround(std::min(std::fabs(double(v) * scaleX()), kCoordLimit)));
}

int Player::lengthY(int32_t v) const
{
    return int(std::lround(std::min(std::fabs(double(v) * scaleY()), kCoordLimit)));
}

void Player::record(uint16_t fn, const Params& p)
{
    m_sx = computeScaleX();
    m_sy = computeScaleY();
    if (stateRecord(fn, p) || mappingRecord(fn, p) || objectRecord(fn, p) || regionRecord(fn, p) ||
        drawRecord(fn, p) || bitmapRecord(fn, p))
        return;
    // Escapes (comments, embedded copies), records that only concern the
    // screen and unknown records are skipped by their size.
}

bool Player::stateRecord(uint16_t fn, const Params& p)
{
    switch (fn) {
    case META_SAVEDC:
        if (m_saved.size() < kMaxSaveDepth)
            m_saved.push_back(Saved{m_state, m_dc.SaveDC()});
        return true;
    case META_RESTOREDC: {
        // Negative: that many levels back from the last save; positive: the
        // level with that number.
        const int n = p.s(0);
        size_t index;
        if (n < 0 && size_t(-n) <= m_saved.size())
            index = m_saved.size() - size_t(-n);
        else if (n > 0 && size_t(n) <= m_saved.size())
            index = size_t(n) - 1;
        else
            return true;
        m_state = m_saved[index].state;
        m_dc.RestoreDC(m_saved[index].dcLevel);
        m_saved.resize(index);
        return true;
    }
    case META_SETBKMODE: m_state.bkMode = p.s(0) == TRANSPARENT ? TRANSPARENT : OPAQUE; return true;
    case META_SETROP2:
        if (p.s(0) >= R2_BLACK && p.s(0) <= R2_WHITE)
            m_state.rop = p.s(0);
        return true;
    case META_SETPOLYFILLMODE:
        if (p.s(0) == ALTERNATE || p.s(0) == WINDING)
            m_state.polyFillMode = p.s(0);
        return true;
    case META_SETTEXTCHAREXTRA: m_state.charExtra = p.s(0); return true;
    case META_SETTEXTJUSTIFICATION:
        m_state.breakCount = std::max<int>(p.s(0), 0);
        m_state.breakExtra = m_state.breakCount ? p.s(1) : 0;
        return true;
    case META_SETTEXTALIGN: m_state.textAlign = p.u(0); return true;
    case META_SETBKCOLOR: m_state.bkColor = colour(p.u32(0)); return true;
    case META_SETTEXTCOLOR: m_state.textColor = colour(p.u32(0)); return true;
    case META_MOVETO: m_state.pos = POINT{p.s(1), p.s(0)}; return true;
    default: return false;
    }
}

bool Player::mappingRecord(uint16_t fn, const Params& p)
{
    State& s = m_state;
    const bool scalable = s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC;
    switch (fn) {
    case META_SETMAPMODE: {
        const int mode = p.s(0);
        if (mode < MM_TEXT || mode > MM_ANISOTROPIC || mode == s.mapMode)
            return true;
        if (mode >= MM_ISOTROPIC && !scalable) {
            // The fixed mode's scale carries over as extents.
            const double sx = scaleX(), sy = scaleY();
            s.winExt = SIZE{10000, 10000};
            s.vpExt = SIZE{int32_t(std::lround(10000 * sx)), int32_t(std::lround(10000 * sy))};
            if (s.vpExt.cx == 0 || s.vpExt.cy == 0)
                s.vpExt = SIZE{10000, 10000};
        }
        s.mapMode = mode;
        return true;
    }
    case META_SETWINDOWORG: s.winOrg = POINT{p.s(1), p.s(0)}; return true;
    case META_SETVIEWPORTORG: s.vpOrg = POINT{p.s(1), p.s(0)}; return true;
    case META_OFFSETWINDOWORG:
        s.winOrg.x = addClamped(s.winOrg.x, p.s(1));
        s.winOrg.y = addClamped(s.winOrg.y, p.s(0));
        return true;
    case META_OFFSETVIEWPORTORG:
        s.vpOrg.x = addClamped(s.vpOrg.x, p.s(1));
        s.vpOrg.y = addClamped(s.vpOrg.y, p.s(0));
        return true;
    case META_SETWINDOWEXT:
    case META_SETVIEWPORTEXT:
        if (scalable && p.s(0) != 0 && p.s(1) != 0)
            (fn == META_SETWINDOWEXT ? s.winExt : s.vpExt) = SIZE{p.s(1), p.s(0)};
        return true;
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT: {
        if (!scalable)
            return true;
        SIZE ext = fn == META_SCALEWINDOWEXT ? s.winExt : s.vpExt;
        if (scaleExtent(ext.cx, p.s(3), p.s(2)) && scaleExtent(ext.cy, p.s(1), p.s(0)))
            (fn == META_SCALEWINDOWEXT ? s.winExt : s.vpExt) = ext;
        return true;
    }
    default: return false;
    }
}

} // namespace wmf::detail
