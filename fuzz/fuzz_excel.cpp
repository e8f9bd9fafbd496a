// Fuzz target: the Excel import. The first byte chooses the file name (an
// odd byte names an Excel 4.0 workbook, ending in "w") and the sheet the
// chooser answers; the rest is the file. Any input must be refused cleanly
// or imported within the table's limits.
#include "content/tables/datatable.h"
#include "tables/import/excelfilemanager.h"

#include <cstdint>
#include <cstdlib>

namespace {
struct Chooser : CExcelSheetChooser {
    int pick = 0;
    std::optional<int> ChooseSheet(const std::vector<std::string>& names) override
    {
        if (names.size() < 2 || names.size() > 255)
            std::abort();
        if (pick == 7)
            return std::nullopt;
        return pick % int(names.size());
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    Chooser chooser;
    chooser.pick = data[0] >> 1;
    CExcelFileManager manager(chooser, ',');
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const ExcelImportResult r = manager.ImportData(bytes, data[0] & 1 ? "fuzz.xlw" : "fuzz.xls", CDataTableBase());
    if (r.status != ExcelImportResult::Status::Ok && r.table.GetRowCount() != 0)
        std::abort();
    for (int row = 0; row < r.table.GetRowCount(); ++row)
        if (r.table.GetCellCount(row) > CDataTableBase::kColumnCount)
            std::abort();
    return 0;
}
