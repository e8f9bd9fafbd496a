// Fuzz target: the table block reader. Whatever a block yields must store
// and read back unchanged, and the table operations must cope with it.
#include "content/tables/datatable.h"
#include "platform/record.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RecordReader reader(data, size);
    CDataTableBase table;
    table.Load(reader);

    RecordWriter writer;
    table.Save(writer);
    CDataTableBase back;
    RecordReader again(writer.data());
    if (!back.Load(again) || !again.atEnd() || !(back == table))
        std::abort();

    table.GetUsedRowCount();
    table.GetImageColumnCount();
    table.SortRows(0, false, ',');
    table.SortRows(1, true, '.');
    table.InsertColumn(0);
    table.DeleteColumn(2);
    table.InsertRow(0);
    table.DeleteRow(table.GetRowCount() - 1);
    if (table.GetRowCount() != back.GetRowCount())
        std::abort();
    return 0;
}
