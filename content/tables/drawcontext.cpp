#include "content/tables/drawcontext.h"

#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"

int DrawContext::TableColumn(int column) const
{
    if (column < 0)
        return -1;
    return columnMap ? columnMap->IndexOf(column) : column;
}

std::string DrawContext::CellText(int column) const
{
    if (!table || labelNumber <= 0)
        return {};
    const int k = TableColumn(column);
    if (k < 0)
        return {};
    return table->GetCellText(labelNumber - 1, k);
}
