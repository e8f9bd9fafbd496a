#pragma once
// The table view's text import: a text file chosen by the user, its layout
// asked on the "Text import" sheet (starting from the choices of the last
// import), and its lines appended to the current table as one undo step.
#include <QString>

#include <functional>

class CTextImportSheet;
class CVorteplanSoftLabelDoc;
class QWidget;

// Runs the sheet and answers whether it ended with OK; by default modally.
using TextImportSheetRunner = std::function<bool(CTextImportSheet&)>;

// True when the file was read into the table. A cancelled file dialog or
// sheet changes nothing, neither the table nor the stored choices. A file
// that cannot be read is reported to the user.
bool ImportTextFileIntoCurrentTable(CVorteplanSoftLabelDoc& doc, QWidget* parent,
                                    const TextImportSheetRunner& runSheet = {});
