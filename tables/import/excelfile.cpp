#include "tables/import/excelfile.h"

#include "content/tables/datatable.h"

#include <algorithm>

using excel::U16;
using excel::U32;
using excel::U8;

CExcelFile::CExcelFile(CExcelStream& stream, const ExcelReadOptions& options)
    : m_stream(stream), m_options(options)
{
    NextRecord(); // the BOF record
}

std::string CExcelFile::GetSheetName(int index) const
{
    if (index < 0 || index >= int(m_sheets.size()))
        return {};
    return m_sheets[size_t(index)].name;
}

bool CExcelFile::ReadRecords(CDataTableBase& table)
{
    m_table = &table;
    const size_t beepAbove = BeepAboveLength();
    for (int i = 0; i < 10; ++i) {
        if (!NextRecord()) {
            // A sheet ends with its EOF record: without it the file was cut
            // off (or half written) and the cells read so far are not all.
            m_stream.SetDamaged();
            return false;
        }
        if (m_record.body.size() > beepAbove && m_options.beep)
            m_options.beep();
        if ((m_record.type & 0xFF) == 0x0A)
            return false;
        Dispatch(m_record.type);
        if (m_stream.Damaged())
            return false;
    }
    return true;
}

void CExcelFile::Dispatch(uint16_t type)
{
    switch (type & 0xFF) {
    case 0x00: OnDimensionsRecord(); break;
    case 0x02: OnIntegerRecord(); break;
    case 0x03: OnNumberRecord(); break;
    case 0x04: OnLabelRecord(); break;
    case 0x06: OnFormulaRecord(); break;
    case 0x07: OnStringRecord(); break;
    case 0x09: OnBOFRecord(); break;
    case 0x1E: OnFormatRecord(); break;
    case 0x43: OnXFRecord(); break;
    case 0x7E: OnRKRecord(); break;
    case 0xBD: OnMulRKRecord(); break;
    default: break; // COLWIDTH, IXFE, DEFCOLWIDTH, COLINFO and the rest
    }
}

void CExcelFile::SkipSubstream()
{
    while (NextRecord())
        if ((m_record.type & 0xFF) == 0x0A)
            return;
}

void CExcelFile::SetCell(uint32_t row, uint32_t column, std::string_view text)
{
    if (m_table && column < uint32_t(CDataTableBase::kColumnCount))
        m_table->SetCellText(int(row), int(column), text);
}

void CExcelFile::ReserveCells(uint32_t rowEnd, uint32_t columnEnd)
{
    if (!m_table)
        return;
    // Sheets have at most 65536 rows, and every row needs a record of four
    // bytes at least.
    const size_t left = (m_stream.Size() - m_stream.Position()) / 4;
    const size_t rows = std::min({size_t(rowEnd), left, size_t(65536)});
    m_table->Reserve(int(rows), int(std::min(columnEnd, uint32_t(CDataTableBase::kColumnCount))));
}

void CExcelFile::OnDimensionsRecord()
{
    const std::string_view b = m_record.body;
    ReserveCells(U16(b, 2), U16(b, 6));
}

void CExcelFile::SetNumber(uint32_t row, uint32_t column, double value, uint16_t xf, FormatRule rule,
                           int precision)
{
    if (!m_table || column >= uint32_t(CDataTableBase::kColumnCount))
        return;
    excel::NumberText buf;
    m_table->SetCellText(int(row), int(column),
                         excel::FormatNumberTo(buf, value, FormatOf(xf, rule), precision, m_options.decimalSeparator));
}

std::string_view CExcelFile::FormatOf(uint16_t xf, FormatRule rule) const
{
    if (rule == FormatRule::None)
        return {};
    const uint16_t f = xf < m_xf.size() ? m_xf[xf] : 0;
    if (rule == FormatRule::B && f <= 163)
        return f == 2 ? std::string_view("0.00") : std::string_view();
    if (m_lastFormat != int32_t(f)) {
        const auto it = m_formats.find(f);
        m_lastFormatText = it == m_formats.end() ? std::string_view() : std::string_view(it->second);
        m_lastFormat = f;
    }
    return m_lastFormatText;
}

void CExcelFile::AddXF(uint16_t format)
{
    if (m_xf.size() < kMaxXF)
        m_xf.push_back(format);
}

void CExcelFile::FormulaResult(uint16_t xf)
{
    const std::string_view b = m_record.body;
    m_stringPending = false;
    if (U16(b, 12) != 0xFFFF) {
        SetNumber(U16(b, 0), U16(b, 2), excel::F64(b, 6), xf, FormatRule::A, 8);
        return;
    }
    // Not a number: a text (in the STRING record that follows), a truth
    // value, an error or an empty text; only a text gives the cell a value.
    if (U8(b, 6) == 0) {
        m_stringPending = true;
        m_stringRow = U16(b, 0);
        m_stringColumn = U16(b, 2);
    }
}

// Excel 2.1: three attribute bytes at offset 4, the XF index in the low six
// bits of the first; the value from offset 7.

void CExcelFile::OnFormatRecord()
{
    const std::string_view b = m_record.body;
    AddFormat(excel::Bytes(b, 1, U8(b, 0)));
}

void CExcelFile::OnFormulaRecord() { OnNumberRecord(); }

void CExcelFile::OnIntegerRecord()
{
    const std::string_view b = m_record.body;
    SetNumber(U16(b, 0), U16(b, 2), U16(b, 7), U8(b, 4) & 0x3F, FormatRule::A, 8);
}

void CExcelFile::OnXFRecord() { AddXF(U8(m_record.body, 2) & 0x3F); }

void CExcelFile::OnLabelRecord()
{
    const std::string_view b = m_record.body;
    SetCell(U16(b, 0), U16(b, 2), excel::Bytes(b, 8, U8(b, 7)));
}

void CExcelFile::OnMulRKRecord()
{
    const std::string_view b = m_record.body;
    const uint32_t row = U16(b, 0);
    const uint32_t first = U16(b, 2);
    const size_t count = b.size() >= 6 ? (b.size() - 6) / 6 : 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 4 + i * 6;
        SetNumber(row, first + uint32_t(i), excel::RkValue(U32(b, at + 2)), U16(b, at), m_mulRkRule, 6);
    }
}

void CExcelFile::OnNumberRecord()
{
    const std::string_view b = m_record.body;
    SetNumber(U16(b, 0), U16(b, 2), excel::F64(b, 7), U8(b, 4) & 0x3F, FormatRule::A, 8);
}

void CExcelFile::OnRKRecord()
{
    const std::string_view b = m_record.body;
    SetNumber(U16(b, 0), U16(b, 2), excel::RkValue(U32(b, 6)), U16(b, 4), m_rkRule, m_rkPrecision);
}

// Excel 3.0: a 16-bit XF index at offset 4, the value from offset 6.

CExcel30Sheet::CExcel30Sheet(CExcelStream& stream, const ExcelReadOptions& options)
    : CExcelFile(stream, options)
{
    m_rkRule = FormatRule::A;
    m_rkPrecision = 8;
}

void CExcel30Sheet::OnFormulaRecord() { FormulaResult(U16(m_record.body, 4)); }

void CExcel30Sheet::OnXFRecord() { AddXF(U8(m_record.body, 1)); }

void CExcel30Sheet::OnLabelRecord()
{
    const std::string_view b = m_record.body;
    SetCell(U16(b, 0), U16(b, 2), excel::Bytes(b, 8, U16(b, 6)));
}

void CExcel30Sheet::OnNumberRecord()
{
    const std::string_view b = m_record.body;
    SetNumber(U16(b, 0), U16(b, 2), excel::F64(b, 6), U16(b, 4), FormatRule::A, 8);
}

void CExcel30Sheet::OnStringRecord()
{
    if (!m_stringPending)
        return;
    m_stringPending = false;
    const std::string_view b = m_record.body;
    SetCell(m_stringRow, m_stringColumn, excel::Bytes(b, 2, U16(b, 0)));
}

// Excel 4.0: RK numbers print with six significant digits; FORMAT records
// carry two more bytes before the text.

CExcel40Sheet::CExcel40Sheet(CExcelStream& stream, const ExcelReadOptions& options)
    : CExcel30Sheet(stream, options)
{
    m_rkPrecision = 6;
}

void CExcel40Sheet::OnFormatRecord()
{
    const std::string_view b = m_record.body;
    AddFormat(excel::Bytes(b, 3, U8(b, 2)));
}
