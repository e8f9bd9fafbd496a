#include "content/objects/graphtext.h"

#include "platform/codepage.h"
#include "platform/units.h"

#include <algorithm>
#include <cstring>

namespace {

// Height after auto size: scaled by the smaller of the two fits (in
// thousandths of 500), never down to 0.
int32_t reducedHeight(int32_t height, int64_t along, int64_t needAlong, int64_t across, int64_t needAcross)
{
    int64_t f = needAlong > 0 ? along * 500 / needAlong : INT64_MAX;
    if (needAcross > 0)
        f = std::min(f, across * 500 / needAcross);
    if (f == INT64_MAX)
        return height;
    int64_t h = f * height / 500;
    if (h == 0)
        h = height < 0 ? -1 : 1;
    return int32_t(std::clamp<int64_t>(h, INT32_MIN, INT32_MAX));
}

void readPackedFont(RecordReader& r, LOGFONTA& lf)
{
    lf.lfHeight = r.i16();
    lf.lfWidth = r.i16();
    lf.lfEscapement = r.i16();
    lf.lfOrientation = r.i16();
    lf.lfWeight = r.i16();
    lf.lfItalic = r.u8();
    lf.lfUnderline = r.u8();
    lf.lfStrikeOut = r.u8();
    lf.lfCharSet = r.u8();
    lf.lfOutPrecision = r.u8();
    lf.lfClipPrecision = r.u8();
    lf.lfQuality = r.u8();
    lf.lfPitchAndFamily = r.u8();
    r.fixedField(lf.lfFaceName, LF_FACESIZE);
}

// The record holds 16 bits; a larger value is stored as the nearest one
// that fits, never with its sign or size wrapped.
int16_t fontField(int32_t v)
{
    return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

void writePackedFont(RecordWriter& w, const LOGFONTA& lf)
{
    w.i16(fontField(lf.lfHeight));
    w.i16(fontField(lf.lfWidth));
    w.i16(fontField(lf.lfEscapement));
    w.i16(fontField(lf.lfOrientation));
    w.i16(fontField(lf.lfWeight));
    w.u8(lf.lfItalic);
    w.u8(lf.lfUnderline);
    w.u8(lf.lfStrikeOut);
    w.u8(lf.lfCharSet);
    w.u8(lf.lfOutPrecision);
    w.u8(lf.lfClipPrecision);
    w.u8(lf.lfQuality);
    w.u8(lf.lfPitchAndFamily);
    char face[LF_FACESIZE] = {};
    std::memcpy(face, lf.lfFaceName, LF_FACESIZE - 1);
    w.fixedField(face, LF_FACESIZE);
}

} // namespace

std::vector<std::string> SplitTextLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        const size_t cr = line.find('\r');
        if (cr != std::string::npos)
            line.resize(cr);
        lines.push_back(std::move(line));
        if (lf == std::string::npos)
            break;
        start = lf + 1;
    }
    return lines;
}

// --- CGraphText -----------------------------------------------------------------

CGraphText::CGraphText()
    : m_textPart(CreateTextPartByKind(kTextKindTable))
{
    m_penWidth = 1000;
    m_borderColor = 0;
    m_fillColor = 0;
    m_transparent = true;
}

CGraphText::CGraphText(const CGraphText& other)
    : CGraphRect(other), m_alignment(other.m_alignment), m_autoSize(other.m_autoSize), m_font(other.m_font),
      m_rotation(other.m_rotation), m_textColor(other.m_textColor),
      m_textPart(other.m_textPart ? other.m_textPart->Clone() : nullptr)
{
}

int CGraphText::PointsFromHeight(int32_t height)
{
    return int((48 - 72 * int64_t(height)) / 96);
}

int32_t CGraphText::HeightFromPoints(int points)
{
    return int32_t(int64_t(points) * -96 / 72);
}

bool CGraphText::GetAlignment(int& out) const
{
    out = m_alignment;
    return true;
}

void CGraphText::SetAlignment(int v)
{
    if (v >= 0 && v <= 3)
        m_alignment = uint8_t(v);
}

bool CGraphText::GetLogFont(LOGFONTA& out) const
{
    out = m_font;
    return true;
}

void CGraphText::SetLogFont(const LOGFONTA& font)
{
    m_font = font;
    m_font.lfFaceName[LF_FACESIZE - 1] = '\0';
}

bool CGraphText::GetFontChecked(LOGFONTA& out) const
{
    out = m_font;
    return true;
}

void CGraphText::SetFaceName(const std::string& name)
{
    ::SetFaceName(m_font, name.c_str());
}

int CGraphText::GetSourceKind() const
{
    return m_textPart ? m_textPart->GetKind() : -1;
}

void CGraphText::SetSourceKind(int kind)
{
    if (m_textPart && m_textPart->GetKind() == kind)
        return;
    if (auto part = CreateTextPartByKind(kind))
        m_textPart = std::move(part);
}

// Forwarders to the text part: without one, getters answer false.
#define VSL_PART_GET(expr) return m_textPart ? (expr) : false
#define VSL_PART_SET(expr) \
    if (m_textPart)        \
    expr

bool CGraphText::GetDateComponent(int& out) const { VSL_PART_GET(m_textPart->GetDateFormat(out)); }
void CGraphText::SetDateComponent(int v) { VSL_PART_SET(m_textPart->SetDateFormat(v)); }
bool CGraphText::GetDateOffset(int& out) const { VSL_PART_GET(m_textPart->GetDateOffset(out)); }
void CGraphText::SetDateOffset(int v) { VSL_PART_SET(m_textPart->SetDateOffset(v)); }
bool CGraphText::GetSourceColumnIndex(int which, int& out) const { VSL_PART_GET(m_textPart->GetColumn(which, out)); }
void CGraphText::SetSourceColumnIndex(int which, int v) { VSL_PART_SET(m_textPart->SetColumn(which, v)); }
bool CGraphText::UsesColumn(int index) const { VSL_PART_GET(m_textPart->UsesColumn(index)); }
bool CGraphText::IsFixedText() const { VSL_PART_GET(m_textPart->IsFixed()); }
void CGraphText::SetText(const std::string& text) { VSL_PART_SET(m_textPart->SetText(text)); }
bool CGraphText::GetSourceColumnText(std::string& out) const { VSL_PART_GET(m_textPart->GetColumnLetters(out)); }
void CGraphText::SetSourceColumnText(const std::string& text) { VSL_PART_SET(m_textPart->SetColumnLetters(text)); }
void CGraphText::AdvanceCounter(int n) { VSL_PART_SET(m_textPart->Advance(n)); }
bool CGraphText::IsCounter() const { VSL_PART_GET(m_textPart->IsAutoIncrement()); }
bool CGraphText::HasTableFlag() const { VSL_PART_GET(m_textPart->HasTableFlag()); }
void CGraphText::SetTableFlag(bool on) { VSL_PART_SET(m_textPart->SetTableFlag(on)); }
bool CGraphText::GetTableFlag() const { VSL_PART_GET(m_textPart->GetTableFlag()); }
bool CGraphText::GetCounterPrefix(std::string& out) const { VSL_PART_GET(m_textPart->GetPrefix(out)); }
void CGraphText::SetCounterPrefix(const std::string& text) { VSL_PART_SET(m_textPart->SetPrefix(text)); }
bool CGraphText::GetCounterStartText(std::string& out) const { VSL_PART_GET(m_textPart->GetStartText(out)); }
void CGraphText::SetCounterStartText(const std::string& text) { VSL_PART_SET(m_textPart->SetStartText(text)); }
bool CGraphText::GetCounterSuffix(std::string& out) const { VSL_PART_GET(m_textPart->GetSuffix(out)); }
void CGraphText::SetCounterSuffix(const std::string& text) { VSL_PART_SET(m_textPart->SetSuffix(text)); }
bool CGraphText::GetCounterLeadingZeros() const { VSL_PART_GET(m_textPart->GetLeadingZeros()); }
bool CGraphText::HasCounterOptions() const { VSL_PART_GET(m_textPart->HasCounter()); }
void CGraphText::SetCounterLeadingZeros(bool on) { VSL_PART_SET(m_textPart->SetLeadingZeros(on)); }
bool CGraphText::GetCounterWidthText(std::string& out) const { VSL_PART_GET(m_textPart->GetMinDigitsText(out)); }
void CGraphText::SetCounterWidthText(const std::string& text) { VSL_PART_SET(m_textPart->SetMinDigitsText(text)); }
bool CGraphText::GetSeparatorName(std::string& out) const { VSL_PART_GET(m_textPart->GetSeparatorText(out)); }
void CGraphText::SetSeparatorName(const std::string& name) { VSL_PART_SET(m_textPart->SetSeparatorText(name)); }
bool CGraphText::GetAlwaysSeparate() const { VSL_PART_GET(m_textPart->GetSeparateBlankFields()); }
bool CGraphText::HasSeparatorOptions() const { VSL_PART_GET(m_textPart->HasSeparator()); }
void CGraphText::SetAlwaysSeparate(bool on) { VSL_PART_SET(m_textPart->SetSeparateBlankFields(on)); }
bool CGraphText::GetDateComponentName(std::string& out) const { VSL_PART_GET(m_textPart->GetDateFormatName(out)); }
void CGraphText::SetDateComponentName(const std::string& name) { VSL_PART_SET(m_textPart->SetDateFormatName(name)); }
bool CGraphText::HasDateComponent() const { VSL_PART_GET(m_textPart->HasDateFormat()); }
bool CGraphText::HasDateOffset() const { VSL_PART_GET(m_textPart->HasDateOffset()); }
bool CGraphText::GetDateOffsetText(std::string& out) const { VSL_PART_GET(m_textPart->GetDateOffsetText(out)); }
void CGraphText::SetDateOffsetText(const std::string& text) { VSL_PART_SET(m_textPart->SetDateOffsetText(text)); }

#undef VSL_PART_GET
#undef VSL_PART_SET

bool CGraphText::GetSourceLines(std::vector<std::string>& lines) const
{
    const auto* fixed = dynamic_cast<const CTextFixedExt*>(m_textPart.get());
    if (!fixed)
        return false;
    lines = fixed->Lines();
    return true;
}

void CGraphText::SetSourceLines(const std::vector<std::string>& lines)
{
    if (auto* fixed = dynamic_cast<CTextFixedExt*>(m_textPart.get()))
        fixed->SetLines(lines);
}

void CGraphText::Rotate90(int32_t cx, int32_t cy, int direction)
{
    if (direction != 1 && direction != -1)
        return;
    CGraph2Dim::Rotate90(cx, cy, direction);
    if (direction == 1)
        m_rotation = int16_t(m_rotation >= 2700 ? 0 : m_rotation + 900);
    else
        m_rotation = int16_t(m_rotation <= 0 ? 2700 : m_rotation - 900);
}

std::unique_ptr<CGraphObject> CGraphText::Clone() const
{
    return std::make_unique<CGraphText>(*this);
}

bool CGraphText::LoadTextFields(RecordReader& r)
{
    readPackedFont(r, m_font);
    m_textColor = r.u32();
    m_alignment = r.u8();
    m_autoSize = r.u8();
    m_rotation = r.i16();
    if (!r.ok())
        return false;
    m_textPart = LoadTextPart(r);
    return r.ok();
}

void CGraphText::SaveTextFields(RecordWriter& w) const
{
    writePackedFont(w, m_font);
    w.u32(m_textColor);
    w.u8(m_alignment);
    w.u8(m_autoSize);
    w.i16(m_rotation);
    if (m_textPart) {
        SaveTextPart(*m_textPart, w);
    } else {
        // An object always stores a text part; an empty fixed text stands
        // in for a missing one so the record stays readable.
        CTextFixedExt empty;
        empty.SetFromText("");
        SaveTextPart(empty, w);
    }
}

bool CGraphText::Load(RecordReader& r)
{
    if (!CGraphRect::Load(r))
        return false;
    return LoadTextFields(r);
}

void CGraphText::Save(RecordWriter& w) const
{
    CGraphRect::Save(w);
    SaveTextFields(w);
}

void CGraphText::GetDeviceLogFont(Resolution res, LOGFONTA& out) const
{
    out = m_font;
    const int ppi = (m_rotation == 900 || m_rotation == 2700) ? res.x : res.y;
    // -MulDiv(-height, ppi, 96), rounded half away from zero, in 64 bits.
    const int64_t p = -int64_t(m_font.lfHeight) * ppi;
    const int64_t scaled = (p >= 0 ? p + 48 : p - 48) / 96;
    out.lfHeight = int32_t(std::clamp<int64_t>(-scaled, -1000000, 1000000));
    switch (m_rotation) {
    case 900: out.lfEscapement = 900; break;
    case 1800: out.lfEscapement = 1800; break;
    case 2700: out.lfEscapement = -900; break;
    default: out.lfEscapement = 0; break;
    }
    out.lfClipPrecision = CLIP_LH_ANGLES;
}

void CGraphText::GetDesignLogFont(CDC& dc, int zoom, LOGFONTA& out) const
{
    GetDeviceLogFont(ComputeResolution(dc, zoom), out);
}

void CGraphText::DrawFrame(CDC& dc, const RECT& box) const
{
    const CPen oldPen = dc.SelectPen(CPen{PS_DASH, 1, RGB(0, 0, 0)});
    const int oldBk = dc.SetBkMode(TRANSPARENT);
    DrawBoxOutline(dc, box);
    dc.SetBkMode(oldBk);
    dc.SelectPen(oldPen);
}

RECT CGraphText::PrepareTextDrawing(CDC& dc, const RECT& box, bool transparent) const
{
    const RECT clip = ClipRect(box);
    if (m_rotation != 0)
        dc.IntersectClipRect(clip);
    if (transparent) {
        dc.SetBkMode(TRANSPARENT);
    } else {
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(m_fillColor);
    }
    dc.SetTextColor(m_textColor);
    return clip;
}

RECT CGraphText::ClipRect(const RECT& box)
{
    return RECT{box.left + 1, box.top + 1, box.right, box.bottom};
}

void CGraphText::AlongAndAcross(const RECT& box, int32_t& along, int32_t& across) const
{
    const int32_t w = box.right - box.left;
    const int32_t h = box.bottom - box.top;
    const bool sideways = m_rotation == 900 || m_rotation == 2700;
    along = sideways ? h : w;
    across = sideways ? w : h;
}

unsigned CGraphText::AlignmentFor(CDC& dc, int32_t along, int32_t& b) const
{
    switch (m_alignment) {
    case kAlignCenter: b = along / 2 - 1; return TA_CENTER | TA_TOP;
    case kAlignRight: b = along - 2; return TA_RIGHT | TA_TOP;
    case kAlignDefault:
    case kAlignLeft: b = 0; return TA_LEFT | TA_TOP;
    default: b = 0; return dc.GetTextAlign();
    }
}

void CGraphText::DrawReductionMark(CDC& dc, const RECT& box)
{
    const CPen old = dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
    dc.MoveTo(box.right - 10, box.top);
    dc.LineTo(box.right, box.top + 10);
    dc.SelectPen(old);
}

bool CGraphText::Draw(const DrawArgs& a) const
{
    if (!a.dc)
        return true;
    CDC& dc = *a.dc;
    const Resolution res = ComputeResolution(dc, a.zoom);
    const RECT box = DeviceBox(res, a.offsetX, a.offsetY);
    if (a.frame)
        DrawFrame(dc, box);
    if (!m_transparent)
        dc.FillSolidRect(ClipRect(box), m_fillColor);
    const std::string text = m_textPart ? m_textPart->GetText(a, kTextBufferSize) : std::string();
    DrawTextContent(dc, box, res, 0, 0, a.frame, m_transparent, text, a.flags);
    return true;
}

bool CGraphText::DrawTextContent(CDC& dc, const RECT& r, Resolution res, int verticalOffset, int horizontalOffset,
                                 bool frame, bool transparent, const std::string& text, int /*flags*/) const
{
    CDCStateScope saved(dc);
    const RECT clip = PrepareTextDrawing(dc, r, transparent);
    LOGFONTA font;
    CGraphText::GetDeviceLogFont(res, font);
    dc.SelectFont(font);
    SIZE ext = dc.GetTextExtent(text);
    int32_t along, across;
    AlongAndAcross(r, along, across);
    bool reduced = false;
    if (m_autoSize && ext.cx > 0 && (ext.cx >= along || ext.cy >= across)) {
        font.lfHeight = reducedHeight(font.lfHeight, along, ext.cx, across, ext.cy);
        dc.SelectFont(font);
        ext = dc.GetTextExtent(text);
        reduced = true;
    }
    int32_t b;
    dc.SetTextAlign(AlignmentFor(dc, along, b));
    b += horizontalOffset;
    const int v = verticalOffset;
    POINT ref;
    switch (m_rotation) {
    case 0: ref = {r.left + b + 1, r.top + v + 1}; break;
    case 900: ref = {r.left + v + 1, r.bottom - b}; break;
    case 1800: ref = {r.right - b, r.bottom - v}; break;
    case 2700: ref = {r.right - v, r.top + b}; break;
    default: return reduced;
    }
    if (m_rotation == 0)
        dc.ExtTextOut(ref.x, ref.y, ETO_CLIPPED, &clip, text);
    else
        dc.ExtTextOut(ref.x, ref.y, 0, nullptr, text);
    if (frame && reduced)
        DrawReductionMark(dc, r);
    return reduced;
}

// --- CGraphTextExt ------------------------------------------------------------------

bool CGraphTextExt::GetCenterVertical(int& out) const
{
    out = IsCenteredVertically() ? 1 : 0;
    return true;
}

bool CGraphTextExt::GetAutoSizeValue(int& out) const
{
    out = m_autoSize;
    return true;
}

std::unique_ptr<CGraphObject> CGraphTextExt::Clone() const
{
    return std::make_unique<CGraphTextExt>(*this);
}

bool CGraphTextExt::Load(RecordReader& r)
{
    if (!CGraphText::Load(r))
        return false;
    m_centerVertical = r.i16();
    return r.ok();
}

void CGraphTextExt::Save(RecordWriter& w) const
{
    CGraphText::Save(w);
    w.i16(m_centerVertical);
}

LOGFONTA CGraphTextExt::FittedFont(CDC& dc, const RECT& box, Resolution res, const std::vector<std::string>& lines,
                                   int64_t& need, int64_t& height, bool& reduced) const
{
    LOGFONTA font;
    CGraphText::GetDeviceLogFont(res, font);
    CDCStateScope saved(dc);
    dc.SelectFont(font);
    int32_t along, across;
    AlongAndAcross(box, along, across);
    int64_t widest = 0;
    for (const std::string& line : lines)
        widest = std::max<int64_t>(widest, dc.GetTextExtent(line).cx);
    need = widest + dc.GetTextExtent(" ").cx;
    TEXTMETRICA tm;
    dc.GetTextMetrics(tm);
    height = int64_t(lines.size()) * tm.tmHeight;
    reduced = false;
    if (m_autoSize && need > 0 && (need >= along || height >= across)) {
        font.lfHeight = reducedHeight(font.lfHeight, along, need, across, height);
        dc.SelectFont(font);
        dc.GetTextMetrics(tm);
        height = int64_t(lines.size()) * tm.tmHeight;
        reduced = true;
    }
    return font;
}

void CGraphTextExt::GetDesignLogFont(CDC& dc, int zoom, LOGFONTA& out) const
{
    // The design view's font of the object's own text (an in-place edited
    // text is fixed: the same for every label).
    const Resolution res = ComputeResolution(dc, zoom);
    const std::string text = m_textPart ? m_textPart->GetText(DrawContext{.labelNumber = 1}, kTextBufferSize) : "";
    int64_t need, height;
    bool reduced;
    out = FittedFont(dc, DeviceBox(res, 0, 0), res, SplitTextLines(text), need, height, reduced);
}

bool CGraphTextExt::DrawTextContent(CDC& dc, const RECT& r, Resolution res, int verticalOffset, int horizontalOffset,
                                    bool frame, bool transparent, const std::string& text, int flags) const
{
    CDCStateScope saved(dc);
    const RECT clip = PrepareTextDrawing(dc, r, transparent);
    int32_t along, across;
    AlongAndAcross(r, along, across);
    const std::vector<std::string> lines = SplitTextLines(text);
    int64_t m = 0, o = 0;
    bool reduced = false;
    const LOGFONTA font = FittedFont(dc, r, res, lines, m, o, reduced);
    dc.SelectFont(font);
    TEXTMETRICA tm;
    dc.GetTextMetrics(tm);
    int32_t b;
    dc.SetTextAlign(AlignmentFor(dc, along, b));
    b += horizontalOffset;
    int64_t v = verticalOffset + (m_centerVertical == kCentred ? (across - o) / 2 : 0);
    const bool rtl = font.lfCharSet == HEBREW_CHARSET || font.lfCharSet == ARABIC_CHARSET;
    const bool knownRotation = m_rotation == 0 || m_rotation == 900 || m_rotation == 1800 || m_rotation == 2700;
    if (knownRotation) {
        for (const std::string& line : lines) {
            const int vi = int(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
            POINT ref;
            switch (m_rotation) {
            case 0: ref = {r.left + b + 1, r.top + vi + 1}; break;
            case 900: ref = {r.left + vi + 1, r.bottom - b}; break;
            case 1800: ref = {r.right - b, r.bottom - vi}; break;
            default: ref = {r.right - vi, r.top + b}; break;
            }
            unsigned options = rtl ? ETO_RTLREADING : 0;
            if (m_rotation == 0)
                dc.ExtTextOut(ref.x, ref.y, options | ETO_CLIPPED, &clip, line);
            else
                dc.ExtTextOut(ref.x, ref.y, options, nullptr, line);
            v += tm.tmHeight;
        }
    }
    if (frame && reduced)
        DrawReductionMark(dc, r);
    if ((flags & (kDrawDesign | kDrawPreview)) && !m_autoSize && (along < m || across < o))
        DrawCutMark(dc, r, m_rotation);
    return reduced;
}

void DrawCutMark(CDC& dc, const RECT& r, int rotation)
{
    unsigned format;
    switch (rotation) {
    case 0: format = DT_CENTER; break;
    case 900: format = DT_VCENTER | DT_SINGLELINE; break;
    case 1800: format = DT_CENTER | DT_BOTTOM | DT_SINGLELINE; break;
    case 2700: format = DT_RIGHT | DT_VCENTER | DT_SINGLELINE; break;
    default: return;
    }
    LOGFONTA mark;
    mark.lfHeight = int32_t((std::min<int64_t>(r.Height(), r.Width()) + 1) / 2);
    mark.lfWeight = FW_NORMAL;
    mark.lfQuality = PROOF_QUALITY;
    mark.lfPitchAndFamily = 18;
    ::SetFaceName(mark, "DejaVu Sans"); // a face that has the scissors
    if (mark.lfHeight <= 0)
        return;
    CDCStateScope saved(dc);
    dc.SelectFont(mark);
    dc.SetBkMode(TRANSPARENT);
    RECT box = r;
    dc.DrawUnicodeText(QString(QChar(0x2702)), box, format | DT_NOCLIP);
}

void CGraphTextExt::InitFromClipboardText(const LOGFONTA& font, const std::string& text)
{
    SetLogFont(font);
    m_centerVertical = kCentred;
    m_textColor = 0;
    m_x = 0;
    m_y = 0;
    m_penWidth = 0;
    m_alignment = kAlignLeft;
    m_autoSize = 1;
    m_fillColor = RGB(255, 255, 255);
    m_rotation = 0;
    auto part = std::make_unique<CTextFixedExt>();
    part->SetFromText(""); // no longer the default text
    part->SetText(text);
    m_textPart = std::move(part);

    // Measured at 96 dots per inch with the font as stored.
    QImage screen(1, 1, QImage::Format_RGB32);
    CDC dc(&screen, 96, 96);
    dc.SelectFont(m_font);
    const std::vector<std::string> lines = SplitTextLines(text);
    int64_t widest = 0;
    for (const std::string& line : lines)
        widest = std::max<int64_t>(widest, dc.GetTextExtent(line).cx);
    TEXTMETRICA tm;
    dc.GetTextMetrics(tm);
    m_width = units::clampAdd(units::PxToUmTruncated(widest, 96), 1);
    m_height = units::clampAdd(units::PxToUmTruncated(int64_t(lines.size()) * tm.tmHeight, 96), 1);
    m_transparent = true;
}
