// Fuzz target: the table-file readers (".tbf" in both layouts, ".tbl" and
// ".filter") over the same bytes. Whatever a ".tbf" yields must write and
// read back unchanged; the readers must stay within the table's limits.
// A filtered copy read is tied to its full table as the document does it:
// the copy stays as read, and each of its rows gets a row of the table of
// its own, the table's rows staying as they were.
#include "document/project/projectdoc.h"
#include "document/project/tablefile.h"
#include "fuzz_support.h"
#include "platform/settings.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace {

void tieAsTheDocumentDoes(const tablefile::TableContents& slot)
{
    EnsureGuiApplication();
    static const bool once = [] {
        settings::SetStoreFolder(QStringLiteral("/nonexistent/vsl-fuzz-settings"));
        return true;
    }();
    (void)once;
    CVorteplanSoftLabelDoc doc;
    *doc.GetTable(0) = slot.table;
    doc.SetFilter(0, std::make_unique<CDataTableFilter>(*slot.filter),
                  std::make_unique<CDataTableBase>(*slot.filtered));
    doc.RebuildColumnMap(0);
    doc.TieFilteredCopy(0);
    const CDataTableBase& full = *doc.GetTable(0);
    if (!(*doc.GetFilteredTable(0) == *slot.filtered) || full.GetRowCount() < slot.table.GetRowCount())
        std::abort();
    for (int i = 0; i < slot.table.GetRowCount(); ++i)
        if (!(*full.GetRow(i) == *slot.table.GetRow(i)))
            std::abort();
    if (!slot.filter->IsActive())
        return;
    std::vector<bool> taken(size_t(full.GetRowCount()), false);
    for (int r = 0; r < slot.filtered->GetRowCount(); ++r) {
        const int32_t row = doc.GetRowMap(0)->GetAt(r);
        if (row < 0 && full.GetRowCount() < CDataTableBase::kMaxRows)
            std::abort();
        if (row >= full.GetRowCount() || (row >= 0 && taken[size_t(row)]))
            std::abort();
        if (row >= 0)
            taken[size_t(row)] = true;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Into a slot that holds a row already, as an import would find it.
    tablefile::TableContents slot;
    slot.table.SetCellText(0, 0, "present");
    if (tablefile::ReadTbf(bytes, slot)) {
        if (bool(slot.filter) != bool(slot.filtered))
            std::abort();
        const std::string written = tablefile::WriteTbf(slot.table, slot.filter.get(), slot.filtered.get());
        tablefile::TableContents back;
        if (!tablefile::ReadTbf(written, back) || !(back.table == slot.table) || bool(back.filter) != bool(slot.filter))
            std::abort();
        if (slot.filtered && !(*back.filtered == *slot.filtered))
            std::abort();
        if (slot.filter && slot.filtered)
            tieAsTheDocumentDoes(slot);
    }

    if (const auto header = tablefile::ReadTblHeader(bytes)) {
        if (header->columns < 1 || header->columns > tablefile::kMaxTblColumns || header->imageColumns < 0 ||
            header->imageColumns > header->columns || header->streamStart > size)
            std::abort();
        CDataTableBase table;
        tablefile::ReadTblStream(bytes.substr(header->streamStart), [&](int64_t row, int column, std::string_view text) {
            if (row < 0 || row >= CDataTableBase::kMaxRows || column < 0 || text.empty() ||
                text.size() > size_t(CDataTableBase::kMaxCellText))
                std::abort();
            table.SetCellText(int(row), column, text);
        });
    }

    if (const auto filter = tablefile::ReadFilterFile(bytes)) {
        const auto back = tablefile::ReadFilterFile(tablefile::WriteFilterFile(*filter));
        if (!back || back->GetActive() != filter->GetActive())
            std::abort();
    }
    return 0;
}
