#include "content/objects/graphbarcode.h"

#include "platform/uiservices.h"
#include "platform/numberformat.h"
#include "platform/units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

const char* const kBarcodeCutCaption = "Utskrift avbruten";
const char* const kBarcodeCutFormat = "Streckkod klippt p\xE5 etikett nummer %d med text \"%s\"";

namespace {

char separator()
{
    return numfmt::EffectiveSeparator(CurrentNumberLocale().decimalSeparator);
}

std::string mmText(int32_t um)
{
    return numfmt::FormatGeneral(um / 1000.0, 6, separator()) + " mm";
}

std::optional<double> leadingNumber(const std::string& text)
{
    return numfmt::ParseLeadingNumber(text, separator());
}

bool leadingInt(const std::string& text, int& out)
{
    int32_t v;
    if (!ScanDecimal(text, v))
        return false;
    out = v;
    return true;
}

std::string intText(int64_t v)
{
    return std::to_string(v);
}

// The object's view for a drawing: the human-readable line goes through the
// object's own one-line text drawing.
struct ObjectHost : BarcodeHost {
    const CGraphBarcode* object = nullptr;
    Resolution res;
    bool frame = false;
    void DrawTextLine(CDC& dc, POINT, int along, int across, std::string_view text) const override
    {
        object->DrawHumanReadableLine(dc, deviceRect, res, along, across, frame, std::string(text), context.flags);
    }
};

} // namespace

void CGraphBarcode::DrawHumanReadableLine(CDC& dc, const RECT& box, Resolution res, int along, int across, bool frame,
                                          const std::string& text, int flags) const
{
    // Drawn as a transparent one-line text under the bars (`across`). The
    // object's alignment places the symbol at the start, middle or end of
    // the box and the line follows it: `along` (the quiet zone) in from the
    // symbol's start, centred on it, or `along` back from its end.
    int shift = along;
    if (m_alignment == kAlignCenter)
        shift = 0;
    else if (m_alignment == kAlignRight)
        shift = -along;
    CGraphText::DrawTextContent(dc, box, res, across, shift, frame, true, text, flags);
}

CGraphBarcode::CGraphBarcode()
    : m_symbology(CreateBarcode(kKeyCode39))
{
}

CGraphBarcode::CGraphBarcode(const CGraphBarcode& other)
    : CGraphText(other), m_symbology(other.m_symbology->Clone())
{
}

std::unique_ptr<CGraphObject> CGraphBarcode::Clone() const
{
    return std::make_unique<CGraphBarcode>(*this);
}

void CGraphBarcode::SetSymbology(std::unique_ptr<CBarcode> symbology)
{
    if (symbology)
        m_symbology = std::move(symbology);
}

bool CGraphBarcode::Load(RecordReader& r)
{
    if (!CGraphText::Load(r))
        return false;
    const int16_t key = r.i16();
    if (!r.ok())
        return false;
    std::unique_ptr<CBarcode> symbology = ReadBarcode(r, key);
    if (!symbology)
        return false; // unknown key (damaged) or cut short
    m_symbology = std::move(symbology);
    return r.ok();
}

void CGraphBarcode::Save(RecordWriter& w) const
{
    CGraphText::Save(w);
    w.i16(m_symbology->GetTypeKey());
    m_symbology->Save(w);
}

bool CGraphBarcode::GetLogFont(LOGFONTA& out) const
{
    if (!m_symbology->HasFont())
        return false;
    out = m_font;
    return true;
}

void CGraphBarcode::SetSourceType(int kind)
{
    const int before = GetSourceKind();
    CGraphText::SetSourceKind(kind);
    if (before != kind && GetSourceKind() == kTextKindFixed && !m_symbology->EditsTextInPlace() && m_textPart)
        m_textPart->SetText("");
}

bool CGraphBarcode::EditContent()
{
    if (!m_textPart || !m_textPart->IsFixed() || m_symbology->EditsTextInPlace())
        return false;
    std::string text = m_textPart->GetText(DrawContext{.labelNumber = 1}, kBarcodeTextBufferSize);
    if (!Ui().EditQrText(text))
        return false;
    m_textPart->SetText(text);
    return true;
}

bool CGraphBarcode::GetSymbologyName(std::string& out) const
{
    out = m_symbology->GetName();
    return true;
}

void CGraphBarcode::SetSymbologyName(const std::string& name)
{
    std::unique_ptr<CBarcode> next = CreateBarcodeByName(name);
    if (!next || next->GetTypeKey() == m_symbology->GetTypeKey())
        return;
    const int32_t module = m_symbology->GetModule();
    const int32_t barHeight = m_symbology->GetBarHeight();
    const int truncation = m_symbology->GetTruncation();
    const bool wasEan = m_symbology->IsEAN();
    if (next->IsEAN() == wasEan) {
        if (module != -1)
            next->SetModule(module);
        next->SetBarHeight(barHeight);
        if (next->IsEAN())
            next->SetTruncation(truncation);
    }
    m_symbology = std::move(next);
}

int32_t CGraphBarcode::GetModule() const
{
    return m_symbology->GetModule();
}

bool CGraphBarcode::GetModuleText(std::string& out) const
{
    if (m_symbology->IsEAN())
        return false;
    out = mmText(m_symbology->GetModule());
    return true;
}

void CGraphBarcode::SetModule(int32_t v)
{
    if (m_symbology->IsEAN()) {
        SetModulePercent(v);
        return;
    }
    if (v >= 0)
        m_symbology->SetModule(v);
}

int CGraphBarcode::GetModulePercent() const
{
    if (!m_symbology->IsEAN())
        return -1;
    return int(std::lround(m_symbology->GetModule() * 100.0 / 330.0));
}

bool CGraphBarcode::GetModulePercentText(std::string& out) const
{
    if (!m_symbology->IsEAN())
        return false;
    out = intText(GetModulePercent()) + " %";
    return true;
}

void CGraphBarcode::SetModulePercent(int v)
{
    if (m_symbology->IsEAN() && v >= 80 && v <= 200)
        m_symbology->SetModule(int32_t(v * 330 / 100));
}

int32_t CGraphBarcode::GetBarHeight() const
{
    return m_symbology->HasHeight() ? m_symbology->GetBarHeight() : -1;
}

bool CGraphBarcode::GetBarHeightText(std::string& out) const
{
    if (m_symbology->IsEAN() || !m_symbology->HasHeight())
        return false;
    out = mmText(m_symbology->GetBarHeight());
    return true;
}

void CGraphBarcode::SetBarHeight(int32_t v)
{
    if (m_symbology->IsEAN()) {
        SetHeightPercent(v);
        return;
    }
    if (v >= 0)
        m_symbology->SetBarHeight(v);
}

int CGraphBarcode::GetHeightPercent() const
{
    return m_symbology->IsEAN() ? 100 - m_symbology->GetTruncation() : -1;
}

bool CGraphBarcode::GetHeightPercentText(std::string& out) const
{
    if (!m_symbology->IsEAN())
        return false;
    out = intText(GetHeightPercent()) + " %";
    return true;
}

void CGraphBarcode::SetHeightPercent(int v)
{
    if (m_symbology->IsEAN() && v >= 50 && v <= 100)
        m_symbology->SetTruncation(100 - v);
}

bool CGraphBarcode::GetRatioText(std::string& out) const
{
    const int ratio = m_symbology->GetRatio();
    if (ratio < 0)
        return false;
    out = numfmt::FormatGeneral(ratio / 10.0, 6, separator()) + ":1";
    return true;
}

void CGraphBarcode::SetRatioText(const std::string& text)
{
    if (m_symbology->GetRatio() < 0)
        return;
    const auto v = leadingNumber(text);
    if (!v)
        return;
    // Rounded, so that 2.3 is 23 tenths and not 22.999... cut to 22.
    const double tenths = std::round(*v * 10.0);
    if (tenths >= 20 && tenths <= 30)
        m_symbology->SetRatio(int(tenths));
}

bool CGraphBarcode::GetGapCorrectionText(std::string& out) const
{
    if (!m_symbology->HasGapCorrection())
        return false;
    out = intText(m_symbology->GetGapCorrection());
    return true;
}

void CGraphBarcode::SetGapCorrectionText(const std::string& text)
{
    int v;
    if (m_symbology->HasGapCorrection() && leadingInt(text, v) && v >= -1 && v <= 2)
        m_symbology->SetGapCorrection(v);
}

bool CGraphBarcode::GetQrVersionText(std::string& out) const
{
    if (!m_symbology->HasQRVersion())
        return false;
    out = intText(m_symbology->GetQRVersion());
    return true;
}

void CGraphBarcode::SetQrVersionText(const std::string& text)
{
    int v;
    if (m_symbology->HasQRVersion() && leadingInt(text, v) && v >= 1 && v <= 40)
        m_symbology->SetQRVersion(v);
}

bool CGraphBarcode::GetQrEccLevelText(std::string& out) const
{
    if (!m_symbology->HasQRLevel())
        return false;
    out = std::string(1, m_symbology->GetQRLevel());
    return true;
}

void CGraphBarcode::SetQrEccLevelText(const std::string& text)
{
    if (!m_symbology->HasQRLevel() || text.empty())
        return;
    const char c = text[0];
    if (c == 'L' || c == 'M' || c == 'Q' || c == 'H')
        m_symbology->SetQRLevel(c);
}

bool CGraphBarcode::GetQrEncodingName(std::string& out) const
{
    if (!m_symbology->HasQREncoding())
        return false;
    out = m_symbology->GetQREncodingName();
    return true;
}

void CGraphBarcode::SetQrEncodingName(const std::string& name)
{
    if (m_symbology->HasQREncoding())
        m_symbology->SetQREncodingName(name);
}

bool CGraphBarcode::GetQrMarginText(std::string& out) const
{
    if (!m_symbology->HasQRMargin())
        return false;
    out = intText(m_symbology->GetQRMargin());
    return true;
}

void CGraphBarcode::SetQrMarginText(const std::string& text)
{
    int v;
    if (m_symbology->HasQRMargin() && leadingInt(text, v) && v >= 0 && v <= 1000)
        m_symbology->SetQRMargin(v);
}

bool CGraphBarcode::GetCenterVertical(int& out) const
{
    bool centred = false;
    if (!m_symbology->GetCentring(centred))
        return false;
    out = centred ? 1 : 0;
    return true;
}

void CGraphBarcode::FillHost(BarcodeHost& host, const RECT& box, Resolution res) const
{
    host.rotation = m_rotation;
    host.deviceRect = box;
    host.widthUm = m_width;
    host.heightUm = m_height;
    host.font = m_font;
    CGraphText::GetDeviceLogFont(res, host.deviceFont);
    host.barColor = m_textColor;
    host.textColor = m_textColor;
    host.fillColor = m_fillColor;
    host.transparent = m_transparent;
}

bool CGraphBarcode::IsCut(const std::string& text, int resX, int resY) const
{
    if (m_symbology->Is2D() && text.empty())
        return false;
    if (resX < 0 || resY < 0)
        return false;
    const bool sideways = m_rotation == 900 || m_rotation == 2700;
    if (sideways)
        std::swap(resX, resY);
    const int32_t along = sideways ? m_height : m_width;
    const int32_t across = sideways ? m_width : m_height;
    BarcodeHost host;
    FillHost(host, RECT{0, 0, 0, 0}, Resolution{resX, resY});
    return m_symbology->GetWidth(text, resX) > along || m_symbology->GetHeight(host, text, resY) > across;
}

std::string CGraphBarcode::SymbolText(const DrawContext& context) const
{
    DrawContext real = context;
    real.placeholder = false;
    return m_textPart ? m_textPart->GetText(real, kBarcodeTextBufferSize) : std::string();
}

bool CGraphBarcode::Draw(const DrawArgs& a) const
{
    if (!a.dc)
        return true;
    CDC& dc = *a.dc;
    const Resolution res = ComputeResolution(dc, a.zoom);
    const RECT box = DeviceBox(res, a.offsetX, a.offsetY);
    if (!m_transparent)
        dc.FillSolidRect(ClipRect(box), m_fillColor);
    if (a.frame)
        DrawFrame(dc, box);

    DrawContext context = a;
    context.placeholder = a.placeholder && m_symbology->ShowsPlaceholder();
    const std::string text = m_textPart ? m_textPart->GetText(context, kBarcodeTextBufferSize) : std::string();
    // The design view shows an empty QR code as the symbol of a space.
    const std::string drawn = ((a.flags & kDrawDesign) && m_symbology->Is2D() && text.empty()) ? std::string(" ") : text;

    // The symbol is laid out as at the resolutions of the cut test (the
    // printer's when printing, a paper-like one on the screen) and scaled to
    // the device: a screen shows the width the cut test measured.
    ObjectHost host;
    FillHost(host, box, res);
    host.object = this;
    host.res = res;
    host.frame = a.frame;
    host.context = context;
    if (a.cutResX > 0 && a.cutResY > 0) {
        host.layoutResX = a.cutResX;
        host.layoutResY = a.cutResY;
    }
    int layAlong, layAcross;
    LayoutResolutions(host, res.x, res.y, layAlong, layAcross);

    // Alignment of the symbol along its length, in micrometres.
    const bool sideways = m_rotation == 900 || m_rotation == 2700;
    const int64_t length = sideways ? m_height : m_width;
    const int64_t symbolWidth = m_symbology->GetWidth(drawn, layAlong);
    int64_t offset = 0;
    if (m_alignment == kAlignCenter)
        offset = (length - symbolWidth) / 2;
    else if (m_alignment == kAlignRight)
        offset = length - symbolWidth;
    int64_t ox, oy;
    switch (m_rotation) {
    case 900: ox = m_x; oy = int64_t(m_y) + m_height - offset; break;
    case 1800: ox = int64_t(m_x) + m_width - offset; oy = int64_t(m_y) + m_height; break;
    case 2700: ox = int64_t(m_x) + m_width; oy = int64_t(m_y) + offset; break;
    default: ox = int64_t(m_x) + offset; oy = m_y; break;
    }
    const int px = units::clamp32(int64_t(a.offsetX) + units::UmToPx(units::clamp32(ox), res.x));
    const int py = units::clamp32(int64_t(a.offsetY) + units::UmToPx(units::clamp32(oy), res.y));

    BarcodeDrawResult result;
    {
        // The bars (or modules) go to a printer as one shape.
        CDCFillBatch bars(dc);
        result = m_symbology->Draw(host, dc, res.x, res.y, px, py, drawn);
    }

    // The design view and the preview mark a symbol that does not fit, and
    // one that does not carry its text: the symbology drew nothing for it,
    // or other characters in place of some (a placeholder is no text).
    const bool placeholder = context.placeholder && m_textPart && !m_textPart->IsFixed();
    const bool unencodable =
        result == BarcodeDrawResult::kNotEncodable || (!placeholder && !m_symbology->CanEncode(text));
    if ((a.flags & (kDrawDesign | kDrawPreview)) && (unencodable || IsCut(text, a.cutResX, a.cutResY)))
        DrawCutMark(dc, box, m_rotation);
    if ((a.flags & kDrawPrinting) && m_symbology->Is2D() && IsCut(text, a.cutResX, a.cutResY)) {
        // The message names the label as the user counts it (from 1).
        std::string message(std::snprintf(nullptr, 0, kBarcodeCutFormat, a.labelNumber, "") + text.size() + 1, '\0');
        const int n = std::snprintf(message.data(), message.size(), kBarcodeCutFormat, a.labelNumber, text.c_str());
        message.resize(size_t(std::max(0, n)));
        ShowUserMessage(message, kBarcodeCutCaption, MessageIcon::Error);
        return false;
    }
    return true;
}
