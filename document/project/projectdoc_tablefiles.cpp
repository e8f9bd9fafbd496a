// Table files (".tbf", ".tbl"), filter files (".filter") and text files
// read into and written from the current table slot.
#include "document/project/projectdoc.h"

#include "document/project/tablefile.h"
#include "document/project/textimport.h"
#include "platform/files.h"
#include "platform/modeltext.h"
#include "platform/uiservices.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The message of every table file that is not read.
constexpr const char* kCorruptTbf = "Corrupt file or wrong file version";

bool hasExtension(const QString& path, const char* ext)
{
    return QFileInfo(path).suffix().compare(QLatin1String(ext), Qt::CaseInsensitive) == 0;
}

std::string localName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

std::optional<QByteArray> readFile(const QString& path, int64_t limit)
{
    return files::ReadRegularFile(path, limit);
}

std::string_view view(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

} // namespace

bool CVorteplanSoftLabelDoc::OpenTableFile(const QString& path)
{
    if (IsTbfFile(path))
        return ReadTbfFile(path);
    if (hasExtension(path, "tbl"))
        return ImportTableFile(path);
    return false;
}

bool CVorteplanSoftLabelDoc::SaveTableFile(const QString& path)
{
    std::string error;
    if (WriteTbfFile(path, &error))
        return true;
    ShowUserMessage("Can not save file " + localName(path) + ": " + error, {}, MessageIcon::Error);
    return false;
}

bool CVorteplanSoftLabelDoc::IsTableFile(const QString& path)
{
    if (!hasExtension(path, "tbl"))
        return false;
    // The test needs the first two 16-bit words only.
    const std::optional<QByteArray> head = files::ReadRegularFileHead(path, 4);
    return head && tablefile::LooksLikeTbl(view(*head));
}

bool CVorteplanSoftLabelDoc::IsTbfFile(const QString& path)
{
    return hasExtension(path, "tbf");
}

bool CVorteplanSoftLabelDoc::ImportTableFile(const QString& path)
{
    if (IsTbfFile(path))
        return ReadTbfFile(path);
    const std::optional<QByteArray> bytes = readFile(path, tablefile::kMaxFileSize);
    if (!bytes) {
        ShowUserMessage("Can not open file " + localName(path), {}, MessageIcon::Error);
        return false;
    }
    const std::optional<tablefile::TblHeader> header = tablefile::ReadTblHeader(view(*bytes));
    if (!header) {
        ShowUserMessage(kCorruptTbf, {}, MessageIcon::Error);
        return false;
    }
    CDataTableBase& full = *currentSlot().table;
    for (int c = header->columns - header->imageColumns; c < header->columns; ++c)
        full.SetColumnFlag(c, 1);
    const int64_t first = GetTableRowCount();
    tablefile::ReadTblStream(view(*bytes).substr(header->streamStart),
                             [&](int64_t row, int column, std::string_view text) {
                                 if (first + row < CDataTableBase::kMaxRows)
                                     SetTableCellText(text, int(first + row), column);
                             });
    return true;
}

bool CVorteplanSoftLabelDoc::ReadTbfFile(const QString& path)
{
    const std::optional<QByteArray> bytes = readFile(path, tablefile::kMaxFileSize);
    if (!bytes) {
        ShowUserMessage("Can not open file " + localName(path), {}, MessageIcon::Error);
        return false;
    }
    // Read into a copy of the slot: a refused file leaves the slot as it was.
    TableSlot& s = currentSlot();
    tablefile::TableContents staged{*s.table, nullptr, nullptr};
    if (s.filter)
        staged.filter = std::make_unique<CDataTableFilter>(*s.filter);
    if (s.filtered)
        staged.filtered = std::make_unique<CDataTableBase>(*s.filtered);
    const CDataTableFilter* before = staged.filter.get();
    if (!tablefile::ReadTbf(view(*bytes), staged)) {
        ShowUserMessage(kCorruptTbf, {}, MessageIcon::Error);
        return false;
    }
    const bool newFilter = staged.filter.get() != before;
    *s.table = std::move(staged.table);
    s.filter = std::move(staged.filter);
    s.filtered = std::move(staged.filtered);
    if (s.filter && !s.filtered)
        s.filtered = std::make_unique<CDataTableBase>();
    RebuildColumnMap(m_currentTable);
    if (newFilter || !IsTableFilterEnabled()) {
        // The file tells nothing of which full rows its filtered rows came
        // from: they are matched to the rows read.
        TieFilteredCopy(m_currentTable);
    } else {
        // New rows under the filter the table had.
        s.filtered->RemoveAllRows();
        ApplyTableFilter();
    }
    return true;
}

bool CVorteplanSoftLabelDoc::WriteTbfFile(const QString& path, std::string* error)
{
    const TableSlot& s = currentSlot();
    return files::SaveFileAtomically(path, tablefile::WriteTbf(*s.table, s.filter.get(), s.filtered.get()), error);
}

void CVorteplanSoftLabelDoc::SetupTableFilter()
{
    TableSlot& s = currentSlot();
    if (!s.filter)
        s.filter = std::make_unique<CDataTableFilter>();
    if (!s.filtered)
        s.filtered = std::make_unique<CDataTableBase>(*s.table);
}

void CVorteplanSoftLabelDoc::ReapplyTableFilter()
{
    if (!IsTableFilterEnabled())
        return;
    currentSlot().filtered->RemoveAllRows();
    ApplyTableFilter();
    InvalidateDesignViews();
    InvalidatePreviewViews();
    InvalidateTableViews();
}

bool CVorteplanSoftLabelDoc::ReadTableFilterFile(const QString& path)
{
    const std::optional<QByteArray> bytes = readFile(path, tablefile::kMaxFileSize);
    if (!bytes)
        return false;
    std::optional<CDataTableFilter> filter = tablefile::ReadFilterFile(view(*bytes));
    if (!filter)
        return false;
    TableSlot& s = currentSlot();
    s.filter = std::make_unique<CDataTableFilter>(std::move(*filter));
    if (!s.filtered)
        s.filtered = std::make_unique<CDataTableBase>(*s.table);
    // The copy was made under another filter (or none).
    if (IsTableFilterEnabled()) {
        s.filtered->RemoveAllRows();
        ApplyTableFilter();
    } else {
        RebuildColumnMap(m_currentTable);
        TieFilteredCopy(m_currentTable);
    }
    return true;
}

bool CVorteplanSoftLabelDoc::StoreTableFilter(const QString& path, std::string* error)
{
    const CDataTableFilter* filter = currentSlot().filter.get();
    if (!filter) {
        if (error)
            *error = "the table has no filter";
        return false;
    }
    return files::SaveFileAtomically(path, tablefile::WriteFilterFile(*filter), error);
}

namespace {

// Stores the finished cells of a text file after the rows present.
textimport::CellSink textCellSink(CVorteplanSoftLabelDoc& doc, int codePage, int charSet)
{
    const int64_t first = doc.GetTableRowCount();
    return [&doc, codePage, charSet, first](int64_t row, int column, std::string& text) {
        if (first + row >= CDataTableBase::kMaxRows)
            return;
        if (charSet == textimport::kCharSetOem) {
            text = textimport::OemToCodePage(text, codePage);
            modeltext::CutToLimit(text, CDataTableBase::kMaxCellText, codePage);
        }
        doc.SetTableCellText(text, int(first + row), column);
    };
}

// The code page of the bytes the readers see.
int sourceCodePage(int tableCodePage, int charSet)
{
    return charSet == textimport::kCharSetOem ? codepage::kOem : tableCodePage;
}

// Reads a text file and hands `read` the bytes its reader works on, the
// code page those bytes are in and the sink that stores the cells.
template <class Read>
bool readTextFile(CVorteplanSoftLabelDoc& doc, const QString& path, int tableCp, int charSet, Read&& read)
{
    const std::optional<QByteArray> bytes = readFile(path, textimport::kMaxFileSize);
    if (!bytes)
        return false;
    std::string storage;
    std::string_view text = view(*bytes);
    if (charSet != textimport::kCharSetOem)
        text = textimport::PrepareAnsi(text, tableCp, storage);
    read(text, sourceCodePage(tableCp, charSet), textCellSink(doc, tableCp, charSet));
    return true;
}

} // namespace

bool CVorteplanSoftLabelDoc::ReadDelimitedTextFile(const QString& path, char delimiter, int charSet)
{
    return readTextFile(*this, path, tableCodePage(), charSet,
                        [delimiter](std::string_view text, int codePage, const textimport::CellSink& sink) {
                            textimport::ReadDelimited(text, delimiter, codePage, sink);
                        });
}

bool CVorteplanSoftLabelDoc::ReadFixedWidthTextFile(const QString& path, const std::array<uint32_t, 26>& widths,
                                                    int charSet)
{
    return readTextFile(*this, path, tableCodePage(), charSet,
                        [&widths](std::string_view text, int codePage, const textimport::CellSink& sink) {
                            textimport::ReadFixedWidth(text, widths, codePage, sink);
                        });
}
