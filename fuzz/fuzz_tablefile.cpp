// Fuzz target: the table-file readers (".tbf" in both layouts, ".tbl" and
// ".filter") over the same bytes. Whatever a ".tbf" yields must write and
// read back unchanged; the readers must stay within the table's limits.
#include "document/project/tablefile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

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
