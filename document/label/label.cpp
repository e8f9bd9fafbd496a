#include "document/label/label.h"

#include "platform/codepage.h"

#include "platform/units.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

using units::clamp16;
using units::clampAdd;
using units::UmToPx;

// --- CLabel ------------------------------------------------------------------

CLabel::CLabel() = default;

std::unique_ptr<CLabel> CLabel::Clone() const
{
    return std::unique_ptr<CLabel>(new CLabel(*this));
}

void CLabel::UpdateDefined()
{
    if (m_width > 0 && m_height > 0)
        m_defined = 1;
}

void CLabel::DrawOutline(CDC& dc, int32_t ppi, int originXPx, int originYPx, int32_t xUm, int32_t yUm) const
{
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, 1, kLabelOutlineColor});
    const int32_t left = clampAdd(originXPx, UmToPx(xUm, ppi));
    const int32_t top = clampAdd(originYPx, UmToPx(yUm, ppi));
    const int32_t right = clampAdd(originXPx, UmToPx(clampAdd(xUm, m_width), ppi));
    const int32_t bottom = clampAdd(originYPx, UmToPx(clampAdd(yUm, m_height), ppi));
    dc.Rectangle(left, top, clampAdd(right, 1), clampAdd(bottom, 1));
}

void CLabel::DrawPreviewOutline(CDC& dc, int zoom, int leftPx, int topPx) const
{
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, 1, kLabelOutlineColor});
    const int32_t ppiX = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    const int32_t ppiY = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
    const int32_t right = clampAdd(leftPx, UmToPx(m_width, ppiX));
    const int32_t bottom = clampAdd(topPx, UmToPx(m_height, ppiY));
    dc.Rectangle(leftPx, topPx, clampAdd(right, 1), clampAdd(bottom, 1));
}

void CLabel::DrawPart(int part, CDC& dc, int zoom, int leftPx, int topPx) const
{
    switch (part) {
    case 0: DrawPreviewOutline(dc, zoom, leftPx, topPx); break;
    case 1: DrawHeaderOutline(dc, zoom, leftPx, topPx); break;
    case 2: DrawFooterOutline(dc, zoom, leftPx, topPx); break;
    default: break;
    }
}

int32_t CLabel::GetHeight(int part) const
{
    return part == 0 ? m_height : 0;
}

int32_t CLabel::GetWidth(int part) const
{
    return part == 0 ? m_width : 0;
}

void CLabel::SetHeight(int part, int32_t value)
{
    if (part != 0 || value < 1)
        return;
    m_height = value;
    UpdateDefined();
    if (m_rowPitch == 0) {
        m_rowPitch = m_height;
        FitRows();
    }
}

void CLabel::SetWidth(int part, int32_t value, bool /*mark*/)
{
    if (part != 0 || value < 0)
        return;
    m_width = value;
    UpdateDefined();
    if (m_columnPitch == 0) {
        m_columnPitch = m_width;
        FitColumns();
    }
}

void CLabel::SetLeft(int part, int32_t value)
{
    if (part == 0)
        m_left = value;
}

void CLabel::SetTop(int part, int32_t value)
{
    if (part == 0)
        m_top = value;
}

bool CLabel::IsGapless() const
{
    return m_width == m_columnPitch && m_height == m_rowPitch;
}

std::string CLabel::GetFamilyName() const
{
    return std::string(m_family, m_familyLength);
}

void CLabel::SetFamilyName(const std::string& name)
{
    const size_t n = std::min<size_t>(name.size(), 32);
    std::memset(m_family, 0, sizeof m_family);
    std::memcpy(m_family, name.data(), n);
    // A NUL inside the text ends it.
    m_familyLength = uint8_t(strnlen(m_family, n));
    m_modified = true;
}

void CLabel::SetRowPitch(int32_t v) { m_rowPitch = v; m_modified = true; }
void CLabel::SetColumnPitch(int32_t v) { m_columnPitch = v; m_modified = true; }
void CLabel::SetColumns(int32_t v) { m_columns = v; m_modified = true; }
void CLabel::SetRows(int32_t v) { m_rows = v; m_modified = true; }
void CLabel::SetBlockSpace(int32_t v) { m_blockSpace = v; m_modified = true; }
void CLabel::SetBlockCount(int v) { m_blocks = clamp16(v); m_modified = true; }

int64_t CLabel::GetLabelsPerSheet() const
{
    if (m_columns <= 0 || m_rows <= 0 || m_blocks <= 0)
        return 0;
    // Counts read from a file may be of any size: the product of all three
    // passes 64 bits.
    const int64_t perBlock = int64_t(m_columns) * m_rows;
    if (perBlock > kMaxLabelsPerSheet / m_blocks)
        return kMaxLabelsPerSheet;
    return perBlock * m_blocks;
}

bool CLabel::ReadRecord(RecordReader& r)
{
    m_defined = r.u8();
    const uint8_t length = r.u8();
    r.bytes(m_family, sizeof m_family);
    // The field always ends with a NUL, and the length never reaches past
    // the text it counts.
    m_family[sizeof m_family - 1] = '\0';
    m_familyLength = uint8_t(std::min<size_t>(length, strnlen(m_family, sizeof m_family - 1)));
    m_width = r.i32();
    m_height = r.i32();
    m_rowPitch = r.i32();
    m_columnPitch = r.i32();
    m_columns = r.i32();
    m_rows = r.i32();
    m_left = r.i32();
    m_top = r.i32();
    m_blockSpace = r.i32();
    m_paperFlag = r.u8();
    m_blocks = r.i16();
    return r.ok();
}

void CLabel::WriteRecord(RecordWriter& w) const
{
    w.u8(m_defined);
    w.u8(m_familyLength);
    w.fixedField(m_family, sizeof m_family);
    w.i32(m_width);
    w.i32(m_height);
    w.i32(m_rowPitch);
    w.i32(m_columnPitch);
    w.i32(m_columns);
    w.i32(m_rows);
    w.i32(m_left);
    w.i32(m_top);
    w.i32(m_blockSpace);
    w.u8(m_paperFlag);
    w.i16(m_blocks);
}

bool CLabel::Read(RecordReader& reader, bool /*embedded*/, const LabelReadOptions& /*options*/)
{
    return ReadRecord(reader);
}

void CLabel::Write(RecordWriter& writer, bool /*embedded*/)
{
    WriteRecord(writer);
    m_modified = false;
}

void CLabel::WriteTagged(RecordWriter& writer)
{
    writer.i16(GetTypeKey());
    Write(writer, true);
}

// --- CLabelExt ---------------------------------------------------------------

std::unique_ptr<CLabel> CLabelExt::Clone() const
{
    return std::unique_ptr<CLabel>(new CLabelExt(*this));
}

void CLabelExt::DrawShape(CDC& dc, int leftPx, int topPx, int rightPx, int bottomPx, int cornerXPx,
                          int cornerYPx) const
{
    switch (m_shape) {
    case kShapeRounded:
        dc.RoundRect(leftPx, topPx, rightPx, bottomPx, cornerXPx, cornerYPx);
        break;
    case kShapeEllipse:
        dc.Ellipse(leftPx, topPx, clampAdd(rightPx, 1), clampAdd(bottomPx, 1));
        break;
    default:
        dc.Rectangle(leftPx, topPx, clampAdd(rightPx, 1), clampAdd(bottomPx, 1));
        break;
    }
}

void CLabelExt::DrawOutline(CDC& dc, int32_t ppi, int originXPx, int originYPx, int32_t xUm, int32_t yUm) const
{
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, 1, kLabelOutlineColor});
    const int32_t left = clampAdd(originXPx, UmToPx(xUm, ppi));
    const int32_t top = clampAdd(originYPx, UmToPx(yUm, ppi));
    const int32_t right = clampAdd(originXPx, UmToPx(clampAdd(xUm, m_width), ppi));
    const int32_t bottom = clampAdd(originYPx, UmToPx(clampAdd(yUm, m_height), ppi));
    const int32_t corner = units::clamp32(2 * int64_t(UmToPx(m_radius, ppi)));
    DrawShape(dc, left, top, right, bottom, corner, corner);
}

void CLabelExt::DrawPreviewOutline(CDC& dc, int zoom, int leftPx, int topPx) const
{
    CDCStateScope state(dc);
    dc.SelectPen(CPen{PS_SOLID, 1, kLabelOutlineColor});
    const int32_t ppiX = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    const int32_t ppiY = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
    const int32_t right = clampAdd(leftPx, UmToPx(m_width, ppiX));
    const int32_t bottom = clampAdd(topPx, UmToPx(m_height, ppiY));
    DrawShape(dc, leftPx, topPx, right, bottom, units::clamp32(2 * int64_t(UmToPx(m_radius, ppiX))),
              units::clamp32(2 * int64_t(UmToPx(m_radius, ppiY))));
}

bool CLabelExt::Read(RecordReader& reader, bool embedded, const LabelReadOptions& options)
{
    CLabel::Read(reader, embedded, options);
    m_shape = reader.i16();
    m_radius = reader.i32();
    return reader.ok();
}

void CLabelExt::Write(RecordWriter& writer, bool embedded)
{
    CLabel::Write(writer, embedded);
    writer.i16(m_shape);
    writer.i32(m_radius);
}

bool CLabelExt::IsGapless() const
{
    return CLabel::IsGapless() && m_shape == kShapeRectangle;
}

void CLabelExt::SetShape(int part, int shape)
{
    if (part != 0)
        return;
    m_shape = clamp16(shape);
    m_modified = true;
}

void CLabelExt::SetRadius(int32_t value)
{
    if (value < 0)
        return;
    m_radius = value;
    m_modified = true;
}

// --- CLabelExtExt ------------------------------------------------------------

std::unique_ptr<CLabel> CLabelExtExt::Clone() const
{
    return std::unique_ptr<CLabel>(new CLabelExtExt(*this));
}

void CLabelExtExt::SetPaperLength(int tenthsMm, bool mark)
{
    const int16_t v = clamp16(tenthsMm);
    if (mark && v != m_paperLength)
        m_modified = true;
    m_paperLength = v;
}

void CLabelExtExt::SetPaperWidth(int tenthsMm, bool mark)
{
    const int16_t v = clamp16(tenthsMm);
    if (mark && v != m_paperWidth)
        m_modified = true;
    m_paperWidth = v;
}

void CLabelExtExt::SetPaperCode(int code)
{
    m_paperCode = clamp16(code);
}

void CLabelExtExt::SetOrientation(int value)
{
    if (value != m_orientation) {
        if (!IsModuleMarking()) {
            std::swap(m_width, m_height);
            std::swap(m_columns, m_rows);
            std::swap(m_rowPitch, m_columnPitch);
            std::swap(m_left, m_top);
        } else {
            std::swap(m_paperLength, m_paperWidth);
        }
        m_modified = true;
    }
    m_orientation = clamp16(value);
}

int32_t CLabelExtExt::GetPaperWidthUm() const
{
    if (m_paperCode < 0 || (m_paperCode >= 1 && m_paperCode <= 255))
        return PaperDimensionsForCode(m_paperCode).width;
    return int32_t(m_paperWidth) * 100;
}

int32_t CLabelExtExt::GetPaperLengthUm() const
{
    if (m_paperCode < 0 || (m_paperCode >= 1 && m_paperCode <= 255))
        return PaperDimensionsForCode(m_paperCode).length;
    return int32_t(m_paperLength) * 100;
}

PaperDimensions CLabelExtExt::FittingPaper() const
{
    // The same paper as everywhere else: a code above 256 is a size of the
    // printer's own, kept in the stored width and length.
    return {GetPaperWidthUm(), GetPaperLengthUm()};
}

void CLabelExtExt::FitColumns()
{
    if (m_width <= 0)
        return;
    const PaperDimensions paper = FittingPaper();
    int64_t across;
    if (m_orientation == kPortrait)
        across = paper.width;
    else if (m_orientation == kLandscape)
        across = paper.length;
    else
        return;
    const int64_t columns = across / m_width;
    m_columns = units::clamp32(columns);
    m_left = units::clamp32((across - int64_t(m_width) * columns) / 2);
}

void CLabelExtExt::FitRows()
{
    if (m_height <= 0)
        return;
    const PaperDimensions paper = FittingPaper();
    int64_t down;
    if (m_orientation == kPortrait)
        down = paper.length;
    else if (m_orientation == kLandscape)
        down = paper.width;
    else
        return;
    m_rows = units::clamp32(down / m_height);
    m_top = units::clamp32((down % m_height) / 2);
}

bool CLabelExtExt::GetPaperName(std::string& out) const
{
    if (m_paperCode == kPaperUser) {
        out = kUserDefinedPaperName;
        return true;
    }
    const char* name = PaperNameForCode(m_paperCode);
    if (m_paperCode >= 1 && *name)
        out = name;
    else
        out = std::to_string(m_paperCode);
    return true;
}

bool CLabelExtExt::SetPaperName(const std::string& name)
{
    if (codepage::EqualsNoCase(name, kUserDefinedPaperName)) {
        m_paperCode = kPaperUser;
        if (m_paperWidth == 0)
            m_paperWidth = 2100;
        if (m_paperLength == 0)
            m_paperLength = 2970;
        m_modified = true;
        return true;
    }
    for (int code = 0; code < 60; ++code) {
        if (codepage::EqualsNoCase(name, PaperNameForCode(code))) {
            m_paperCode = int16_t(code);
            m_modified = true;
            return true;
        }
    }
    // A number, as "%d" reads it: leading blanks, a sign, digits; the rest
    // is ignored. A number that does not fit a paper code is refused.
    const char* begin = name.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < std::numeric_limits<int16_t>::min() ||
        value > std::numeric_limits<int16_t>::max())
        return false;
    m_paperCode = int16_t(value);
    m_modified = true;
    return true;
}

QPageSize CLabelExtExt::GetPageSize() const
{
    return PageSizeForPaperCode(m_paperCode, int32_t(m_paperWidth) * 100, int32_t(m_paperLength) * 100);
}

bool CLabelExtExt::Read(RecordReader& reader, bool embedded, const LabelReadOptions& options)
{
    CLabelExt::Read(reader, embedded, options);
    m_orientation = reader.i16();
    m_paperCode = reader.i16();
    m_paperLength = reader.i16();
    m_paperWidth = reader.i16();
    if (m_paperWidth < 0)
        m_paperWidth = 2100;
    return reader.ok();
}

void CLabelExtExt::Write(RecordWriter& writer, bool embedded)
{
    CLabelExt::Write(writer, embedded);
    writer.i16(m_orientation);
    writer.i16(m_paperCode);
    writer.i16(m_paperLength);
    writer.i16(m_paperWidth);
}

// --- names for lists -----------------------------------------------------------

std::string GetMarkingTypeName(int index)
{
    static const char* const names[] = {"All", "Wire", "Cable", "Component", "Terminal block", "PLC", "Other", "Module"};
    return index >= 0 && index <= 7 ? names[index] : "";
}

std::string GetPrinterTypeName(int index)
{
    static const char* const names[] = {"All", "Laser", "Other", "Thermo", "Thermal transfer", "Other", "Other"};
    return index >= 0 && index <= 6 ? names[index] : "";
}

std::string GetLabelFamilyFilterName(int index)
{
    return index == 0 || index == 1 ? "All" : "";
}
