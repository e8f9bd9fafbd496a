#include "tables/import/excelbook.h"

#include "tables/import/exceltext.h"

#include <algorithm>

using excel::U16;
using excel::U32;
using excel::U8;

namespace {
constexpr uint16_t kWorksheet = 0x0010;
} // namespace

// Excel 4.0 workbook.

void CExcel40Book::ReadGlobals()
{
    // Up to the first sheet's BOF, which stays read.
    while (NextRecord() && (m_record.type & 0xFF) != 0x09)
        OnGlobalsRecord(m_record.type);
}

void CExcel40Book::OnGlobalsRecord(uint16_t type)
{
    if ((type & 0xFF) == 0x85)
        OnBoundSheetRecord();
}

void CExcel40Book::SelectSheet(int index)
{
    for (int i = 0; i < index; ++i)
        SkipSubstream();
}

std::string CExcel40Book::GetSheetName(int index) const
{
    return index > 25 ? std::string() : CExcel40Sheet::GetSheetName(index);
}

void CExcel40Book::OnBoundSheetRecord()
{
    const std::string_view b = m_record.body;
    AddSheet(std::string(excel::Bytes(b, 1, U8(b, 0))), 0);
}

void CExcel40Book::AddSheet(std::string name, uint32_t position)
{
    if (m_sheets.size() < size_t(kMaxSheets))
        m_sheets.push_back({std::move(name), position});
}

// Excel 5.0 workbook.

CExcel50Book::CExcel50Book(CExcelStream& stream, const ExcelReadOptions& options)
    : CExcel40Book(stream, options)
{
    m_rkRule = FormatRule::B;
    m_rkPrecision = 6;
    m_mulRkRule = FormatRule::B;
}

void CExcel50Book::OnGlobalsRecord(uint16_t type)
{
    // The number formats and XF records live in the globals.
    switch (type) {
    case 0x041E: OnFormatRecord(); break;
    case 0x00E0: OnXF5Record(); break;
    default: CExcel40Book::OnGlobalsRecord(type); break;
    }
}

void CExcel50Book::SelectSheet(int index)
{
    if (index >= 0 && index < int(m_sheets.size()))
        m_stream.Seek(m_sheets[size_t(index)].position);
}

void CExcel50Book::OnBOFRecord()
{
    // Globals, charts and macro sheets are passed over.
    if (U16(m_record.body, 2) != kWorksheet)
        SkipSubstream();
}

void CExcel50Book::OnBoundSheetRecord()
{
    const std::string_view b = m_record.body;
    if (U8(b, 4) & 0x0F)
        return; // hidden
    AddSheet(std::string(excel::Bytes(b, 7, U8(b, 6))), U32(b, 0));
}

void CExcel50Book::OnFormatRecord()
{
    const std::string_view b = m_record.body;
    SetFormat(U16(b, 0), excel::Bytes(b, 3, U8(b, 2)));
}

void CExcel50Book::OnXF5Record() { AddXF(U16(m_record.body, 2)); }

// Excel 97 workbook.

bool CExcel80Book::ReadText(size_t offset, std::string& out, bool shortCount)
{
    CExcelTextReader reader(m_stream, m_record.body, offset, m_options.codePage);
    if (reader.ReadText(out, shortCount))
        return true;
    m_stream.SetDamaged();
    return false;
}

void CExcel80Book::ReadGlobals()
{
    while (NextRecord()) {
        const uint8_t low = m_record.type & 0xFF;
        if (low == 0x09 || low == 0x0A)
            return;
        switch (low) {
        case 0x1E: OnFormatRecord(); break;
        case 0x3C:
            if (m_options.beep)
                m_options.beep();
            break;
        case 0x85: OnBoundSheetRecord(); break;
        case 0xE0: OnXF5Record(); break;
        case 0xFC: OnSSTRecord(); break;
        default: break;
        }
        if (m_stream.Damaged())
            return;
    }
}

void CExcel80Book::Dispatch(uint16_t type)
{
    switch (type) {
    case 0x00FD: OnLabelSSTRecord(); return;
    case 0x0200: OnDimensionsRecord(); return;
    case 0x0862: return;
    default: break;
    }
    switch (type & 0xFF) {
    case 0x02:
    case 0x44: return;
    case 0xE0: OnXF5Record(); return;
    default: CExcel50Book::Dispatch(type); return;
    }
}

void CExcel80Book::OnBoundSheetRecord()
{
    const std::string_view b = m_record.body;
    if (U8(b, 4) & 0x0F)
        return; // hidden
    std::string name;
    if (ReadText(6, name, true))
        AddSheet(std::move(name), U32(b, 0));
}

void CExcel80Book::OnDimensionsRecord()
{
    // 32-bit rows here.
    const std::string_view b = m_record.body;
    ReserveCells(U32(b, 4), U16(b, 10));
}

void CExcel80Book::OnFormatRecord()
{
    std::string text;
    if (ReadText(2, text))
        SetFormat(U16(m_record.body, 0), text);
}

void CExcel80Book::OnLabelRecord()
{
    const std::string_view b = m_record.body;
    std::string text;
    if (ReadText(6, text))
        SetCell(U16(b, 0), U16(b, 2), text);
}

void CExcel80Book::OnLabelSSTRecord()
{
    const std::string_view b = m_record.body;
    const uint32_t index = U32(b, 6);
    if (index < m_sharedStrings.size())
        SetCell(U16(b, 0), U16(b, 2), m_sharedStrings[index]);
}

void CExcel80Book::OnSSTRecord()
{
    const uint32_t count = U32(m_record.body, 4);
    CExcelTextReader reader(m_stream, m_record.body, 8, m_options.codePage);
    // Every text takes at least three bytes: no more can be there.
    m_sharedStrings.reserve(std::min<size_t>(count, (m_stream.Size() - m_stream.Position()) / 3 + m_record.body.size() / 3));
    std::string text;
    for (uint32_t i = 0; i < count; ++i) {
        if (reader.AtBodyEnd() && !reader.NextContinue())
            return; // the table ends early; what was read stays
        if (!reader.ReadText(text)) {
            m_stream.SetDamaged();
            return;
        }
        m_sharedStrings.push_back(std::move(text));
    }
}

void CExcel80Book::OnStringRecord()
{
    if (!m_stringPending)
        return;
    m_stringPending = false;
    std::string text;
    if (ReadText(0, text))
        SetCell(m_stringRow, m_stringColumn, text);
}
