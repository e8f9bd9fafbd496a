#pragma once
// Readers of Excel workbooks: a globals part with the list of sheets, then
// one part per sheet.
#include "tables/import/excelfile.h"

// Excel 4.0 workbook: the sheets follow the globals one after the other.
class CExcel40Book : public CExcel40Sheet {
public:
    using CExcel40Sheet::CExcel40Sheet;
    void ReadGlobals() override;
    const char* GetTypeName() const override { return "Excel 4.0 workbook"; }
    void SelectSheet(int index) override;
    // Empty for sheets after the 26th.
    std::string GetSheetName(int index) const override;

protected:
    void OnBoundSheetRecord() override;
    // Handles one record of the globals (BOUNDSHEET only).
    virtual void OnGlobalsRecord(uint16_t type);
    void AddSheet(std::string name, uint32_t position);
};

// Excel 5.0/95 workbook: BOUNDSHEET records give each sheet's position in
// the stream; hidden sheets are not offered.
class CExcel50Book : public CExcel40Book {
public:
    CExcel50Book(CExcelStream& stream, const ExcelReadOptions& options);
    const char* GetTypeName() const override { return "Excel 5.0 workbook"; }
    void SelectSheet(int index) override;

protected:
    void OnGlobalsRecord(uint16_t type) override;
    void OnBOFRecord() override;
    void OnBoundSheetRecord() override;
    void OnFormatRecord() override;
    virtual void OnXF5Record();
};

// Excel 97 and later workbook: texts in BIFF8 form (compressed or UTF-16),
// labels in the shared-string table.
class CExcel80Book : public CExcel50Book {
public:
    using CExcel50Book::CExcel50Book;
    void ReadGlobals() override;
    const char* GetTypeName() const override { return "Excel 97 workbook"; }

    // Longest record body Excel writes.
    static constexpr size_t kMaxRecordLength = 8224;

protected:
    size_t BeepAboveLength() const override { return kMaxRecordLength; }
    void Dispatch(uint16_t type) override;
    void OnBoundSheetRecord() override;
    void OnDimensionsRecord() override;
    void OnFormatRecord() override;
    void OnLabelRecord() override;
    virtual void OnLabelSSTRecord();
    virtual void OnSSTRecord();
    void OnStringRecord() override;

    // A BIFF8 text of the current record from `offset`; false (and the
    // stream damaged) when it is cut off.
    bool ReadText(size_t offset, std::string& out, bool shortCount = false);

    std::vector<std::string> m_sharedStrings;
};
