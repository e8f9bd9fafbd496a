#pragma once
// The table view's Excel import: one worksheet of a file into the current
// table of the document, as one table undo step, the table's tab named
// after the file and the sheet.
#include <QString>

class CExcelSheetChooser;
class CVorteplanSoftLabelDoc;

// True when the sheet was imported. A failure has been shown to the user
// ("Can not open file ..."); a failed or cancelled import leaves the table
// and its undo steps as they were.
bool ImportExcelIntoCurrentTable(CVorteplanSoftLabelDoc& doc, const QString& path, CExcelSheetChooser& chooser,
                                 char decimalSeparator);
bool ImportExcelIntoCurrentTable(CVorteplanSoftLabelDoc& doc, const QString& path, CExcelSheetChooser& chooser);
