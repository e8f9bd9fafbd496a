#include "tables/import/excelimportcommand.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/numberformat.h"
#include "tables/import/excelfilemanager.h"

bool ImportExcelIntoCurrentTable(CVorteplanSoftLabelDoc& doc, const QString& path, CExcelSheetChooser& chooser,
                                 char decimalSeparator)
{
    const CDataTableBase* current = doc.GetTable(doc.GetCurrentTableIndex());
    if (!current)
        return false;
    CExcelFileManager manager(chooser, decimalSeparator, codepage::ForCharset(doc.GetTableFont().lfCharSet));
    ExcelImportResult result = manager.Import(path, *current);
    if (result.status != ExcelImportResult::Status::Ok)
        return false;
    doc.ReplaceCurrentTable(std::move(result.table), codepage::FromUnicode(result.tabName));
    return true;
}

bool ImportExcelIntoCurrentTable(CVorteplanSoftLabelDoc& doc, const QString& path, CExcelSheetChooser& chooser)
{
    return ImportExcelIntoCurrentTable(doc, path, chooser, CurrentNumberLocale().decimalSeparator);
}
