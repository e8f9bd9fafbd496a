// Fuzz target: the filter block reader, followed by a table block the
// filter is run over. A filter read must store and read back unchanged
// (the stored items are those of columns A..Z).
#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"
#include "platform/record.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RecordReader reader(data, size);
    CDataTableFilter filter;
    const bool ok = filter.Load(reader);

    RecordWriter writer;
    filter.Save(writer);
    CDataTableFilter back;
    RecordReader again(writer.data());
    if (!back.Load(again) || !again.atEnd())
        std::abort();
    for (int c = 0; c < CDataTableFilter::kStoredItems; ++c)
        if (!(*back.GetItem(c) == *filter.GetItem(c)))
            std::abort();
    for (int i = 0; i < CDataTableFilter::kTexts; ++i)
        if (back.GetIncludeText(i) != filter.GetIncludeText(i) || back.GetExcludeText(i) != filter.GetExcludeText(i)
            || back.GetStripChar(i) != filter.GetStripChar(i))
            std::abort();

    if (!ok)
        return 0;
    RecordReader rest(data + reader.position(), size - reader.position());
    CDataTableBase table;
    table.Load(rest);
    CDataTableRowMap rows;
    rows.Clear();
    CDataTableBase filtered;
    int out = 0;
    for (int r = 0; r <= table.GetRowCount(); ++r) {
        if (!filter.RowPasses(&table, r))
            continue;
        rows.AddRow(r);
        for (int c = 0; c < table.GetCellCount(r) && c < CDataTableBase::kColumnCount; ++c) {
            std::string text = table.GetCellText(r, c);
            filter.CleanCellText(filter.GetItem(c), text);
            filtered.SetCellText(out, c, text);
        }
        ++out;
    }
    rows.MapRowCount(out);
    rows.InsertAt(out / 2);
    filter.InsertItem(1);
    filter.RemoveItem(0);
    return 0;
}
