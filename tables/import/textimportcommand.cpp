#include "tables/import/textimportcommand.h"

#include "document/project/projectdoc.h"
#include "document/project/textimport.h"
#include "platform/codepage.h"
#include "platform/settings.h"
#include "platform/uiservices.h"
#include "tables/import/textimportsheet.h"

bool ImportTextFileIntoCurrentTable(CVorteplanSoftLabelDoc& doc, QWidget* parent, const TextImportSheetRunner& runSheet)
{
    FileDialogRequest request;
    request.filter = "Text files|*.txt|All files|*.*||";
    request.defaultExtension = "txt";
    const std::optional<QString> path = Ui().AskOpenFileName(request);
    if (!path)
        return false;

    const int tableCodePage = codepage::ForCharset(doc.GetTableFont().lfCharSet);
    CTextImportSheet sheet(tableCodePage, parent);
    sheet.Load(textimport::Options::FromSettings());
    const bool ok = runSheet ? runSheet(sheet) : sheet.exec() == QDialog::Accepted;
    if (!ok)
        return false;

    using namespace settings;
    const textimport::Options options = sheet.Result();
    doc.SaveTableUndoState();
    WriteInt(kTextImport, kImportFormat, options.fixedWidth ? 1 : 0);
    bool read;
    if (options.fixedWidth) {
        const auto typed = sheet.TypedWidths();
        for (int c = 0; c < textimport::kColumns; ++c)
            WriteInt(kTextImport, FixedLengthKey(c), typed[size_t(c)]);
        read = doc.ReadFixedWidthTextFile(*path, options.widths, options.charSet);
    } else {
        WriteInt(kTextImport, kImportDelimiter, int8_t(options.delimiter));
        read = doc.ReadDelimitedTextFile(*path, options.delimiter, options.charSet);
    }
    if (!read) {
        Ui().ShowMessage(UserMessage{"Can not open file " + codepage::FromUnicode(*path, tableCodePage), {},
                                     MessageIcon::Error});
        return false;
    }
    WriteInt(kTextImport, kImportCharSet, options.charSet);
    doc.SetModifiedFlag(true);
    doc.InvalidateDesignViews();
    doc.InvalidatePreviewViews();
    doc.InvalidateTableViews();
    return read;
}
