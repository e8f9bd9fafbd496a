#pragma once
// Readers of Excel worksheets and workbooks, one class per file format; a
// later format derives from the one before and replaces what changed:
//
//   CExcelFile      Excel 2.1 worksheet (BIFF2)
//   CExcel30Sheet   Excel 3.0 worksheet (BIFF3)
//   CExcel40Sheet   Excel 4.0 worksheet (BIFF4)
//   CExcel40Book    Excel 4.0 workbook (BIFF4W; these three in excelbook.h)
//   CExcel50Book    Excel 5.0/95 workbook (BIFF5)
//   CExcel80Book    Excel 97 and later workbook (BIFF8)
//
// Only cell values are read: numbers become texts (after the cell's number
// format when that is a plain "0.00"-style decimal format), labels and
// shared strings are copied, formulas give their cached result. A reader
// is made on a stream standing at the start of the file and reads the first
// BOF record at once.
#include "tables/import/excelnumber.h"
#include "tables/import/excelstream.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CDataTableBase;

struct ExcelReadOptions {
    char decimalSeparator = '.';
    int codePage = 1252;    // code page of the table's texts
    void (*beep)() = nullptr; // signals an oversized record (may be null)
};

class CExcelFile {
public:
    CExcelFile(CExcelStream& stream, const ExcelReadOptions& options);
    virtual ~CExcelFile() = default;
    CExcelFile(const CExcelFile&) = delete;
    CExcelFile& operator=(const CExcelFile&) = delete;

    // Reads the workbook globals (nothing for a worksheet).
    virtual void ReadGlobals() {}
    virtual const char* GetTypeName() const { return "Excel 2.1 worksheet"; }
    // Positions the stream at a sheet (nothing for a worksheet).
    virtual void SelectSheet(int /*index*/) {}
    // Reads up to ten records into the table; false at the end of the sheet
    // (its EOF record; a stream that ends before it is damaged).
    bool ReadRecords(CDataTableBase& table);
    // The name of a listed sheet (empty for an index without one).
    virtual std::string GetSheetName(int index) const;
    int GetSheetCount() const { return int(m_sheets.size()); }

    // True when the data turned out damaged: records cut off, a sheet
    // position outside the stream, a sheet without its EOF record, a text
    // that ends too soon.
    bool Damaged() const { return m_stream.Damaged(); }

    static constexpr int kMaxSheets = 255;
    static constexpr size_t kMaxXF = 65536;

protected:
    // A sheet record with a longer body signals the user (by the beep).
    virtual size_t BeepAboveLength() const { return SIZE_MAX; }
    // Record types and handlers. Handlers read m_record.
    virtual void Dispatch(uint16_t type);
    virtual void OnBOFRecord() {}
    virtual void OnBoundSheetRecord() {}
    virtual void OnDimensionsRecord();
    virtual void OnFormatRecord();
    virtual void OnFormulaRecord();
    virtual void OnIntegerRecord();
    virtual void OnXFRecord();
    virtual void OnLabelRecord();
    virtual void OnMulRKRecord();
    virtual void OnNumberRecord();
    virtual void OnRKRecord();
    virtual void OnStringRecord() {}

    // Which number format a record's XF gives (see FormatOf).
    enum class FormatRule { None, A, B };

    bool NextRecord() { return m_stream.ReadRecord(m_record); }
    // Reads records up to and including the next EOF.
    void SkipSubstream();
    void SetCell(uint32_t row, uint32_t column, std::string_view text);
    // Makes room in the table for the rows and columns a DIMENSIONS record
    // gives (its ends, one past the last row and column used), as far as
    // the bytes left can hold cells.
    void ReserveCells(uint32_t rowEnd, uint32_t columnEnd);
    void SetNumber(uint32_t row, uint32_t column, double value, uint16_t xf, FormatRule rule, int precision);
    // The format text of an XF: rule A, the FORMAT entry of its format
    // index; rule B, the same only above the built-in formats (164 and up),
    // "0.00" for the built-in format 2 and nothing otherwise.
    std::string_view FormatOf(uint16_t xf, FormatRule rule) const;
    void AddXF(uint16_t format);
    // Appends a format at the next free slot (of 65535).
    void AddFormat(std::string_view text)
    {
        if (m_formatCount < 65535)
            SetFormat(uint16_t(m_formatCount++), text);
    }
    void SetFormat(uint16_t index, std::string_view text)
    {
        m_formats[index] = std::string(text);
        m_lastFormat = -1;
    }
    // Cell value of a formula when it is a number; a text result is taken
    // from the STRING record that follows.
    void FormulaResult(uint16_t xf);

    struct Sheet {
        std::string name;
        uint32_t position = 0;
    };

    CExcelStream& m_stream;
    ExcelReadOptions m_options;
    ExcelRecord m_record;
    CDataTableBase* m_table = nullptr;
    std::vector<Sheet> m_sheets;
    std::vector<uint16_t> m_xf;
    std::unordered_map<uint16_t, std::string> m_formats; // changed only by SetFormat
    // The format index FormatOf looked up last and its text (cells mostly
    // share one format); -1 after SetFormat.
    mutable int32_t m_lastFormat = -1;
    mutable std::string_view m_lastFormatText;
    uint32_t m_formatCount = 0;
    // The formula cell waiting for its text result.
    bool m_stringPending = false;
    uint32_t m_stringRow = 0, m_stringColumn = 0;

    // Variant settings of the handlers shared by all formats.
    FormatRule m_rkRule = FormatRule::B;
    int m_rkPrecision = 8;
    FormatRule m_mulRkRule = FormatRule::None;
};

class CExcel30Sheet : public CExcelFile {
public:
    CExcel30Sheet(CExcelStream& stream, const ExcelReadOptions& options);
    const char* GetTypeName() const override { return "Excel 3.0 worksheet"; }

protected:
    void OnFormulaRecord() override;
    void OnXFRecord() override;
    void OnLabelRecord() override;
    void OnNumberRecord() override;
    void OnStringRecord() override;
};

class CExcel40Sheet : public CExcel30Sheet {
public:
    CExcel40Sheet(CExcelStream& stream, const ExcelReadOptions& options);
    const char* GetTypeName() const override { return "Excel 4.0 worksheet"; }

protected:
    void OnFormatRecord() override;
};
