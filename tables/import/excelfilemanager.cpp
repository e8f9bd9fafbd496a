#include "tables/import/excelfilemanager.h"

#include "platform/codepage.h"
#include "platform/compoundfile.h"
#include "platform/files.h"
#include "platform/numberformat.h"
#include "platform/uiservices.h"
#include "tables/import/excelbook.h"

#include <QFileInfo>

#include <memory>

namespace {

void beep()
{
    Ui().Beep();
}

std::unique_ptr<CExcelFile> makeReader(uint8_t version, bool workbookStream, bool nameEndsInW,
                                       CExcelStream& stream, const ExcelReadOptions& options)
{
    switch (version) {
    case 0x00: return std::make_unique<CExcelFile>(stream, options);
    case 0x02: return std::make_unique<CExcel30Sheet>(stream, options);
    case 0x04:
        if (nameEndsInW)
            return std::make_unique<CExcel40Book>(stream, options);
        return std::make_unique<CExcel40Sheet>(stream, options);
    case 0x08:
        if (workbookStream)
            return std::make_unique<CExcel80Book>(stream, options);
        return std::make_unique<CExcel50Book>(stream, options);
    default: return nullptr;
    }
}

} // namespace

CExcelFileManager::CExcelFileManager(CExcelSheetChooser& chooser, char decimalSeparator, int codePage)
    : m_chooser(chooser), m_decimalSeparator(decimalSeparator), m_codePage(codePage)
{
}

CExcelFileManager::CExcelFileManager(CExcelSheetChooser& chooser)
    : CExcelFileManager(chooser, CurrentNumberLocale().decimalSeparator)
{
}

ExcelImportResult CExcelFileManager::Import(const QString& path, const CDataTableBase& current)
{
    ExcelImportResult result;
    // Read-only, and only a regular file: a FIFO or device must not block.
    if (const std::optional<QByteArray> bytes = files::ReadRegularFile(path, kMaxFileSize))
        result = ImportData(std::string_view(bytes->constData(), size_t(bytes->size())),
                            QFileInfo(path).fileName(), current);
    if (result.status == ExcelImportResult::Status::Failed)
        ShowUserMessage("Can not open file " + codepage::FromUnicode(path, m_codePage), {}, MessageIcon::Error);
    return result;
}

ExcelImportResult CExcelFileManager::ImportData(std::string_view data, const QString& fileName,
                                                const CDataTableBase& current)
{
    ExcelImportResult result;
    // The stream is read in place (a copy only when its sectors are
    // scattered in a compound file).
    std::string streamCopy;
    std::string_view streamData;
    bool workbookStream = false;
    if (CCompoundFile::IsCompoundFile(data)) {
        CCompoundFile compound;
        if (!compound.Open(data))
            return result;
        if (compound.ReadStreamView(QStringLiteral("Workbook"), streamData, streamCopy))
            workbookStream = true;
        else if (!compound.ReadStreamView(QStringLiteral("Book"), streamData, streamCopy))
            return result;
    } else {
        streamData = data;
    }
    if (streamData.size() < 2 || uint8_t(streamData[0]) != 0x09)
        return result;
    const uint8_t version = uint8_t(streamData[1]);
    const bool nameEndsInW = fileName.endsWith(QLatin1Char('w'), Qt::CaseInsensitive);

    CExcelStream stream(CExcelStream::InPlace(), streamData);
    const ExcelReadOptions options{m_decimalSeparator, m_codePage, &beep};
    std::unique_ptr<CExcelFile> reader = makeReader(version, workbookStream, nameEndsInW, stream, options);
    if (!reader || reader->Damaged())
        return result;
    reader->ReadGlobals();
    if (reader->Damaged())
        return result;

    int index = 0;
    if (reader->GetSheetCount() >= 2) {
        std::vector<std::string> names;
        for (int i = 0; i < reader->GetSheetCount(); ++i)
            names.push_back(reader->GetSheetName(i));
        const std::optional<int> chosen = m_chooser.ChooseSheet(names);
        if (!chosen) {
            result.status = ExcelImportResult::Status::Cancelled;
            return result;
        }
        if (*chosen < 0 || *chosen >= reader->GetSheetCount())
            return result;
        index = *chosen;
        result.sheetName = names[size_t(index)];
    }

    result.table = current;
    reader->SelectSheet(index);
    while (reader->ReadRecords(result.table)) {
    }
    result.table.Reserve(0, 0); // rows made later need no room for the sheet's columns
    if (reader->Damaged()) {
        result.table = CDataTableBase();
        return result;
    }
    result.status = ExcelImportResult::Status::Ok;
    result.tabName = fileName + QStringLiteral(" - ") + codepage::ToUnicode(result.sheetName, m_codePage);
    return result;
}
