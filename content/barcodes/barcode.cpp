#include "content/barcodes/barcode.h"
#include "platform/codepage.h"

#include "content/barcodes/qrcode.h"
#include "platform/muldiv.h"
#include "platform/units.h"

#include <algorithm>
#include <cctype>
#include <limits>

using namespace barcodes;

namespace {

struct Rect64 {
    int64_t left, top, right, bottom;
};

Rect64 MapRect64(int rotation, int x, int y, int64_t u0, int64_t u1, int64_t v0, int64_t v1)
{
    switch (rotation) {
    case 0: return {x + u0, y + v0, x + u1, y + v1};
    case 900: return {x + v0, y - u1, x + v1, y - u0};
    case 1800: return {x - u1, y - v1, x - u0, y - v0};
    case 2700: return {x - v1, y + u0, x - v0, y + u1};
    default: return {0, 0, 0, 0};
    }
}

POINT MapPoint(int rotation, int x, int y, int64_t along, int64_t across)
{
    const Rect64 r = MapRect64(rotation, x, y, along, along, across, across);
    switch (rotation) {
    case 900: return {units::clamp32(r.left), units::clamp32(r.bottom)};
    case 1800: return {units::clamp32(r.right), units::clamp32(r.bottom)};
    case 2700: return {units::clamp32(r.right), units::clamp32(r.top)};
    default: return {units::clamp32(r.left), units::clamp32(r.top)};
    }
}

bool ValidRotation(int rotation)
{
    return rotation == 0 || rotation == 900 || rotation == 1800 || rotation == 2700;
}

// Micrometres of a pixel count, truncated or rounded; 0 for resolution <= 0.
int32_t PixelsToUm(int64_t pixels, int resolution, bool rounded)
{
    if (resolution <= 0)
        return 0;
    return rounded ? units::PxToUm(pixels, resolution) : units::PxToUmTruncated(pixels, resolution);
}

std::string CutLine(std::string s)
{
    if (s.size() > kMaxHumanReadable)
        s.resize(kMaxHumanReadable);
    return s;
}

} // namespace

// --- CBarcode ---------------------------------------------------------------------

int32_t CBarcode::GetHeight(const BarcodeHost& /*host*/, std::string_view /*text*/, int /*resolution*/) const
{
    return GetBarHeight();
}

RECT CBarcode::MapRect(int rotation, int x, int y, int64_t along0, int64_t along1, int64_t across0, int64_t across1)
{
    const Rect64 r = MapRect64(rotation, x, y, along0, along1, across0, across1);
    return RECT{units::clamp32(r.left), units::clamp32(r.top), units::clamp32(r.right), units::clamp32(r.bottom)};
}

void CBarcode::DrawBar(CDC& dc, COLORREF color, int rotation, int64_t offset, const RECT& clip, int x, int y,
                       int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0)
        return;
    FillMapped(dc, color, rotation, x, y, offset, offset + width, 0, height, clip);
}

void CBarcode::FillMapped(CDC& dc, COLORREF color, int rotation, int x, int y, int64_t along0, int64_t along1,
                          int64_t across0, int64_t across1, const RECT& clip)
{
    if (!ValidRotation(rotation) || along1 <= along0 || across1 <= across0)
        return;
    const Rect64 r = MapRect64(rotation, x, y, along0, along1, across0, across1);
    const RECT c = clip.Normalized();
    const RECT cut{units::clamp32(std::max<int64_t>(r.left, c.left)), units::clamp32(std::max<int64_t>(r.top, c.top)),
                   units::clamp32(std::min<int64_t>(r.right, c.right)), units::clamp32(std::min<int64_t>(r.bottom, c.bottom))};
    if (cut.IsEmpty())
        return;
    dc.FillSolidRect(cut, color);
}

bool CBarcode::DrawHumanReadableChar(CDC& dc, int rotation, int64_t offset, int64_t across, const RECT& clip, int x,
                                     int y, char ch, bool centred)
{
    if (!ValidRotation(rotation))
        return false;
    const std::string_view s(&ch, 1);
    const SIZE size = dc.GetTextExtent(s);
    const int64_t left = centred ? offset - size.cx / 2 : offset;
    const Rect64 r = MapRect64(rotation, x, y, left, left + size.cx, across, across + size.cy);
    const RECT c = clip.Normalized();
    if (r.left < c.left || r.top < c.top || r.right > c.right || r.bottom > c.bottom)
        return false;
    const POINT ref = MapPoint(rotation, x, y, left, across);
    const unsigned oldAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.ExtTextOut(ref.x, ref.y, ETO_CLIPPED, &c, s);
    dc.SetTextAlign(oldAlign);
    return true;
}

// --- CBarcodeModular ----------------------------------------------------------------

bool CBarcodeModular::Load(RecordReader& r)
{
    m_quietZones = r.u8();
    m_showText = r.u8();
    m_gapCorrection = r.i16();
    m_barHeight = r.i32();
    m_module = r.i32();
    return r.ok();
}

void CBarcodeModular::Save(RecordWriter& w) const
{
    w.u8(m_quietZones);
    w.u8(m_showText);
    w.i16(m_gapCorrection);
    w.i32(m_barHeight);
    w.i32(m_module);
}

int32_t CBarcodeModular::WidthToUm(int64_t pixels, int resolution) const
{
    return PixelsToUm(pixels, resolution, false);
}

int32_t CBarcodeModular::GetWidth(std::string_view text, int resolution) const
{
    if (resolution <= 0 || text.empty())
        return 0;
    const auto layout = Layout(text, resolution, resolution);
    if (!layout || layout->bars.empty())
        return 0;
    return WidthToUm(layout->width, resolution);
}

int64_t ScalePixels(int64_t v, int from, int to)
{
    if (from <= 0 || to <= 0 || from == to)
        return v;
    const int64_t limit = int64_t(1) << 40;
    v = std::clamp(v, -limit, limit);
    const int64_t p = v * to;
    return p >= 0 ? (2 * p + from) / (2 * int64_t(from)) : -((-2 * p + from) / (2 * int64_t(from)));
}

void LayoutResolutions(const BarcodeHost& host, int resX, int resY, int& along, int& across)
{
    along = host.layoutResX > 0 ? host.layoutResX : resX;
    across = host.layoutResY > 0 ? host.layoutResY : resY;
    if (host.rotation == 900 || host.rotation == 2700)
        std::swap(along, across);
}

namespace {

// The layout made at `from` pixels per inch along the symbol, moved to the
// device's `to`: every edge scaled on its own, so the symbol keeps its
// width; a bar never vanishes: one narrower than a pixel there takes the
// pixel that holds its middle.
void ScaleLayout(LinearLayout& layout, int from, int to)
{
    if (from == to || from <= 0 || to <= 0)
        return;
    for (BarRun& bar : layout.bars) {
        const int64_t start = ScalePixels(bar.offset, from, to);
        const int64_t end = ScalePixels(bar.offset + bar.width, from, to);
        if (end > start) {
            bar.offset = start;
            bar.width = end - start;
            continue;
        }
        // Twice the middle, in pixels of `to`, rounded down.
        const int64_t twice = (2 * bar.offset + bar.width) * to;
        const int64_t middle2 = twice >= 0 ? twice / from : -((-twice + from - 1) / from);
        bar.offset = middle2 >= 0 ? middle2 / 2 : -((-middle2 + 1) / 2);
        bar.width = 1;
    }
    for (LayoutChar& c : layout.chars)
        c.offset = ScalePixels(c.offset, from, to);
    layout.width = ScalePixels(layout.width, from, to);
}

} // namespace

BarcodeDrawResult CBarcodeModular::Draw(const BarcodeHost& host, CDC& dc, int resX, int resY, int x, int y,
                                        std::string_view text) const
{
    if (text.empty())
        return BarcodeDrawResult::kEmpty;
    const int rotation = host.rotation;
    int resAlong = resX, resAcross = resY;
    if (rotation == 900 || rotation == 2700)
        std::swap(resAlong, resAcross);
    int layAlong, layAcross;
    LayoutResolutions(host, resX, resY, layAlong, layAcross);
    auto layout = Layout(text, layAlong, layAcross);
    if (!layout)
        return BarcodeDrawResult::kNotEncodable;
    if (layout->bars.empty())
        return BarcodeDrawResult::kEmpty;
    const int n = std::max(0, units::UmToPx(m_module, layAlong));
    if (n == 0) // a symbol of no size: nothing to draw
        return BarcodeDrawResult::kDrawn;
    ScaleLayout(*layout, layAlong, resAlong);
    if (layout->resAlong > 0) {
        layout->resAlong = resAlong;
        layout->resAcross = resAcross;
    }
    int64_t h = 0, longH = 0;
    BarHeights(resAcross, h, longH);
    const COLORREF color = host.barColor;
    for (const BarRun& bar : layout->bars)
        DrawBar(dc, color, rotation, bar.offset, host.deviceRect, x, y, bar.width, bar.longBar ? longH : h);
    if (m_showText) {
        const int quiet = units::clamp32(ScalePixels(10 * int64_t(n), layAlong, resAlong));
        DrawHumanReadable(host, dc, *layout, quiet, h, x, y, host.context.labelNumber, text);
    }
    return BarcodeDrawResult::kDrawn;
}

void CBarcodeModular::BarHeights(int resAcross, int64_t& shortBars, int64_t& longBars) const
{
    shortBars = longBars = std::max(0, units::UmToPx(m_barHeight, resAcross));
}

void CBarcodeModular::DrawHumanReadable(const BarcodeHost& host, CDC& dc, const LinearLayout& /*layout*/, int quiet,
                                        int64_t h, int x, int y, int labelNumber, std::string_view text) const
{
    const std::string line = CutLine(HumanReadableText(text, labelNumber));
    if (line.empty() || !ValidRotation(host.rotation))
        return;
    const int along = m_quietZones ? quiet : 0;
    const POINT ref = MapPoint(host.rotation, x, y, along, h);
    host.DrawTextLine(dc, ref, along, units::clamp32(h), line);
}

// --- Code 39 ---------------------------------------------------------------------------

bool CBarcodeCode39::Load(RecordReader& r)
{
    CBarcodeModular::Load(r);
    m_ratio = r.i16();
    m_addCheckDigit = r.u8();
    m_reserved = r.i16();
    m_showCheckDigit = r.u8();
    return r.ok();
}

void CBarcodeCode39::Save(RecordWriter& w) const
{
    CBarcodeModular::Save(w);
    w.i16(m_ratio);
    w.u8(m_addCheckDigit);
    w.i16(m_reserved);
    w.u8(m_showCheckDigit);
}

std::optional<LinearLayout> CBarcodeCode39::Layout(std::string_view text, int resAlong, int /*resAcross*/) const
{
    LayoutMetrics m;
    m.n = std::max(0, units::UmToPx(m_module, resAlong));
    m.w = std::max(0, MulDiv(m.n, m_ratio, 10));
    m.g = m_gapCorrection;
    m.quietZones = m_quietZones != 0;
    return LayoutCode39(text, m_addCheckDigit != 0, m);
}

std::string CBarcodeCode39::HumanReadableText(std::string_view text, int labelNumber) const
{
    if (labelNumber < 1)
        return "{Code39} " + std::string(text);
    std::string line(text);
    if (m_addCheckDigit && m_showCheckDigit)
        line += Code39CheckChar(text);
    return line;
}

// --- 2 of 5 interleaved -------------------------------------------------------------------

bool CBarcodeCode2of5Int::Load(RecordReader& r)
{
    CBarcodeModular::Load(r);
    m_ratio = r.i16();
    m_addCheckDigit = r.u8();
    m_reserved1 = r.u8();
    m_reserved2 = r.i32();
    m_showCheckDigit = r.u8();
    return r.ok();
}

void CBarcodeCode2of5Int::Save(RecordWriter& w) const
{
    CBarcodeModular::Save(w);
    w.i16(m_ratio);
    w.u8(m_addCheckDigit);
    w.u8(m_reserved1);
    w.i32(m_reserved2);
    w.u8(m_showCheckDigit);
}

std::optional<LinearLayout> CBarcodeCode2of5Int::Layout(std::string_view text, int resAlong, int /*resAcross*/) const
{
    LayoutMetrics m;
    m.n = std::max(0, units::UmToPx(m_module, resAlong));
    m.w = std::max(0, MulDiv(m.n, m_ratio, 10));
    m.g = m_gapCorrection;
    m.quietZones = m_quietZones != 0;
    return LayoutItf(text, m_addCheckDigit != 0, m);
}

std::string CBarcodeCode2of5Int::HumanReadableText(std::string_view text, int labelNumber) const
{
    if (labelNumber < 1)
        return "2/5 int " + std::string(text);
    std::string line(text);
    if (m_addCheckDigit && m_showCheckDigit) {
        const std::string digits = ItfDigits(text, false);
        line += char('0' + Mod10CheckDigit(digits));
    }
    return line;
}

// --- Code 128 and EAN 128 ----------------------------------------------------------------

bool CBarcodeCode128::Load(RecordReader& r)
{
    CBarcodeModular::Load(r);
    r.skip(4);
    return r.ok();
}

void CBarcodeCode128::Save(RecordWriter& w) const
{
    CBarcodeModular::Save(w);
    w.i32(0);
}

std::optional<std::vector<int>> CBarcodeCode128::Codewords(std::string_view text) const
{
    return Code128Codewords(text, UsesFNC1());
}

std::optional<LinearLayout> CBarcodeCode128::Layout(std::string_view text, int resAlong, int /*resAcross*/) const
{
    const auto cw = Codewords(text);
    if (!cw)
        return text.empty() ? std::optional<LinearLayout>(LinearLayout{}) : std::nullopt;
    LayoutMetrics m;
    m.n = std::max(0, units::UmToPx(m_module, resAlong));
    m.g = m_gapCorrection;
    m.quietZones = m_quietZones != 0;
    return LayoutCode128(*cw, m);
}

std::string CBarcodeCode128::HumanReadableText(std::string_view text, int labelNumber) const
{
    if (labelNumber < 1)
        return GetName() + " " + std::string(text);
    return std::string(text);
}

int32_t CBarcodeCode128::WidthToUm(int64_t pixels, int resolution) const
{
    return PixelsToUm(pixels, resolution, true);
}

// --- EAN family -----------------------------------------------------------------------------

int32_t CBarcodeEAN::GetNominalBarHeight() const
{
    return units::clamp32((100 - int64_t(m_truncation)) * (int64_t(m_module) * 22860 / 330) / 100);
}

int32_t CBarcodeEAN::GetHeight(const BarcodeHost& host, std::string_view /*text*/, int /*resolution*/) const
{
    const int64_t fontHeight = host.font.lfHeight < 0 ? -int64_t(host.font.lfHeight) : host.font.lfHeight;
    return units::clampAdd(GetNominalBarHeight(), units::PxToUmTruncated(fontHeight, 72));
}

void CBarcodeEAN::BarHeights(int resAcross, int64_t& shortBars, int64_t& longBars) const
{
    shortBars = std::max(0, units::UmToPx(GetNominalBarHeight(), resAcross));
    longBars = shortBars + std::max<int64_t>(0, (int64_t(resAcross) * m_module + 2540) * 5 / 25400);
}

std::optional<LinearLayout> CBarcodeEAN::Layout(std::string_view text, int resAlong, int resAcross) const
{
    if (text.empty())
        return LinearLayout{};
    LayoutMetrics m;
    m.n = std::max(0, units::UmToPx(m_module, resAlong));
    m.g = m_gapCorrection;
    m.quietZones = m_quietZones != 0;
    LinearLayout layout = LayoutEan(Kind(), text, m);
    layout.resAlong = resAlong;
    layout.resAcross = resAcross;
    return layout;
}

int32_t CBarcodeEAN::WidthToUm(int64_t pixels, int resolution) const
{
    return PixelsToUm(pixels, resolution, true);
}

void CBarcodeEAN::DrawHumanReadable(const BarcodeHost& host, CDC& dc, const LinearLayout& layout, int /*quiet*/,
                                    int64_t h, int x, int y, int /*labelNumber*/, std::string_view /*text*/) const
{
    if (!ValidRotation(host.rotation))
        return;
    const int saved = dc.SaveDC();
    LOGFONTA f = host.deviceFont;
    f.lfEscapement = EscapementForRotation(host.rotation);
    f.lfOrientation = f.lfEscapement;
    dc.SelectFont(f);
    if (layout.resAlong > 0 && layout.resAcross > 0 && layout.resAlong != layout.resAcross) {
        // The device font is sized by the resolution across the symbol; at
        // another resolution along it the digits are narrowed or widened to
        // the same share of their 7-module cells.
        TEXTMETRICA tm;
        dc.GetTextMetrics(tm);
        const int64_t width = (int64_t(tm.tmAveCharWidth) * layout.resAlong + layout.resAcross / 2) / layout.resAcross;
        f.lfWidth = int32_t(std::clamp<int64_t>(width, 1, 1000000));
        dc.SelectFont(f);
    }
    dc.SetTextColor(host.textColor);
    if (host.transparent) {
        dc.SetBkMode(TRANSPARENT);
    } else {
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(host.fillColor);
    }
    for (const LayoutChar& c : layout.chars)
        DrawHumanReadableChar(dc, host.rotation, c.offset, h, host.deviceRect, x, y, c.ch, c.centred);
    dc.RestoreDC(saved);
}

bool CBarcodeEAN13::Load(RecordReader& r)
{
    CBarcodeModular::Load(r);
    m_truncation = r.i16();
    return r.ok();
}

void CBarcodeEAN13::Save(RecordWriter& w) const
{
    CBarcodeModular::Save(w);
    w.i16(m_truncation);
}

// --- Factory ------------------------------------------------------------------------------

std::unique_ptr<CBarcode> CreateBarcode(int16_t key)
{
    switch (key) {
    case kKeyCode39: return std::make_unique<CBarcodeCode39>();
    case kKeyCode2of5Int: return std::make_unique<CBarcodeCode2of5Int>();
    case kKeyEAN13: return std::make_unique<CBarcodeEAN13>();
    case kKeyUPCA: return std::make_unique<CBarcodeUPCA>();
    case kKeyEAN8: return std::make_unique<CBarcodeEAN8>();
    case kKeyCode128: return std::make_unique<CBarcodeCode128>();
    case kKeyEAN128: return std::make_unique<CBarcodeEAN128>();
    case kKeyQRCode: return std::make_unique<CBarcodeQRCode>();
    default: return nullptr;
    }
}

std::unique_ptr<CBarcode> CreateBarcodeByName(std::string_view name)
{
    static const int16_t keys[] = {kKeyCode39, kKeyCode2of5Int, kKeyEAN13,  kKeyUPCA,
                                   kKeyEAN8,   kKeyCode128,     kKeyEAN128, kKeyQRCode};
    for (int16_t key : keys) {
        auto b = CreateBarcode(key);
        if (codepage::EqualsNoCase(b->GetName(), name))
            return b;
    }
    return nullptr;
}

std::unique_ptr<CBarcode> ReadBarcode(RecordReader& reader, int16_t key)
{
    auto b = CreateBarcode(key);
    if (!b) {
        reader.setDamaged();
        return nullptr;
    }
    if (!b->Load(reader))
        return nullptr;
    return b;
}
