#pragma once
// Import of one worksheet of an Excel file (Excel 2.1 to Excel 97 and
// later) into a data table.
//
// The import reads into a copy of the current table, so the caller swaps
// the result into the document only when it succeeded; a failed or
// cancelled import leaves the current table as it was.
#include "content/tables/datatable.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Asks the user which sheet of a workbook to read.
class CExcelSheetChooser {
public:
    virtual ~CExcelSheetChooser() = default;
    // `names` are the offered sheets (texts in the table's code page);
    // answers the chosen index, or nothing when the user cancels.
    virtual std::optional<int> ChooseSheet(const std::vector<std::string>& names) = 0;
};

struct ExcelImportResult {
    enum class Status { Ok, Cancelled, Failed };
    Status status = Status::Failed;
    // On success: the current table with the sheet's cells set in it.
    CDataTableBase table;
    // The chosen sheet's name (empty unless a sheet was chosen in the
    // dialog) and the text for the table's tab: the file's name and
    // extension, " - " and the sheet name.
    std::string sheetName;
    QString tabName;
};

class CExcelFileManager {
public:
    // Numbers are written with `decimalSeparator`; texts end up in
    // `codePage`.
    CExcelFileManager(CExcelSheetChooser& chooser, char decimalSeparator, int codePage = 1252);
    // The same with the user's decimal separator.
    explicit CExcelFileManager(CExcelSheetChooser& chooser);

    // Reads a sheet of the file at `path` (opened for reading only) into a
    // copy of `current`. A failure shows "Can not open file <path>".
    ExcelImportResult Import(const QString& path, const CDataTableBase& current);

    // The same for file contents already in memory; `fileName` (without
    // folder) tells an Excel 4.0 workbook (name ending in "w") from a
    // worksheet and names the tab. Shows no message.
    ExcelImportResult ImportData(std::string_view data, const QString& fileName, const CDataTableBase& current);

    // Largest file the import reads.
    static constexpr qint64 kMaxFileSize = qint64(512) << 20;

private:
    CExcelSheetChooser& m_chooser;
    char m_decimalSeparator;
    int m_codePage;
};
